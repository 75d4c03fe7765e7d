#include "EngineTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <utility>

#include <malloc.h>

namespace {

// The bytes operator new has handed out and not yet taken back, and the
// most that may be out at once: a limit stands for a machine whose memory
// runs out.
std::size_t g_liveBytes = 0;
std::size_t g_liveLimit = SIZE_MAX;

// While it lives, allocations fail once bytes more than now would be out.
class MemoryLimit {
public:
    explicit MemoryLimit(std::size_t bytes) { g_liveLimit = g_liveBytes + bytes; }
    ~MemoryLimit() { g_liveLimit = SIZE_MAX; }
    MemoryLimit(const MemoryLimit&) = delete;
    MemoryLimit& operator=(const MemoryLimit&) = delete;
};

}  // namespace

// Every allocation of this test program is counted against the limit.
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

void operator delete(void* p) noexcept {
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

// An engine whose file writes stop half way, as on a full disk.
class FailingWriteEngine : public Olm_Engine {
protected:
    bool WriteBytes(int fd, const char* data, std::size_t size) override {
        Olm_Engine::WriteBytes(fd, data, size / 2);
        return false;
    }
};

// A list nested depth levels deep: "[[[...]]]".
std::string Nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::size_t FilesIn(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
    return n;
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
    EXPECT_EQ(copy.GetPart(), "kv4-100");
    EXPECT_EQ(copy.GetDevice(), "kv4d");
    EXPECT_EQ(copy.GetSpeed(), "-3");
    EXPECT_EQ(copy.GetDesign().blocks[0].count, "1");

    // Saving the loaded design gives the same file, byte for byte.
    const std::string again = dir.File("again.kfz");
    ASSERT_TRUE(copy.Save(again.c_str()));
    EXPECT_EQ(olmtest::ReadFile(again), olmtest::ReadFile(path));

    const std::string text = olmtest::ReadFile(path);
    EXPECT_NE(text.find("\"format\": \"olm-kfz\""), std::string::npos);
    EXPECT_NE(text.find("\"formatVersion\": 1"), std::string::npos);
}

TEST(EngineFiles, EveryRefusedLoadNamesFileAndProblemAndKeepsTheDesign) {
    olmtest::ScratchDir dir;
    const std::string head = R"({"format": "olm-kfz", "formatVersion": 1, )";
    struct Case {
        const char* name;
        std::string content;
        const char* problem;
    };
    const Case cases[] = {
        {"notjson.kfz", "this is { not json", "not valid JSON"},
        {"empty.kfz", "", "not valid JSON"},
        {"array.kfz", "[1, 2]", "not a KFZ design file"},
        {"noformat.kfz", R"({"formatVersion": 1})", "not a KFZ design file"},
        {"other.kfz", R"({"format": "something-else", "formatVersion": 1})", "not a KFZ design file"},
        {"version.kfz", R"({"format": "olm-kfz", "formatVersion": 2})", "format version 2 is not supported"},
        {"noversion.kfz", R"({"format": "olm-kfz"})", "formatVersion"},
        {"nopin.kfz",
         head + R"("blocks": [{"name": "B", "primType": "T"}], "signals": [{"name": "s"}],
                   "connections": [{"signal": "s", "block": "B", "pin": "P"}]})",
         "inconsistent design, connection 1: connects signal 's' to pin 'P' of block 'B', but the block has no such pin"},
        {"noblock.kfz", head + R"("signals": [{"name": "s"}], "connections": [{"signal": "s", "block": "X", "pin": "P"}]})",
         "no such block"},
        {"nosignal.kfz",
         head + R"("blocks": [{"name": "B", "primType": "T", "pins": [{"name": "P"}]}],
                   "connections": [{"signal": "s", "block": "B", "pin": "P"}]})",
         "no such signal"},
        {"twice.kfz",
         head + R"("blocks": [{"name": "B", "primType": "T", "pins": [{"name": "P"}]}],
                   "signals": [{"name": "s"}, {"name": "t"}],
                   "connections": [{"signal": "s", "block": "B", "pin": "P"}, {"signal": "t", "block": "B", "pin": "P"}]})",
         "connected to 's' already"},
        {"dupblock.kfz", head + R"("blocks": [{"name": "B", "primType": "T"}, {"name": "B", "primType": "U"}]})",
         "block 'B': the block appears twice"},
        {"duppin.kfz", head + R"("blocks": [{"name": "B", "primType": "T", "pins": [{"name": "P"}, {"name": "P"}]}]})",
         "the pin appears twice"},
        {"dupsignal.kfz", head + R"("signals": [{"name": "s"}, {"name": "s"}]})", "the signal appears twice"},
        {"reserved.kfz", head + R"("blocks": [{"name": "B", "primType": "T", "properties": {"PRIMTYPE": "U"}}]})",
         "reserved key"},
        {"reservedpin.kfz",
         head + R"("blocks": [{"name": "B", "primType": "T", "pins": [{"name": "P", "properties": {"PINWIDTH": "1"}}]}]})",
         "reserved key"},
        {"dupprop.kfz", head + R"("blocks": [{"name": "B", "primType": "T", "properties": {"Mode": "a", "MODE": "b"}}]})",
         "block 'B': the property 'MODE' appears twice"},
        {"badtype.kfz", head + R"("blocks": [{"name": 7, "primType": "T"}]})", "\"name\" must be text"},
        {"badprop.kfz", head + R"("signals": [{"name": "s", "properties": {"K": 1}}]})", "must be text"},
        {"badbool.kfz", head + R"("signals": [{"name": "s", "vcc": "yes"}]})", "must be true or false"},
        {"badwidth.kfz", head + R"("signals": [{"name": "s", "busWidth": 99999999999}]})", "busWidth"},
        {"noname.kfz", head + R"("blocks": [{"primType": "T"}]})", "\"name\" is missing"},
        // Values nested deeply enough to overflow the stack when printed.
        {"deepformat.kfz", R"({"format": )" + Nested(100000) + "}", "(format a list, expected"},
        {"deepversion.kfz", R"({"format": "olm-kfz", "formatVersion": )" + Nested(100000) + "}",
         "format version a list is not supported"},
    };
    Olm_Engine e;
    BuildDesign(e);
    const std::string before = Walk(e);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.Write(c.name, c.content);
        Pal::String error;
        EXPECT_FALSE(e.Load(path.c_str(), &error));
        EXPECT_NE(error.str().find("'" + path + "'"), std::string::npos) << error.str();
        EXPECT_NE(error.str().find(c.problem), std::string::npos) << error.str();
        EXPECT_EQ(Walk(e), before);
    }
    Pal::String error;
    const std::string missing = dir.File("missing.kfz");
    EXPECT_FALSE(e.Load(missing.c_str(), &error));
    EXPECT_NE(error.str().find("'" + missing + "': No such file or directory"), std::string::npos) << error.str();
    EXPECT_FALSE(e.Load(dir.Path().c_str(), &error));
    EXPECT_NE(error.str().find("folder"), std::string::npos) << error.str();
    EXPECT_FALSE(e.Load(nullptr, &error));
    EXPECT_FALSE(e.Load("", nullptr));
    EXPECT_EQ(Walk(e), before);
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
    const std::pair<const char*, std::string> files[] = {{"wide.kfz", wide}, {"deep.kfz", Nested(1000000)}};
    Olm_Engine e;
    BuildDesign(e);
    const std::string before = Walk(e);
    for (const auto& [name, content] : files) {
        const std::string path = dir.Write(name, content);
        Pal::String error;
        bool loaded = true;
        {
            // Room for the file's text and a part of its document.
            const MemoryLimit limit(2 * content.size());
            loaded = e.Load(path.c_str(), &error);
        }
        EXPECT_FALSE(loaded) << name;
        EXPECT_NE(error.str().find("'" + path + "': not enough memory to read it"), std::string::npos) << error.str();
        EXPECT_EQ(Walk(e), before);
    }
}

TEST(EngineFiles, InterruptedSaveLeavesTheOldFileIntact) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("design.kfz");
    Olm_Engine first;
    BuildDesign(first);
    ASSERT_TRUE(first.Save(path.c_str()));
    const std::string oldText = olmtest::ReadFile(path);

    FailingWriteEngine failing;
    Cmd(failing, "add", "block", "other", "T", "1");
    Pal::String error;
    EXPECT_FALSE(failing.Save(path.c_str(), &error));
    EXPECT_NE(error.str().find("'" + path + "': write failed"), std::string::npos) << error.str();
    EXPECT_EQ(olmtest::ReadFile(path), oldText);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);  // the temporary file is gone

    // A failed first save creates nothing.
    const std::string fresh = dir.File("fresh.kfz");
    EXPECT_FALSE(failing.Save(fresh.c_str()));
    EXPECT_FALSE(std::filesystem::exists(fresh));
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

TEST(EngineFiles, SaveKeepsThePermissionsOfTheReplacedFile) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("d.kfz");
    Olm_Engine e;
    ASSERT_TRUE(e.Save(path.c_str()));
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    ASSERT_TRUE(e.Save(path.c_str()));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0640));
}

}  // namespace

namespace {

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
    EXPECT_EQ(Cmd(e, "get", "family"), "korvo5");
    EXPECT_EQ(Cmd(e, "get", "signal", "CLKIN", "TKL_ADV_INST"), "clk_in");
    EXPECT_EQ(Cmd(e, "getfirst", "pinprop", "RST", "TKL_ADV_INST"), "PINWIDTH");
    EXPECT_EQ(Cmd(e, "getnext", "pinprop", "RST", "TKL_ADV_INST"), "PINISGNDED");
}

}  // namespace
