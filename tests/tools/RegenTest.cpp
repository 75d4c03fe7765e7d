// olmwiz regen: how a manifest line splits into words, and the command end to
// end on the bundled option files: the same files as single runs in any job
// order, a failed job among good ones, malformed manifests, the ninja file.

#include "CaseFiles.h"
#include "OlmwizChild.h"
#include "ShellWords.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <thread>

#include <sys/stat.h>

namespace fs = std::filesystem;
using olmwiztest::Accepted;
using olmwiztest::ChildResult;

namespace {

struct Split {
    const char* line;
    std::vector<std::string> words;
    const char* problem;  // empty: the line splits
};

void PrintTo(const Split& split, std::ostream* os) { *os << split.line; }

class ShellWords : public ::testing::TestWithParam<Split> {};

TEST_P(ShellWords, SplitsLikeAShellWithoutExpanding) {
    std::vector<std::string> words;
    std::string problem;
    EXPECT_EQ(olmwiz::SplitWords(GetParam().line, words, problem), *GetParam().problem == '\0');
    EXPECT_EQ(problem, GetParam().problem);
    if (problem.empty()) {
        EXPECT_EQ(words, GetParam().words);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ShellWords,
                         ::testing::Values(Split{"  --a b\tc  ", {"--a", "b", "c"}, ""},
                                           Split{"--outdir 'out dir/a'", {"--outdir", "out dir/a"}, ""},
                                           Split{R"(--log "a \"b\" c\\d\e")", {"--log", R"(a "b" c\d\e)"}, ""},
                                           Split{R"(--x="a b"/'c d' a\ b)", {"--x=a b/c d", "a b"}, ""},
                                           Split{R"('' "" x)", {"", "", "x"}, ""},
                                           Split{"a # comment 'open", {"a"}, ""},
                                           Split{"# whole line", {}, ""},
                                           Split{"a#b '#c' \"$HOME\" *", {"a#b", "#c", "$HOME", "*"}, ""},
                                           Split{"--design 'd", {}, "unterminated single quote (column 10)"},
                                           Split{"a \"b\\\"", {}, "unterminated double quote (column 3)"}));

// What ShellQuoted writes for the ninja file's commands reads back as one word.
TEST(ShellQuoted, ReadsBackAsOneWord) {
    for (const std::string word : {"plain/path.v", "out dir", "it's", "", "$x;`y`", "a\"b\\"}) {
        std::vector<std::string> words;
        std::string problem;
        EXPECT_TRUE(olmwiz::SplitWords(olmwiz::ShellQuoted(word), words, problem));
        EXPECT_EQ(words, std::vector<std::string>{word}) << olmwiz::ShellQuoted(word);
    }
}

// The names and contents of the files in a folder.
std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = olmtest::ReadFile(entry.path().string());
    return files;
}

bool Has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// What tells a file that was left alone from one written again.
struct Stamp {
    std::int64_t mtime = 0;
    std::uintmax_t inode = 0;
    bool operator==(const Stamp&) const = default;
};

void PrintTo(const Stamp& stamp, std::ostream* os) { *os << "mtime " << stamp.mtime << " inode " << stamp.inode; }

std::map<std::string, Stamp> Stamps(const fs::path& folder) {
    std::map<std::string, Stamp> stamps;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat status {};
        if (!entry.is_regular_file() || ::stat(entry.path().c_str(), &status) != 0) continue;
        stamps[entry.path().lexically_relative(folder).string()] = {
            status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec, status.st_ino};
    }
    return stamps;
}

// The files whose stamps differ between two takes.
std::vector<std::string> Touched(const std::map<std::string, Stamp>& before, const std::map<std::string, Stamp>& after) {
    std::vector<std::string> touched;
    for (const auto& [name, stamp] : after) {
        const auto it = before.find(name);
        if (it == before.end() || !(it->second == stamp)) touched.push_back(name);
    }
    return touched;
}

class Regen : public ::testing::Test {
protected:
    olmtest::ScratchDir m_scratch;
    olmwiztest::OlmwizChild m_olmwiz{OLMWIZ_PATH, m_scratch.Path()};
    fs::path Dir(const std::string& name) const { return m_scratch.Path() / name; }
};

TEST_F(Regen, WritesWhatSingleRunsWriteInEitherOrder) {
    // The bundled option files and the defaults, in both languages: name and
    // the arguments of olmwiz run as the manifest gives them.
    const std::string examples = "--options " + olmwiz::ShellQuoted(OLM_EXAMPLES_DIR) + "/";
    const std::string wizards[] = {"--wizard tkl_pll", "--wizard tkl_pll " + examples + "tkl_pll_clkgen.opt",
                                   "--wizard dsp_mult", "--wizard dsp_mult " + examples + "dsp_mult_small.opt"};
    std::vector<std::pair<std::string, std::string>> jobs;
    for (const std::string hdl : {"verilog", "vhdl"})
        for (const std::string& args : wizards)
            jobs.push_back({"job" + std::to_string(jobs.size()), args + " --family korvo5 --design core --hdl " + hdl});
    std::string forwards = "# every example, both languages\n\n", backwards;
    for (const auto& [name, args] : jobs) {
        std::vector<std::string> single;
        std::string problem;
        ASSERT_TRUE(olmwiz::SplitWords("run --batch --silent " + args, single, problem)) << problem;
        single.insert(single.end(), {"--outdir", Dir("single/" + name).string()});
        ASSERT_TRUE(Accepted(m_olmwiz.Run(single))) << name;
        forwards += args + " --outdir forwards/" + name + "\n";  // relative to the manifest
        backwards = args + " --outdir backwards/" + name + "\n" + backwards;
    }
    // One worker: every job runs in the session of the jobs before it.
    for (const auto& [manifest, text] : {std::pair{"forwards.txt", forwards}, {"backwards.txt", backwards}}) {
        const ChildResult run = m_olmwiz.Run({"regen", m_scratch.Write(manifest, text), "--jobs", "1"});
        ASSERT_TRUE(Accepted(run));
        EXPECT_TRUE(Has(run.out, "8 jobs in")) << run.out;
    }
    for (const auto& [name, args] : jobs) {
        const auto expected = Files(Dir("single/" + name));
        EXPECT_EQ(expected.size(), 3u) << name;
        EXPECT_EQ(Files(Dir("forwards/" + name)), expected) << name;
        EXPECT_EQ(Files(Dir("backwards/" + name)), expected) << name;
    }
}

TEST_F(Regen, AFailedJobStopsNoOtherAndLeavesNothing) {
    m_scratch.Write("bad.opt", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=2;\n");
    const std::string manifest = m_scratch.Write(
        "m.txt", "--wizard tkl_pll --family korvo5 --design a --outdir out/a --options " OLM_EXAMPLES_DIR
                 "/tkl_pll_clkgen.opt\n"
                 "--wizard tkl_pll --family korvo5 --design b --outdir out/b --options bad.opt --log b.log\n"
                 "--wizard dsp_mult --family korvo5 --design c --outdir out/c --hdl vhdl\n");
    const ChildResult run = m_olmwiz.Run({"regen", manifest, "--jobs", "2", "--json", Dir("r.json")});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_EQ(Files(Dir("out/a")).size(), 3u);
    EXPECT_EQ(Files(Dir("out/c")).size(), 3u);
    EXPECT_FALSE(fs::exists(Dir("out/b")));
    for (const char* piece : {"     2  FAILED", "CLKOUT0: 2.000 MHz cannot be reached", "     3  ok", "out/c/c.vhd"})
        EXPECT_TRUE(Has(run.out, piece)) << piece << " in\n" << run.out;
    EXPECT_TRUE(Has(olmtest::ReadFile(Dir("b.log")), "The run failed"));
    EXPECT_TRUE(Has(olmtest::ReadFile(Dir("r.json")), "\"status\": \"failed\""));
}

// Each job line of regen_manifests.txt after a good one.
class RegenManifest : public Regen, public ::testing::WithParamInterface<olmtest::CaseRow> {};

TEST_P(RegenManifest, AMalformedLineIsNamedByFileAndLineAndNothingRuns) {
    const std::string good = "--wizard tkl_pll --family korvo5 --design ok --outdir out";
    const std::string manifest = m_scratch.Write("m.txt", "# a comment\n\n" + good + "\n" + GetParam()[1] + "\n");
    std::string problem = GetParam()[2];
    if (const std::size_t at = problem.find("{OUT}"); at != std::string::npos) problem.replace(at, 5, Dir("out").string());
    const ChildResult run = m_olmwiz.Run({"regen", manifest});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Has(run.err, "olmwiz regen: " + manifest + ":4: " + problem)) << run.err;
    EXPECT_FALSE(fs::exists(Dir("out")));
}

INSTANTIATE_TEST_SUITE_P(Lines, RegenManifest,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_TOOLS_CASES "/regen_manifests.txt")),
                         [](const auto& info) { return info.param[0]; });

TEST_F(Regen, AnUnreadableManifestIsNamed) {
    const ChildResult absent = m_olmwiz.Run({"regen", Dir("absent.txt")});
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_TRUE(Has(absent.err, Dir("absent.txt").string() + ": cannot read the manifest")) << absent.err;
}

// A job that asks for its testbench runs with it under ninja, and the
// testbench is an output of its edge, so a second ninja finds no work. A job
// of the generic wizard runs there as `--wizard generic --type T`.
TEST_F(Regen, NinjaRunsAJobsTestbenchAsOneOfItsOutputs) {
    if (!olmtest::OnPath("ninja")) GTEST_SKIP() << "ninja is not installed";
    m_scratch.Write("c.opt", olmtest::ReadFile(OLM_EXAMPLES_DIR "/dsp_mult_small.opt"));
    const std::string manifest =
        m_scratch.Write("m.txt", "--wizard dsp_mult --family korvo5 --design c --options c.opt --testbench\n"
                                 "--wizard generic --type dsp_any --family korvo5 --design g\n");
    const std::string ninjaFile = Dir("build.ninja").string();
    ASSERT_TRUE(Accepted(m_olmwiz.Run({"regen", manifest, "--ninja", ninjaFile})));
    const olmwiztest::OlmwizChild ninja{"/usr/bin/ninja", m_scratch.Path()};
    ASSERT_TRUE(Accepted(ninja.Run({"-C", m_scratch.Path().string(), "-f", ninjaFile})));
    EXPECT_TRUE(fs::exists(Dir("c_tb.v")));
    EXPECT_TRUE(fs::exists(Dir("g.v")));
    const ChildResult again = ninja.Run({"-C", m_scratch.Path().string(), "-f", ninjaFile, "-n"});
    EXPECT_TRUE(Has(again.out, "no work to do")) << again.out;
}

TEST_F(Regen, NinjaRerunsExactlyTheJobWhoseOptionFileChanged) {
    if (!olmtest::OnPath("ninja")) GTEST_SKIP() << "ninja is not installed";
    const std::string pll = olmtest::ReadFile(OLM_EXAMPLES_DIR "/tkl_pll_clkgen.opt");
    m_scratch.Write("opt files/a.opt", pll);
    const std::string touched = m_scratch.Write("opt files/b.opt", pll);
    m_scratch.Write("opt files/c.opt", olmtest::ReadFile(OLM_EXAMPLES_DIR "/dsp_mult_small.opt"));
    const std::string manifest =
        m_scratch.Write("m.txt",
                        "--wizard tkl_pll --family korvo5 --design a --options 'opt files/a.opt' --outdir 'out dir:1'\n"
                        "--wizard tkl_pll --family korvo5 --design b --options 'opt files/b.opt' --outdir 'out dir:1'\n"
                        "--wizard dsp_mult --family korvo5 --design c --options 'opt files/c.opt' --hdl vhdl\n");
    const std::string ninjaFile = Dir("build.ninja").string();
    ASSERT_TRUE(Accepted(m_olmwiz.Run({"regen", manifest, "--ninja", ninjaFile})));
    EXPECT_FALSE(fs::exists(Dir("out dir:1")));  // written, not run

    const olmwiztest::OlmwizChild ninja{"/usr/bin/ninja", m_scratch.Path()};
    const auto build = [&](std::vector<std::string> extra) {
        extra.insert(extra.begin(), {"-C", m_scratch.Path().string(), "-f", ninjaFile});
        return ninja.Run(extra);
    };
    // Each edge depends on all that its files follow from, and restats.
    const std::string text = olmtest::ReadFile(ninjaFile);
    for (const char* piece : {"restat = 1", "/olm_dsp.dev", "/olm_hsx11.dev", "/libOlm_Base.so", "generator = 1"})
        EXPECT_TRUE(Has(text, piece)) << piece << " in\n" << text;

    ChildResult run = build({});
    ASSERT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, "[3/3]")) << run.out;
    EXPECT_EQ(Files(Dir("out dir:1")).size(), 6u);
    EXPECT_TRUE(fs::exists(Dir("c.vhd")));
    run = build({"-d", "explain"});
    EXPECT_TRUE(Has(run.out, "no work to do")) << run.out << run.err;
    EXPECT_FALSE(Has(run.err, "is dirty")) << run.err;

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fs::last_write_time(touched, fs::file_time_type::clock::now());
    const auto before = Stamps(Dir("out dir:1"));
    run = build({});
    EXPECT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, "[1/1] olmwiz run b (tkl_pll, verilog), line 2")) << run.out;
    EXPECT_FALSE(Has(run.out, "[2/")) << run.out;
    EXPECT_EQ(Stamps(Dir("out dir:1")), before);  // its files came out the same
    EXPECT_TRUE(Has(build({"-n"}).out, "no work to do"));

    // A changed manifest writes the ninja file again before anything else.
    m_scratch.Write("m.txt", olmtest::ReadFile(manifest) +
                                 "--wizard dsp_mult --family korvo5 --design d --options 'opt files/c.opt'\n");
    run = build({});
    EXPECT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, "olmwiz regen: the ninja file from the manifest")) << run.out;
    EXPECT_TRUE(Has(run.out, "olmwiz run d (dsp_mult, verilog), line 4")) << run.out;
    EXPECT_FALSE(Has(run.out, "line 2")) << run.out;
    EXPECT_TRUE(fs::exists(Dir("d.v")));
    EXPECT_TRUE(Has(build({"-n"}).out, "no work to do"));
}

}  // namespace

// Two jobs on option files of their own, and a copy of the installed data,
// which the runs read through OLMW_DATA_DIR.
class Unchanged : public Regen {
protected:
    void SetUp() override {
        fs::copy(OLM_DATA_SOURCE_DIR, Dir("data"), fs::copy_options::recursive);
        m_olmwiz.env["OLMW_DATA_DIR"] = Dir("data").string();
        m_pll = m_scratch.Write("pll.opt", olmtest::ReadFile(OLM_EXAMPLES_DIR "/tkl_pll_clkgen.opt"));
        m_mult = m_scratch.Write("mult.opt", olmtest::ReadFile(OLM_EXAMPLES_DIR "/dsp_mult_small.opt"));
        m_manifest = m_scratch.Write("m.txt",
                                     "--wizard tkl_pll --family korvo5 --design a --options pll.opt --outdir out/a\n"
                                     "--wizard dsp_mult --family korvo5 --design b --options mult.opt --hdl vhdl "
                                     "--outdir out/b\n");
    }
    ChildResult Regen(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"regen", m_manifest, "--jobs", "2"});
        return m_olmwiz.Run(extra);
    }
    // Later than any time the files got so far, on a disk with coarse times too.
    static void Later() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

    std::string m_pll, m_mult, m_manifest;
};

TEST_F(Unchanged, ASecondRegenAndASecondRunLeaveEveryFileAlone) {
    ChildResult run = Regen();
    ASSERT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, "files: 6 written, 0 unchanged")) << run.out;
    EXPECT_TRUE(Has(run.out, "out/a/a.v (written)")) << run.out;
    const auto first = Stamps(Dir("out"));
    ASSERT_EQ(first.size(), 6u);
    Later();
    run = Regen();
    ASSERT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, "files: 0 written, 6 unchanged")) << run.out;
    EXPECT_TRUE(Has(run.out, "out/b/b.vhd (unchanged)")) << run.out;
    EXPECT_EQ(Stamps(Dir("out")), first);
    EXPECT_EQ(Files(Dir("out/a")).size(), 3u);  // no scratch file or folder left

    // A single run of the same job, as olmwiz run.
    const std::vector<std::string> single = {"run", "--batch", "--wizard", "tkl_pll", "--family", "korvo5", "--design",
                                             "a", "--options", m_pll, "--outdir", Dir("out/a").string()};
    run = m_olmwiz.Run(single);
    ASSERT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, Dir("out/a/a.kfz").string() + "  (unchanged)")) << run.out;
    EXPECT_EQ(Stamps(Dir("out")), first);

    // One option file changed: that job's changed files only.
    Later();
    m_scratch.Write("pll.opt", olmtest::ReadFile(m_pll) + "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=150;\n");
    run = Regen({"--json", Dir("r.json")});
    ASSERT_TRUE(Accepted(run));
    const std::vector<std::string> touched = Touched(first, Stamps(Dir("out")));
    EXPECT_FALSE(touched.empty());
    for (const std::string& file : touched) EXPECT_EQ(file.rfind("a/", 0), 0u) << file;
    EXPECT_TRUE(Has(olmtest::ReadFile(Dir("r.json")), "\"unchanged\"")) << olmtest::ReadFile(Dir("r.json"));
}

TEST_F(Unchanged, CheckPassesAfterARegenAndNamesWhatAChangeWouldRewrite) {
    // Before any regen: every file is new, and nothing is made.
    ChildResult check = Regen({"--check"});
    EXPECT_EQ(check.exitCode, 1) << check.out << check.err;
    EXPECT_TRUE(Has(check.out, "out/a/a.kfz: new (line 1)")) << check.out;
    EXPECT_TRUE(Has(check.out, "6 of 6 files would change")) << check.out;
    EXPECT_FALSE(fs::exists(Dir("out")));

    ASSERT_TRUE(Accepted(Regen()));
    const auto written = Stamps(m_scratch.Path());
    const auto outputs = Stamps(Dir("out"));
    check = Regen({"--check"});
    EXPECT_TRUE(Accepted(check));
    EXPECT_TRUE(Has(check.out, "0 of 6 files would change")) << check.out;

    // An option file changed: the design file of its job would change.
    const std::string pll = olmtest::ReadFile(m_pll);
    m_scratch.Write("pll.opt", pll + "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=150;\n");
    check = Regen({"--check", "--json", Dir("check.json")});
    EXPECT_EQ(check.exitCode, 1) << check.out << check.err;
    EXPECT_TRUE(Has(check.out, "out/a/a.kfz: changed (line 1)\n--- " + Dir("out/a/a.kfz").string() + " (on disk)\n+++"))
        << check.out;
    EXPECT_TRUE(Has(check.out, "\n@@ -")) << check.out;
    EXPECT_FALSE(Has(check.out, "out/b/")) << check.out;
    EXPECT_TRUE(Has(olmtest::ReadFile(Dir("check.json")), "\"changed\"")) << olmtest::ReadFile(Dir("check.json"));
    m_scratch.Write("pll.opt", pll);

    // An installed data file changed: a default of the multiplier.
    const std::string dsp = Dir("data/olm_dsp.dev").string();
    std::string data = olmtest::ReadFile(dsp);
    const std::string from = "DefaultValue: SYNC;";
    ASSERT_NE(data.find(from), std::string::npos);
    data.replace(data.find(from), from.size(), "DefaultValue: ASYNC;");
    m_scratch.Write("data/olm_dsp.dev", data);
    check = Regen({"--check"});
    EXPECT_EQ(check.exitCode, 1) << check.out << check.err;
    EXPECT_TRUE(Has(check.out, "out/b/b.kfz: changed (line 2)")) << check.out;
    EXPECT_FALSE(Has(check.out, "out/a/")) << check.out;
    EXPECT_TRUE(Has(check.out, "\n+")) << check.out;

    // Only the diff's first lines, unless --diff.
    m_scratch.Write("mult.opt", "");
    check = Regen({"--check"});
    EXPECT_TRUE(Has(check.out, " more lines\n")) << check.out;
    check = Regen({"--check", "--diff"});
    EXPECT_FALSE(Has(check.out, " more lines\n")) << check.out;

    // None of the checks wrote anything: not a file, not a scratch file.
    EXPECT_EQ(Stamps(Dir("out")), outputs);
    std::set<std::string> names;
    for (const auto& [name, stamp] : Stamps(m_scratch.Path())) names.insert(name);
    EXPECT_EQ(names, [&] {
        std::set<std::string> expected = {"check.json"};
        for (const auto& [name, stamp] : written) expected.insert(name);
        return expected;
    }());
}

TEST_F(Unchanged, CheckAndDiffAreRefusedWhereTheyMeanNothing) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--diff"}, {"--check", "--ninja", Dir("b.ninja").string()}}) {
        const ChildResult run = Regen(args);
        EXPECT_EQ(run.exitCode, 2) << args.front();
        EXPECT_TRUE(Has(run.err, "olmwiz regen: --")) << run.err;
    }
}
