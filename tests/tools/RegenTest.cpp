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
        const ChildResult run = m_olmwiz.Run({"regen", manifest});
        EXPECT_EQ(run.exitCode, 2) << line;
        EXPECT_TRUE(Has(run.err, "olmwiz regen: " + manifest + ":4: " + problem)) << run.err;
        EXPECT_FALSE(fs::exists(Dir("out"))) << line;
    }
}

TEST_F(Regen, AnUnreadableManifestIsNamed) {
    const ChildResult absent = m_olmwiz.Run({"regen", Dir("absent.txt")});
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_TRUE(Has(absent.err, Dir("absent.txt").string() + ": cannot read the manifest")) << absent.err;
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
    ChildResult run = build({});
    ASSERT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, "[3/3]")) << run.out;
    EXPECT_EQ(Files(Dir("out dir:1")).size(), 6u);
    EXPECT_TRUE(fs::exists(Dir("c.vhd")));
    EXPECT_TRUE(Has(build({"-n"}).out, "no work to do"));

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fs::last_write_time(touched, fs::file_time_type::clock::now());
    run = build({});
    EXPECT_TRUE(Accepted(run));
    EXPECT_TRUE(Has(run.out, "[1/1] olmwiz run b (tkl_pll, verilog), line 2")) << run.out;
    EXPECT_FALSE(Has(run.out, "[2/")) << run.out;
    EXPECT_TRUE(Has(build({"-n"}).out, "no work to do"));
}

}  // namespace
