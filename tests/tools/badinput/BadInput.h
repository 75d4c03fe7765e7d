#pragma once

#include "OlmwizChild.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// Tables of malformed inputs for olmwiz, one per kind of file, and the output
// folder that a refused run must leave as it was.
namespace badinput {

namespace fs = std::filesystem;
using namespace olmwiztest;

// What a case gives olmwiz: a file of the case's content, or a path that
// must be refused before anything is read.
enum class Kind {
    kContent,
    kMissing,    // nothing there
    kFolder,
    kFifo,       // a FIFO that nobody writes to: reading it would wait for ever
    kZero,       // /dev/zero: endless zero bytes
    kRandom,     // /dev/urandom: endless random bytes
    kOverLimit,  // a sparse file one byte over the reader's size limit
};

// One malformed input and the error it must give.
struct Case {
    std::string name;
    std::string content;
    int line = 0;       // the line the error names; 0: none
    std::string text;   // a piece of the error
    Kind kind = Kind::kContent;
    bool lowMemory = false;   // olmwiz gets kLowMemory of memory
    std::uint64_t limit = 0;  // the reader's size limit, for kOverLimit
    std::string wizard = "tkl_pll";  // the wizard that a run or dump of the case uses
};

inline void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
inline std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

// The memory of an olmwiz run of a case marked lowMemory: twice what it
// needs to start and refuse an input.
inline constexpr std::uint64_t kLowMemory = 256ull << 20;

// The inputs that are not files to read, refused with the reader's words:
// missing for a missing file, open + "a folder" + close and the like for
// what is not a regular file, tooLarge + "(N bytes; the limit is L bytes)"
// for a file over the reader's size limit.
std::vector<Case> NotFiles(const std::string& missing, const std::string& open, const std::string& close,
                           const std::string& tooLarge, std::uint64_t limit);

// A case of base with the first occurrence of from replaced by to; the error
// names the line of the replacement plus lineOffset, or none for kNoLine.
inline constexpr int kNoLine = -1;
Case Edited(const std::string& base, std::string name, const std::string& from, const std::string& to,
            std::string text, int lineOffset);

// The cases of a table file (DataFileCases.txt and the like; the head of
// each tells the form of its rows, a fifth field the wizard of the case).
// marks maps a mark such as {FILE} to the text it stands for; the edits of a
// table start from the text of {FILE}.
std::vector<Case> TableCases(const std::string& file, const std::map<std::string, std::string>& marks);

// The line (from 1) on which the byte at offset pos of text stands.
int LineAt(const std::string& text, std::size_t pos);

// text with every line feed preceded by a carriage return.
std::string Crlf(const std::string& text);

// size pseudo-random bytes from seed, each byte of avoid replaced by 'x'.
std::string Garbage(std::size_t size, unsigned seed, const std::string& avoid = "");

// The arguments of a batch run of design d for korvo5 into outdir, then more.
std::vector<std::string> BatchRun(const std::string& wizard, const fs::path& outdir,
                                  std::vector<std::string> more = {});

// An output folder that already holds the files a run of design d writes
// (d.kfz, d.v, d_olmw.pkx) and any others added, each with known content.
// Changes() tells what a refused run did to the folder anyway.
class OutputGuard {
public:
    explicit OutputGuard(fs::path folder);

    // Adds a file with this content (it is then expected to stay as it is)
    // and returns its path.
    std::string Add(const std::string& name, const std::string& content);
    const fs::path& Folder() const { return m_folder; }

    // Every entry of the folder that is new ("new: NAME") and every file
    // added that is gone or changed ("changed: NAME"), one per line; empty
    // when the folder is as it was prepared.
    std::string Changes() const;

private:
    fs::path m_folder;
    std::map<std::string, std::string> m_files;  // name -> expected content
};

// A scratch folder and olmwiz working in it.
class OlmwizTest : public ::testing::Test {
protected:
    // Gives olmwiz a folder of installed data files of its own: links to the
    // real ones except olm_tkl.dev, whose path it returns for the test to
    // place.
    fs::path DataFolderWithoutTkl();

    olmtest::ScratchDir m_scratch;
    OlmwizChild m_olmwiz{OLMWIZ_PATH, m_scratch.Path()};
};

// A test of every case of a table. olmwiz gets the case's memory, and 20
// seconds for what is not a file to read: a child that waits on it fails the
// case instead of holding up the suite.
class BadInput : public OlmwizTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override;
    // Places the case at path; returns the path to give olmwiz (a device's
    // instead of path).
    std::string Place(const fs::path& path) const;
};

}  // namespace badinput
