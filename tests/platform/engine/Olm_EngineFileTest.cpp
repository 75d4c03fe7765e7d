#include "EngineTestSupport.h"
#include "GoldenSections.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include <malloc.h>

namespace {

// The bytes operator new has handed out and not yet taken back, and the
// most that may be out at once: a limit stands for a machine whose memory
// runs out.
std::size_t g_liveBytes = 0;
std::size_t g_liveLimit = SIZE_MAX;

// While it lives, allocations fail once bytes more than now would be out.
struct MemoryLimit {
    explicit MemoryLimit(std::size_t bytes) { g_liveLimit = g_liveBytes + bytes; }
    ~MemoryLimit() { g_liveLimit = SIZE_MAX; }
};

}  // namespace

// Every allocation of this test program is counted against the limit. The
// delete is never inlined, so that the compiler sees new and delete paired
// rather than malloc's memory passed to free.
void* operator new(std::size_t size) {
    if (void* p = std::malloc(size ? size : 1)) {
        const std::size_t got = ::malloc_usable_size(p);
        if (g_liveBytes + got <= g_liveLimit) {
            g_liveBytes += got;
            return p;
        }
        std::free(p);
    }
    throw std::bad_alloc();
}

__attribute__((noinline)) void operator delete(void* p) noexcept {
    if (!p) return;
    g_liveBytes -= ::malloc_usable_size(p);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

using enginetest::BuildSample;
using enginetest::Cmd;
using enginetest::Walk;

namespace {

// The sample with device settings, a block added last but named first, two
// pins on one signal, and text that the file must escape.
void BuildDesign(Olm_Engine& e) {
    BuildSample(e);
    e.SetPart("kv4-100");
    e.SetDevice("kv4d");
    e.SetSpeed("-3");
    Cmd(e, "add", "block", "A0", "KDIV", "1");
    Cmd(e, "add", "pin", "input", "I", "A0");
    Cmd(e, "connect", "signal", "clk", "I", "A0");
    Cmd(e, "add", "pinprop", "DATA", "B1", "OLMW_ONLY_PIN_SIG_BIT_3:3", "VCCa[0:0]");
    Cmd(e, "add", "sigprop", "clk", "IOSTANDARD", "\"quoted\" \\ text");
}

// A list nested depth levels deep: "[[[...]]]".
std::string Nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::size_t FilesIn(const std::filesystem::path& dir) {
    return std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator());
}

TEST(EngineFiles, SaveAndLoadKeepEverythingInOrder) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("design.kfz");
    Olm_Engine source;
    BuildDesign(source);
    Pal::String error;
    ASSERT_TRUE(source.Save(path.c_str(), &error)) << error.str();
    EXPECT_EQ(FilesIn(dir.Path()), 1u);  // no temporary file left behind

    // Loading replaces the design and ends the iteration in progress.
    Olm_Engine copy;
    Cmd(copy, "add", "block", "old", "T", "1");
    EXPECT_EQ(Cmd(copy, "getfirst", "block"), "old");
    ASSERT_TRUE(copy.Load(path.c_str(), &error)) << error.str();
    EXPECT_EQ(Cmd(copy, "getnext", "block"), "");
    EXPECT_EQ(Walk(copy), Walk(source));
    EXPECT_EQ(copy.GetPart().str() + " " + copy.GetDevice().str() + " " + copy.GetSpeed().str(), "kv4-100 kv4d -3");
    EXPECT_EQ(copy.GetDesign().blocks[0].count, "1");

    // Saving the loaded design gives the same file, byte for byte.
    const std::string again = dir.File("again.kfz");
    ASSERT_TRUE(copy.Save(again.c_str()));
    EXPECT_EQ(olmtest::ReadFile(again), olmtest::ReadFile(path));
    EXPECT_NE(olmtest::ReadFile(path).find("\"format\": \"olm-kfz\",\n  \"formatVersion\": 1"), std::string::npos);
}

// The refused files of golden/refused_loads.txt: each gives the error listed
// there and leaves the design as it was.
TEST(EngineFiles, RefusedLoadsNameFileAndProblemAndKeepTheDesign) {
    olmtest::ScratchDir dir;
    olmtest::GoldenSections golden(OLM_SOURCE_DIR "/tests/platform/engine/golden/refused_loads.txt");
    Olm_Engine e;
    BuildDesign(e);
    const std::string before = Walk(e);
    golden.CheckAnswers("errors", [&](const std::string& name) {
        // Values nested deeply enough to overflow the stack when printed.
        const std::string content = name == "deepformat.kfz"    ? R"({"format": )" + Nested(100000) + "}"
                                    : name == "deepversion.kfz" ? R"({"format": "olm-kfz", "formatVersion": )" +
                                                                      Nested(100000) + "}"
                                                                : golden.Text(name);
        const std::string path = dir.Write(name, content);
        Pal::String error;
        EXPECT_FALSE(e.Load(path.c_str(), &error)) << name;
        EXPECT_EQ(Walk(e), before) << name;
        std::string shown = error.str();
        const std::size_t at = shown.find(path);
        return at == std::string::npos ? shown : shown.replace(at, path.size() - name.size(), "SCRATCH/");
    });
}

TEST(EngineFiles, LoadWithoutAPathFails) {
    Olm_Engine e;
    Pal::String error;
    EXPECT_FALSE(e.Load(nullptr, &error));
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_FALSE(e.Load("", nullptr));
}

// A load that runs out of memory while it builds the document fails like any
// refused load. The document is taken apart without allocating: the JSON
// library's own way allocates a stack as large as the widest list, which
// fails in a destructor when memory is short and ends the program. The
// entries of the wide list are large, so that memory runs out on one of
// them and not on the list's own growth, leaving next to nothing free.
TEST(EngineFiles, LoadThatRunsOutOfMemoryFailsAndKeepsTheDesign) {
    olmtest::ScratchDir dir;
    std::string wide = "[";
    for (int i = 0; i < 2000; ++i) wide += R"({"k": ")" + std::string(1000, 'x') + R"("},)";
    wide += "{}]";
    Olm_Engine e;
    BuildDesign(e);
    const std::string before = Walk(e);
    for (const std::string& content : {wide, Nested(1000000)}) {
        const std::string path = dir.Write("big.kfz", content);
        Pal::String error;
        bool loaded = true;
        {
            const MemoryLimit limit(2 * content.size());  // the file's text and a part of its document
            loaded = e.Load(path.c_str(), &error);
        }
        EXPECT_FALSE(loaded);
        EXPECT_NE(error.str().find("'" + path + "': not enough memory to read it"), std::string::npos) << error.str();
        EXPECT_EQ(Walk(e), before);
    }
}

TEST(EngineFiles, SaveRefusesUnwritableTargetsAndText) {
    olmtest::ScratchDir dir;
    Olm_Engine e;
    BuildDesign(e);
    Pal::String error;
    const std::string nowhere = dir.File("no/such/folder/d.kfz");
    EXPECT_FALSE(e.Save(nowhere.c_str(), &error));
    EXPECT_NE(error.str().find("'" + nowhere + "'"), std::string::npos) << error.str();
    EXPECT_FALSE(e.Save("", &error));

    // Text that JSON cannot carry fails the save instead of being mangled.
    const std::string path = dir.File("d.kfz");
    ASSERT_TRUE(e.Save(path.c_str()));
    const std::string oldText = olmtest::ReadFile(path);
    Cmd(e, "add", "blkprop", "B1", "BAD", "\xff\xfe");
    EXPECT_FALSE(e.Save(path.c_str(), &error));
    EXPECT_NE(error.str().find("UTF-8"), std::string::npos) << error.str();
    EXPECT_EQ(olmtest::ReadFile(path), oldText);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

// The temporary file is written, but a folder cannot be replaced by it: the
// save fails saying so and removes its temporary file.
TEST(EngineFiles, SaveOntoAFolderFailsAndLeavesNoTemporaryFile) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("d.kfz");
    std::filesystem::create_directory(path);
    Olm_Engine e;
    BuildDesign(e);
    Pal::String error;
    EXPECT_FALSE(e.Save(path.c_str(), &error));
    EXPECT_NE(error.str().find("'" + path + "': cannot replace the file"), std::string::npos) << error.str();
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(EngineFiles, SaveKeepsThePermissionsOfTheReplacedFile) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("d.kfz");
    Olm_Engine e;
    ASSERT_TRUE(e.Save(path.c_str()));
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    ASSERT_TRUE(e.Save(path.c_str()));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all, std::filesystem::perms(0640));
}

// The example in the format's documentation is a valid file.
TEST(EngineFiles, DocumentedExampleLoads) {
    const std::string doc = olmtest::ReadFile(std::string(OLM_SOURCE_DIR) + "/docs/kfz-format.md");
    const auto start = doc.find("```json\n");
    ASSERT_NE(start, std::string::npos);
    const auto end = doc.find("```", start + 8);
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("example.kfz", doc.substr(start + 8, end - start - 8));
    Olm_Engine e;
    Pal::String error;
    ASSERT_TRUE(e.Load(path.c_str(), &error)) << error.str();
    olmtest::GoldenSections golden(OLM_SOURCE_DIR "/tests/platform/engine/golden/commands.txt");
    golden.Check("the documented example", Walk(e));
}

}  // namespace
