// olmwiz regen: how a manifest line splits into words, and the command end to
// end on the bundled option files: the same files as single runs in any job
// order, a failed job among good ones, malformed manifests, the ninja file.

#include "OlmwizChild.h"
#include "ShellWords.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct Split {
    const char* line;
    std::vector<std::string> words;
    const char* problem;  // empty: the line splits
};

TEST(ShellWords, SplitsLikeAShellWithoutExpanding) {
    const Split cases[] = {
        {"  --a b\tc  ", {"--a", "b", "c"}, ""},
        {"--outdir 'out dir/a'", {"--outdir", "out dir/a"}, ""},
        {R"(--log "a \"b\" c\\d\e")", {"--log", R"(a "b" c\d\e)"}, ""},
        {R"(--x="a b"/'c d' a\ b)", {"--x=a b/c d", "a b"}, ""},
        {R"('' "" x)", {"", "", "x"}, ""},
        {"a # comment 'open", {"a"}, ""},
        {"# whole line", {}, ""},
        {"a#b '#c' \"$HOME\" *", {"a#b", "#c", "$HOME", "*"}, ""},
        {"--design 'd", {}, "unterminated single quote (column 10)"},
        {"a \"b\\\"", {}, "unterminated double quote (column 3)"},
    };
    for (const Split& c : cases) {
        std::vector<std::string> words;
        std::string problem;
        EXPECT_EQ(olmwiz::SplitWords(c.line, words, problem), *c.problem == '\0') << c.line;
        EXPECT_EQ(problem, c.problem) << c.line;
        if (*c.problem == '\0') {
            EXPECT_EQ(words, c.words) << c.line;
        }
    }
    // What ShellQuoted writes for the ninja file's commands reads back as one word.
    for (const std::string word : {"plain/path.v", "out dir", "it's", "", "$x;`y`", "a\"b\\"}) {
        std::vector<std::string> words;
        std::string problem;
        EXPECT_TRUE(olmwiz::SplitWords(olmwiz::ShellQuoted(word), words, problem));
        EXPECT_EQ(words, std::vector<std::string>{word}) << olmwiz::ShellQuoted(word);
    }
}

// The bundled option files and the defaults, in both languages.
struct Job {
    std::string name, wizard, options, hdl;
};

std::vector<Job> ExampleJobs() {
    std::vector<Job> jobs;
    for (const auto& [wizard, options] :
         {std::pair{"tkl_pll", "tkl_pll_clkgen.opt"}, {"dsp_mult", "dsp_mult_small.opt"}})
        for (const std::string source : {"", options})
            for (const std::string hdl : {"verilog", "vhdl"})
                jobs.push_back({wizard + std::string(source.empty() ? "_default_" : "_opt_") + hdl, wizard,
                                source.empty() ? "" : std::string(OLM_EXAMPLES_DIR) + "/" + source, hdl});
    return jobs;
}

std::vector<std::string> RunArgs(const Job& job, const std::string& outdir) {
    std::vector<std::string> args = {"--wizard", job.wizard, "--family", "korvo5", "--design", "core"};
    args.insert(args.end(), {"--hdl", job.hdl, "--outdir", outdir});
    if (!job.options.empty()) args.insert(args.end(), {"--options", job.options});
    return args;
}

std::string ManifestLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) line += olmwiz::ShellQuoted(arg) + " ";
    return line + "\n";
}

// The names and contents of the files in a folder.
std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = olmtest::ReadFile(entry.path().string());
    return files;
}

class Regen : public ::testing::Test {
protected:
    olmtest::ScratchDir m_scratch;
    badinput::OlmwizChild m_olmwiz{OLMWIZ_PATH, m_scratch.Path()};
    fs::path Dir(const std::string& name) const { return m_scratch.Path() / name; }
};

TEST_F(Regen, WritesWhatSingleRunsWriteInEitherOrder) {
    const std::vector<Job> jobs = ExampleJobs();
    std::string forwards = "# every example, both languages\n\n", backwards;
    for (const Job& job : jobs) {
        std::vector<std::string> single = RunArgs(job, Dir("single/" + job.name).string());
        single.insert(single.begin(), "run");
        single.insert(single.end(), {"--batch", "--silent"});
        ASSERT_EQ(m_olmwiz.Run(single).exitCode, 0) << job.name;
        forwards += ManifestLine(RunArgs(job, "forwards/" + job.name));  // relative to the manifest
        backwards = ManifestLine(RunArgs(job, "backwards/" + job.name)) + backwards;
    }
    // One worker: every job runs in the session of the jobs before it.
    for (const auto& [manifest, text] : {std::pair{"forwards.txt", forwards}, {"backwards.txt", backwards}}) {
        const badinput::ChildResult run = m_olmwiz.Run({"regen", m_scratch.Write(manifest, text), "--jobs", "1"});
        ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("8 jobs in"), std::string::npos) << run.out;
    }
    for (const Job& job : jobs) {
        const auto expected = Files(Dir("single/" + job.name));
        EXPECT_EQ(expected.size(), 3u) << job.name;
        EXPECT_EQ(Files(Dir("forwards/" + job.name)), expected) << job.name;
        EXPECT_EQ(Files(Dir("backwards/" + job.name)), expected) << job.name;
    }
}

TEST_F(Regen, AFailedJobStopsNoOtherAndLeavesNothing) {
    const std::string bad = m_scratch.Write("bad.opt", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=2;\n");
    const std::string manifest = m_scratch.Write(
        "m.txt", "--wizard tkl_pll --family korvo5 --design a --outdir out/a --options " OLM_EXAMPLES_DIR
                 "/tkl_pll_clkgen.opt\n"
                 "--wizard tkl_pll --family korvo5 --design b --outdir out/b --options bad.opt --log b.log\n"
                 "--wizard dsp_mult --family korvo5 --design c --outdir out/c --hdl vhdl\n");
    const badinput::ChildResult run = m_olmwiz.Run({"regen", manifest, "--jobs", "2", "--json", Dir("r.json")});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_EQ(Files(Dir("out/a")).size(), 3u);
    EXPECT_EQ(Files(Dir("out/c")).size(), 3u);
    EXPECT_FALSE(fs::exists(Dir("out/b")));
    EXPECT_NE(run.out.find("     2  FAILED"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("CLKOUT0: 2.000 MHz cannot be reached"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("     3  ok"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("out/c/c.vhd"), std::string::npos) << run.out;
    EXPECT_NE(olmtest::ReadFile(Dir("b.log")).find("The run failed"), std::string::npos);
    const std::string report = olmtest::ReadFile(Dir("r.json"));
    EXPECT_NE(report.find("\"status\": \"failed\""), std::string::npos) << report;
}

TEST_F(Regen, AMalformedManifestIsNamedByFileAndLineAndNothingRuns) {
    const std::string good = "--wizard tkl_pll --family korvo5 --design ok --outdir out";
    const std::pair<std::string, std::string> cases[] = {
        {good + " --bogus", "unknown option '--bogus'"},
        {good + " --log", "option '--log' needs a value"},
        {"--family korvo5 --design d", "--wizard is required"},
        {"--wizard= --family korvo5 --design d", "--wizard is required"},
        {"--wizard tkl_pll --design d", "--family is required"},
        {"--wizard tkl_pll --family korvo5", "--design is required"},
        {"--wizard tkl_nope --family korvo5 --design d", "unknown wizard type 'tkl_nope'"},
        {"--wizard tkl_pll --family korvo5 --design d --hdl edif", "--hdl must be verilog or vhdl, not 'edif'"},
        {"--wizard tkl_pll --family korvo5 --design \"d", "unterminated double quote"},
        {"--wizard tkl_pll --family korvo5 --design d stray", "unexpected argument 'stray'"},
        {"run --wizard tkl_pll --family korvo5 --design d",
         "a job gives the arguments of olmwiz run without the word 'run'"},
        {good, "writes '" + Dir("out/ok.kfz").string() + "' as the job of line 3 does"},
    };
    for (const auto& [line, problem] : cases) {
        const std::string manifest = m_scratch.Write("m.txt", "# a comment\n\n" + good + "\n" + line + "\n");
        const badinput::ChildResult run = m_olmwiz.Run({"regen", manifest});
        EXPECT_EQ(run.exitCode, 2) << line;
        EXPECT_NE(run.err.find("olmwiz regen: " + manifest + ":4: " + problem), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(Dir("out"))) << line;
    }
    const badinput::ChildResult absent = m_olmwiz.Run({"regen", Dir("absent.txt")});
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_NE(absent.err.find(Dir("absent.txt").string() + ": cannot read the manifest"), std::string::npos);
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
    ASSERT_EQ(m_olmwiz.Run({"regen", manifest, "--ninja", ninjaFile}).exitCode, 0);
    EXPECT_FALSE(fs::exists(Dir("out dir:1")));  // written, not run

    const badinput::OlmwizChild ninja("/usr/bin/ninja", m_scratch.Path());
    const auto build = [&](std::vector<std::string> extra) {
        extra.insert(extra.begin(), {"-C", m_scratch.Path().string(), "-f", ninjaFile});
        return ninja.Run(extra);
    };
    badinput::ChildResult run = build({});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("[3/3]"), std::string::npos) << run.out;
    EXPECT_EQ(Files(Dir("out dir:1")).size(), 6u);
    EXPECT_TRUE(fs::exists(Dir("c.vhd")));
    EXPECT_NE(build({"-n"}).out.find("no work to do"), std::string::npos);

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fs::last_write_time(touched, fs::file_time_type::clock::now());
    run = build({});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("[1/1] olmwiz run b (tkl_pll, verilog), line 2"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("[2/"), std::string::npos) << run.out;
    EXPECT_NE(build({"-n"}).out.find("no work to do"), std::string::npos);
}

}  // namespace
