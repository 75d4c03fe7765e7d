#pragma once

// Helpers shared by the test suites: scratch folders, files written at run
// time, and capture of the message manager's reports.

#include "pal/MsgMan.h"

#include <filesystem>
#include <string>
#include <vector>

namespace olmtest {

// A fresh, empty folder for one test, removed again when the object dies.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Writes a file below the folder and returns its full path.
    std::string Write(const std::string& name, const std::string& content) const;
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

std::string ReadFile(const std::string& path);

// True when an executable of that name is found on PATH (tests of real tools
// skip themselves otherwise).
bool OnPath(const std::string& program);

// A command line run in a folder: its exit code (-1 when it did not end
// normally) and its standard output, with standard error unless that is
// asked for separately.
struct CommandResult {
    int code = -1;
    std::string output;
};
CommandResult RunIn(const std::filesystem::path& dir, const std::vector<std::string>& argv, std::string* err = nullptr);

// The Verilator configuration under which the HDL tests lint a wrapper with
// every warning on: the black boxes ("*_stubs.v"), empty by nature, are
// exempt, the wrapper is not.
inline constexpr const char* kStubLintConfig = "`verilator_config\nlint_off -file \"*_stubs.v\"\n";

// Collects every report issued through Pal::MsgMan while it lives.
class MsgCapture {
public:
    MsgCapture();
    ~MsgCapture();
    MsgCapture(const MsgCapture&) = delete;
    MsgCapture& operator=(const MsgCapture&) = delete;

    const std::vector<Pal::MsgMan::Report>& Reports() const { return m_reports; }
    std::vector<std::string> Texts() const;

private:
    std::vector<Pal::MsgMan::Report> m_reports;
    Pal::MsgMan::Handler m_previous;
};

}  // namespace olmtest
