#include "TestSupport.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace olmtest {

namespace {
std::filesystem::path ScratchRoot() {
    if (const char* env = std::getenv("OLMW_TEST_TMP"); env && *env) return env;
    return std::filesystem::temp_directory_path() / "olmw-tests";
}
}  // namespace

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    m_path = ScratchRoot() / ("t" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ScratchDir::Write(const std::string& name, const std::string& content) const {
    const auto path = m_path / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path.string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::stringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::error_code ec;
        const std::filesystem::path candidate = std::filesystem::path(dir.empty() ? "." : dir) / program;
        if (std::filesystem::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) return true;
    }
    return false;
}

namespace {
std::string Quote(const std::string& arg) {
    std::string out = "'";
    for (char c : arg) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
}  // namespace

CommandResult RunIn(const std::filesystem::path& dir, const std::vector<std::string>& argv, std::string* err) {
    std::string cmd = "cd " + Quote(dir.string()) + " &&";
    for (const auto& arg : argv) cmd += " " + Quote(arg);
    const std::string errFile = (dir / "stderr.txt").string();
    cmd += err ? " 2>" + Quote(errFile) : " 2>&1";
    CommandResult r;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) r.output.append(buf.data(), n);
    const int status = pclose(pipe);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (err) *err = ReadFile(errFile);
    return r;
}

CommandResult YosysCheck(const std::filesystem::path& dir, const std::string& design) {
    return RunIn(dir, {"yosys", "-q", "-p",
                       "read_verilog " + design + ".v " + design + "_stubs.v; hierarchy -top " + design +
                           "; proc; check -assert"});
}

std::vector<std::string> HdlToolFindings(const std::filesystem::path& dir, const std::string& design) {
    std::vector<std::string> findings;
    const auto expect = [&](const char* tool, const CommandResult& r, bool quiet) {
        if (r.code != 0 || !quiet)
            findings.push_back(design + ": " + tool + " (exit " + std::to_string(r.code) + "):\n" + r.output);
    };
    const std::string v = design + ".v", vStubs = design + "_stubs.v";
    if (std::filesystem::exists(dir / v)) {
        if (OnPath("iverilog")) {
            const CommandResult r = RunIn(dir, {"iverilog", "-g2005", "-t", "null", v, vStubs});
            expect("iverilog", r, r.output.empty());
        }
        if (OnPath("verilator")) {
            std::ofstream(dir / "black_boxes.vlt") << kStubLintConfig;
            const CommandResult r = RunIn(dir, {"verilator", "--lint-only", "-Wall", "--Mdir", "obj_" + design,
                                                "--top-module", design, "black_boxes.vlt", v, vStubs});
            expect("verilator", r, r.output.find("%Warning") == std::string::npos);
        }
        if (OnPath("yosys")) expect("yosys check", YosysCheck(dir, design), true);
    }
    if (std::filesystem::exists(dir / (design + ".vhd")) && OnPath("ghdl")) {
        const std::string work = "ghdl_" + design;
        std::filesystem::create_directories(dir / work);
        const CommandResult r =
            RunIn(dir, {"ghdl", "-a", "--std=08", "--workdir=" + work, design + "_stubs.vhd", design + ".vhd"});
        expect("ghdl -a", r, true);
        if (r.code == 0) expect("ghdl -e", RunIn(dir, {"ghdl", "-e", "--std=08", "--workdir=" + work, design}), true);
    }
    return findings;
}

MsgCapture::MsgCapture() {
    m_previous = Pal::MsgMan::setHandler([this](const Pal::MsgMan::Report& r) { m_reports.push_back(r); });
}

MsgCapture::~MsgCapture() { Pal::MsgMan::setHandler(std::move(m_previous)); }

std::vector<std::string> MsgCapture::Texts() const {
    std::vector<std::string> texts;
    for (const auto& r : m_reports) texts.push_back(r.text.str());
    return texts;
}

}  // namespace olmtest
