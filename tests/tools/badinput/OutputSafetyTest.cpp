// What olmwiz writes must never cost what a user gave: outputs that name an
// input, FIFOs nobody reads, full disks, planted links and interrupted runs
// are refused or survived, with the reason on stderr and every input as it was.

#include "BadInput.h"
#include "CaseFiles.h"

#include "kit/Olm_RunSession.h"

#include <algorithm>
#include <chrono>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace badinput;

constexpr const char* kOptions = OLM_EXAMPLES_DIR "/tkl_pll_clkgen.opt";

// Every entry below a folder: its kind, permissions and content.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        struct stat status {};
        ::lstat(it->path().c_str(), &status);
        std::string what = std::to_string(status.st_mode);
        if (S_ISREG(status.st_mode)) what += ":" + olmtest::ReadFile(it->path());
        if (S_ISLNK(status.st_mode)) what += "->" + fs::read_symlink(it->path()).string();
        const std::string name = it->path().lexically_relative(folder).string();
        if (name != "stderr.txt") entries[name] = what;  // where the child's stderr is kept
    }
    return entries;
}

// A folder with a design file, an option file, manifests, a FIFO nobody
// reads and a link to the output folder jobs/; olmwiz works in it.
class Outputs : public OlmwizTest {
protected:
    void SetUp() override {
        fs::copy_file(OLM_SAMPLE_KFZ, m_scratch.File("d.kfz"));
        fs::copy_file(kOptions, m_scratch.File("good.opt"));
        fs::create_directory(m_scratch.File("jobs"));
        fs::create_directory_symlink("jobs", m_scratch.File("lnk"));
        ::mkfifo(m_scratch.File("fifo").c_str(), 0600);
        const std::string job = "--wizard tkl_pll --family korvo5 --design j1 --options good.opt --outdir jobs\n";
        m_scratch.Write("m.txt", job);
        m_scratch.Write("mlog.txt", job + "--wizard tkl_pll --family korvo5 --design j2 --outdir jobs --log good.opt\n");
        m_scratch.Write("mlnk.txt", job + "--wizard tkl_pll --family korvo5 --design j1 --outdir lnk\n");
        m_scratch.Write("bad.opt", "Foo: x;\n");
        m_scratch.Write("mbad.txt", "--wizard tkl_pll --family korvo5 --design j1 --options bad.opt --outdir jobs\n");
        m_scratch.Write("mcr.txt", "--wizard tkl_pll --family korvo5 --design j1 --outdir 'jobs/a\rb'\n");
        m_olmwiz.timeoutSeconds = 30;
    }

public:
    static std::vector<std::string> Run(std::vector<std::string> more) {
        more.insert(more.begin(), {"run", "--wizard", "tkl_pll", "--family", "korvo5", "--batch", "--outdir", "jobs"});
        if (std::find(more.begin(), more.end(), "--design") == more.end()) more.insert(more.end(), {"--design", "d1"});
        return more;
    }
    static std::vector<std::string> Hdl(std::vector<std::string> more) {
        more.insert(more.begin(), {"hdl", "--kfz", "d.kfz", "--lang", "verilog"});
        return more;
    }
};

struct Refusal {
    std::string name;
    std::vector<std::string> args;
    int exitCode;
    std::string text;  // a piece of stderr
};
void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class OutputRefused : public Outputs, public ::testing::WithParamInterface<Refusal> {};

TEST_P(OutputRefused, SaysWhyAtOnceAndChangesNothing) {
    const auto before = Snapshot(m_scratch.Path());
    const auto start = std::chrono::steady_clock::now();
    const ChildResult run = m_olmwiz.Run(GetParam().args);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err;
    EXPECT_NE(run.err.find(GetParam().text), std::string::npos) << run.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(Snapshot(m_scratch.Path()), before);
}

// The rows of OutputRefusalCases.txt, and a design name one byte over the
// bound, too long for a row.
std::vector<Refusal> Refusals() {
    std::vector<Refusal> cases;
    for (const olmtest::CaseRow& row : olmtest::ReadCaseRows(OLM_BADINPUT_CASES "/OutputRefusalCases.txt")) {
        std::vector<std::string> words = olmtest::Words(row[3]);
        const std::string command = words.front();
        if (command != "regen") words.erase(words.begin());  // Run and Hdl put it back
        cases.push_back({row[0], command == "run" ? Outputs::Run(words) : command == "hdl" ? Outputs::Hdl(words) : words,
                         std::stoi(row[1]), row[2]});
    }
    cases.push_back({"run_design_name_too_long",
                     Outputs::Run({"--design", std::string(Olm_RunSession::kMaxDesignNameBytes + 1, 'n')}), 1,
                     "is too long: 201 characters"});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, OutputRefused, ::testing::ValuesIn(Refusals()),
                         [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

// Writes that fail part way are errors with the system's reason, and the
// file they would have replaced stays as it was.
struct FailedWrite {
    std::string name;
    std::vector<std::string> args;
    std::string kept;  // the file that must keep its content, or ""
    // As a full disk would stop the writes (above what stderr needs: the
    // child's stderr is kept in a file); 0: none.
    std::uint64_t fileSizeLimit;
    std::string text;
};
void PrintTo(const FailedWrite& c, std::ostream* os) { *os << c.name; }

class WriteFails : public Outputs, public ::testing::WithParamInterface<FailedWrite> {};

TEST_P(WriteFails, IsAnErrorAndKeepsTheOldFile) {
    const std::string old = std::string(20000, 'o');
    if (!GetParam().kept.empty()) m_scratch.Write(GetParam().kept, old);
    m_olmwiz.fileSizeLimit = GetParam().fileSizeLimit;
    const ChildResult run = m_olmwiz.Run(GetParam().args);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find(GetParam().text), std::string::npos) << run.err;
    if (!GetParam().kept.empty()) {
        EXPECT_EQ(olmtest::ReadFile(m_scratch.File(GetParam().kept)), old);
    }
    for (const auto& entry : fs::directory_iterator(m_scratch.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFails,
    ::testing::Values(
        FailedWrite{"run_log_full_device", Outputs::Run({"--log", "/dev/full"}), "", 0, "No space left on device"},
        FailedWrite{"regen_json_full_device", {"regen", "m.txt", "--json", "/dev/full"}, "", 0,
                    "cannot write '/dev/full': No space left on device"},
        FailedWrite{"regen_json_over_file_size_limit", {"regen", "mbad.txt", "--json", "report.json"}, "report.json",
                    200, "cannot write 'report.json': File too large"},
        FailedWrite{"hdl_output_over_file_size_limit", Outputs::Hdl({"-o", "x.v"}), "x.v", 200,
                    "cannot write 'x.v': File too large"}),
    [](const ::testing::TestParamInfo<FailedWrite>& info) { return info.param.name; });

// Devices and terminals are written straight and stay what they are; a link
// planted where a temporary file might go is not followed; a replaced file
// keeps its permissions.
TEST_F(Outputs, StraightWritesLinksAndPermissions) {
    fs::create_symlink(m_scratch.File("victim"), m_scratch.File(".b.ninja.tmp"));
    EXPECT_TRUE(Accepted(m_olmwiz.Run({"regen", "m.txt", "--ninja", "b.ninja"})));
    EXPECT_FALSE(fs::exists(m_scratch.File("victim")));
    EXPECT_TRUE(fs::is_symlink(m_scratch.File(".b.ninja.tmp")));
    EXPECT_TRUE(fs::is_regular_file(m_scratch.File("b.ninja")));
    EXPECT_TRUE(Accepted(m_olmwiz.Run({"regen", "m.txt", "--ninja", "/dev/null"})));
    const ChildResult hdl = m_olmwiz.Run(Hdl({"-o", "/dev/stdout"}));
    EXPECT_TRUE(Accepted(hdl));
    EXPECT_NE(hdl.out.find("module d"), std::string::npos);

    fs::copy_file(m_scratch.File("d.kfz"), m_scratch.File("jobs/d1.kfz"));
    m_scratch.Write("jobs/d1.v", "old\n");
    fs::permissions(m_scratch.File("jobs/d1.kfz"), fs::perms(0444));
    fs::permissions(m_scratch.File("jobs/d1.v"), fs::perms(0600));
    EXPECT_TRUE(Accepted(m_olmwiz.Run(Run({"--kfz", "jobs/d1.kfz"}))));
    EXPECT_EQ(fs::status(m_scratch.File("jobs/d1.kfz")).permissions(), fs::perms(0444));
    EXPECT_EQ(fs::status(m_scratch.File("jobs/d1.v")).permissions(), fs::perms(0600));
    EXPECT_NE(olmtest::ReadFile(m_scratch.File("jobs/d1.v")), "old\n");
}

// An option file may come through a pipe (`--options <(command)`): it is
// read once, by the check and by the reader alike.
TEST_F(Outputs, OptionFileThroughAPipeRunsLikeTheFile) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string text = olmtest::ReadFile(kOptions);
    ASSERT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fds[1]);
    EXPECT_TRUE(Accepted(m_olmwiz.Run(Run({"--options", "/dev/fd/" + std::to_string(fds[0]), "--design", "p"}))));
    ::close(fds[0]);
    const std::string throughPipe = olmtest::ReadFile(m_scratch.File("jobs/p_olmw.pkx"));
    EXPECT_TRUE(Accepted(m_olmwiz.Run(Run({"--options", "good.opt", "--design", "p"}))));
    EXPECT_EQ(throughPipe, olmtest::ReadFile(m_scratch.File("jobs/p_olmw.pkx")));
    EXPECT_NE(throughPipe.find("clk_25"), std::string::npos);  // the options were applied
}

// A regen stopped by a signal, or whose processes are killed, leaves no
// scratch folder and no empty folder; the next run of the same jobs finishes
// what was left. The shell starts regen, signals it at a chosen moment and
// waits for it.
struct Interruption {
    std::string name;
    std::string stop;  // shell commands run against regen's process id $p
};
void PrintTo(const Interruption& c, std::ostream* os) { *os << c.name; }

class RegenInterrupted : public Outputs, public ::testing::WithParamInterface<Interruption> {};

TEST_P(RegenInterrupted, LeavesNoDebris) {
    std::string manifest;
    for (int i = 0; i < 60; ++i)
        manifest += "--wizard tkl_pll --family korvo5 --design j" + std::to_string(i) + " --outdir out/o" +
                    std::to_string(i) + "\n";
    m_scratch.Write("many.txt", manifest);
    const auto debris = [&] {
        std::string found;
        if (!fs::exists(m_scratch.File("out"))) return found;
        for (const auto& entry : fs::recursive_directory_iterator(m_scratch.File("out"))) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".") || (entry.is_directory() && fs::is_empty(entry.path())))
                found += entry.path().string() + "\n";
        }
        return found;
    };
    OlmwizChild shell{"/bin/sh", m_scratch.Path()};
    for (const char* delay : {"0.3", "0.9", "1.5"}) {
        const std::string script = std::string("\"$0\" regen many.txt -j 2 >/dev/null 2>&1 & p=$!; sleep ") + delay +
                                   "; " + GetParam().stop + "; wait $p; true";
        shell.Run({"-c", script, OLMWIZ_PATH});
        // A regen killed outright cannot clean up; the next run does.
        if (GetParam().name != "killed") {
            EXPECT_EQ(debris(), "") << "stopped after " << delay << " s";
        }
        if (GetParam().name == "killed") {
            EXPECT_TRUE(Accepted(m_olmwiz.Run({"regen", "many.txt", "-j", "2"})));
            EXPECT_EQ(debris(), "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, RegenInterrupted,
    ::testing::Values(Interruption{"sigint", "kill -INT $p"}, Interruption{"sigterm", "kill -TERM $p"},
                      Interruption{"workers_killed", "pkill -KILL -P $p; sleep 0.3; pkill -KILL -P $p"},
                      Interruption{"killed", "pkill -KILL -P $p; kill -KILL $p"}),
    [](const ::testing::TestParamInfo<Interruption>& info) { return info.param.name; });

// check-opt reads with the reader of run: what run refuses, it refuses.
struct Disputed {
    std::string name;
    std::string content;
    std::string text;
};
void PrintTo(const Disputed& c, std::ostream* os) { *os << c.name; }

class CheckOptAgreesWithRun : public Outputs, public ::testing::WithParamInterface<Disputed> {};

TEST_P(CheckOptAgreesWithRun, BothRefuse) {
    const std::string path = m_scratch.Write("x.opt", GetParam().content);
    const ChildResult check = m_olmwiz.Run({"check-opt", "--wizard", "ssio_rx", "--family", "korvo5", path});
    const ChildResult run = m_olmwiz.Run(
        {"run", "--wizard", "ssio_rx", "--family", "korvo5", "--design", "r", "--batch", "--options", path});
    for (const ChildResult* result : {&check, &run}) {
        EXPECT_TRUE(Refused(*result, path, 0, GetParam().text));
        EXPECT_EQ(result->err.find("ERROR: ERROR"), std::string::npos) << result->err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckOptAgreesWithRun,
    ::testing::Values(Disputed{"unknown_keyword", "Garbage: ISER.*.X=8;\n", "Unrecognized keyword"},
                      Disputed{"empty_value", "BlockProp: ISER.*.OLMW_ONLY_BUS_WIDTH=;\n", "Missing property value"},
                      Disputed{"value_over_255", "BlockProp: ISER.*.OLMW_ONLY_BUS_WIDTH=" + std::string(300, '8') + ";\n",
                               "line 2"}),
    [](const ::testing::TestParamInfo<Disputed>& info) { return info.param.name; });

// A window run reads its option file after its application exists: a bad or
// missing one is refused with exit 1 in every wizard, never an abort.
struct WindowRun {
    std::string name;
    std::vector<std::string> wizard;
};
void PrintTo(const WindowRun& c, std::ostream* os) { *os << c.name; }

class WindowRunOptionFile : public Outputs, public ::testing::WithParamInterface<WindowRun> {};

TEST_P(WindowRunOptionFile, BadOrMissingIsRefused) {
    m_olmwiz.env["QT_QPA_PLATFORM"] = "offscreen";
    const std::string bad = m_scratch.Write("bad.opt", "Foo: x;\n");
    for (const std::string& path : {bad, std::string("/nonexist.opt")}) {
        std::vector<std::string> args = {"run", "--family", "korvo5", "--design", "w", "--outdir", "win", "--options", path};
        args.insert(args.begin() + 1, GetParam().wizard.begin(), GetParam().wizard.end());
        EXPECT_TRUE(Refused(m_olmwiz.Run(args), path, 0, "option file"));
        EXPECT_FALSE(fs::exists(m_scratch.File("win")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Wizards, WindowRunOptionFile,
    ::testing::Values(WindowRun{"tkl_pll", {"--wizard", "tkl_pll"}}, WindowRun{"dsp_mult", {"--wizard", "dsp_mult"}},
                      WindowRun{"hsx", {"--wizard", "hsx"}}, WindowRun{"ssio_rx", {"--wizard", "ssio_rx"}},
                      WindowRun{"ssio_tx", {"--wizard", "ssio_tx"}},
                      WindowRun{"generic", {"--wizard", "generic", "--type", "tkl_pll"}}),
    [](const ::testing::TestParamInfo<WindowRun>& info) { return info.param.name; });

}  // namespace
