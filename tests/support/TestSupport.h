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

// What a command line run by RunIn gave: its exit code (-1 when it did not
// end normally) and its output.
struct CommandResult {
    int code = -1;
    std::string output;  // standard output, with standard error unless err is given
};

// Runs a command line in a folder, each argument quoted for the shell;
// standard error is captured with standard output, or separately into err.
CommandResult RunIn(const std::filesystem::path& dir, const std::vector<std::string>& argv, std::string* err = nullptr);

// Checks the HDL of a design in a folder with the HDL tools on PATH: the
// Verilog wrapper <design>.v with its black boxes <design>_stubs.v must
// elaborate with Icarus Verilog (-g2005) without a message and lint clean with
// Verilator (--lint-only -Wall; the black boxes, empty by nature, are exempt
// through a configuration file given on the command line only) and pass
// Yosys's netlist check (no net with conflicting drivers, nothing driving
// nothing), and the VHDL
// wrapper <design>.vhd with <design>_stubs.vhd must analyse and elaborate with
// GHDL (--std=08). A language whose files are missing is not checked. Returns
// what failed, one text per tool run; empty when all passed.
// Yosys's netlist check of the Verilog wrapper <design>.v with its black
// boxes <design>_stubs.v in a folder: read, elaborate with <design> on top,
// "proc; check -assert", which fails on conflicting drivers and on wires
// used but driven by nothing.
CommandResult YosysCheck(const std::filesystem::path& dir, const std::string& design);
std::vector<std::string> HdlToolFindings(const std::filesystem::path& dir, const std::string& design);

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
