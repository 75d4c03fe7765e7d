// Proves the port-name rules against the real compilers: for every name of a
// corpus, a one-port entity (VHDL) and a one-port module (Verilog) are
// compiled, and our verdict must match the compiler's, apart from the few
// listed cases where the compiler is looser than the rule.

#include "GoldenSections.h"
#include "TestSupport.h"

#include "pal/StrUtil.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// VHDL-2008 reserves these words for its property language (PSL); the analyser
// accepts some of them as identifiers, the rule does not.
const std::string kPslWords =
    " assume assume_guarantee cover default fairness property restrict restrict_guarantee sequence strong vmode vprop vunit ";

std::vector<std::string> Corpus() {
    std::set<std::string> seen;
    std::vector<std::string> names;
    auto add = [&](const std::string& n) {
        if (seen.insert(n).second) names.push_back(n);
    };
    auto addWord = [&](std::string w) {
        add(w);
        add(Pal::StrUtil::UpperAscii(w));
        w[0] = Pal::StrUtil::FoldCase(w[0]);
        add(w);
    };
    const olmtest::GoldenSections keywords(OLM_TRANSLATOR_GOLDEN_DIR "/keywords.txt");
    std::istringstream words(keywords.Text("VHDL") + keywords.Text("Verilog") + keywords.Text("neighbours"));
    for (std::string w; words >> w;) addWord(w);
    // Every printable character that is no letter or digit, inside a name, at
    // its start and at its end. Blanks stay inside: at either end the compiler
    // takes them as white space around the name, not as a part of it.
    for (int c = 0x20; c < 0x7F; ++c) {
        if (std::isalnum(c)) continue;
        const std::string ch(1, static_cast<char>(c));
        add("a" + ch + "b");
        if (c != ' ') {
            add(ch + "a");
            add("a" + ch);
        }
    }
    for (const char* n : {"a\tb", "a\xe9", "\xe9t", "\xc9TAT", "a\xd7", "a\xf7z", "a\xdf", "a\xaa", "\xc3\xa9t",
                          "a\x7f", "a\x01z", "\\ab\\", "_", "__", "a__b", "a___b", "a_b_c", "a_", "_a", "a1",
                          "1a", "9", "A", "z", "Z_9", "x$y$", "$", "$$", "a$$", "_$", "olm", "clk0", "CLK0"}) {
        add(n);
    }
    add(std::string(200, 'q'));
    add("x" + std::string(150, '_') + "y");
    // Random strings from the characters of identifiers, with a fixed seed so
    // that every run checks the same names.
    std::mt19937 rng(20240611u);
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789______$$";
    std::uniform_int_distribution<int> length(1, 12);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 150; ++i) {
        std::string n;
        for (int k = length(rng); k > 0; --k) n += alphabet[pick(rng)];
        add(n);
    }
    return names;
}

// The files among `files` that the compiler command, run in dir, rejects.
// All files go to one run; when it fails, a file counts as rejected when an
// error line of the output names it. A failed run cannot prove that the
// files it did not name compile, so each of those is compiled on its own.
std::set<std::string> Rejected(const fs::path& dir, const std::string& command, const std::vector<std::string>& files,
                               std::size_t& singles) {
    std::vector<std::string> argv = {"sh", "-c", command + " \"$@\"", "sh"};
    argv.insert(argv.end(), files.begin(), files.end());
    const olmtest::CommandResult all = olmtest::RunIn(dir, argv);
    std::set<std::string> rejected;
    if (all.code == 0) return rejected;
    std::istringstream out(all.output);
    for (std::string line; std::getline(out, line);)
        if (line.find("warning") == std::string::npos) rejected.insert(line.substr(0, line.find(':')));
    argv = {"sh", "-c", "for f; do " + command + " \"$f\" >/dev/null 2>&1 || echo \"$f\"; done", "sh"};
    for (const std::string& f : files)
        if (!rejected.count(f)) argv.push_back(f);
    singles += argv.size() - 4;
    std::istringstream alone(olmtest::RunIn(dir, argv).output);
    for (std::string line; std::getline(alone, line);) rejected.insert(line);
    return rejected;
}

// A language: its rule, how a one-port unit is written, the compiler, and
// the names on which the compiler may be looser than the rule.
struct Language {
    const char* name;
    bool (*rule)(Pal::String&, Pal::String&);
    const char* extension;
    std::string (*unit)(const std::string& unit, const std::string& port);
    const char* compiler;
    bool (*looser)(const std::string& name);
};

bool HasComma(const std::string& n) { return n.find(',') != std::string::npos; }  // the compiler sees two ports

const Language kLanguages[] = {
    {"VHDL", Olm_VhdlTranslator::IsPortnameLegal, ".vhd",
     [](const std::string& unit, const std::string& port) {
         return "entity " + unit + " is\n  port (" + port + " : in bit);\nend entity " + unit + ";\n";
     },
     // GHDL stops after a hundred errors unless told otherwise.
     "ghdl -s --std=08 -fmax-errors=100000",
     // The rule's reserved PSL words, an extended identifier.
     [](const std::string& n) {
         const bool psl = kPslWords.find(" " + Pal::StrUtil::LowerAscii(n) + " ") != std::string::npos;
         return psl || HasComma(n) || (n.size() > 1 && n.front() == '\\');
     }},
    {"Verilog", Olm_VerilogTranslator::IsPortnameLegal, ".v",
     [](const std::string& unit, const std::string& port) {
         return "module " + unit + "(" + port + ");\n  input " + port + ";\nendmodule\n";
     },
     // Plain IEEE 1364-2005, without the compiler's own types, Verilog-AMS or
     // assertions; -t null only checks.
     "iverilog -g2005 -gno-xtypes -gno-verilog-ams -gno-assertions -t null -o /dev/null",
     // A back quote calls a text macro; an undefined one only draws a warning.
     [](const std::string& n) { return HasComma(n) || n.find('`') != std::string::npos; }},
};

}  // namespace

TEST(CompilerAgreement, PortNamesAgreeWithGhdlAndIcarusVerilog) {
    if (!olmtest::OnPath("ghdl") || !olmtest::OnPath("iverilog") || !olmtest::OnPath("sh")) {
        GTEST_SKIP() << "ghdl and iverilog are needed for this test";
    }
    olmtest::ScratchDir dir;
    const std::vector<std::string> names = Corpus();
    ASSERT_GT(names.size(), 600u);
    for (const Language& lang : kLanguages) {
        // Names the rule accepts and names it refuses go to separate runs, so
        // that a run of accepted names is expected to compile as a whole.
        std::vector<std::string> files, reasons, byVerdict[2];
        std::vector<bool> ours;
        for (std::size_t i = 0; i < names.size(); ++i) {
            Pal::String name(names[i]), reason;
            ours.push_back(lang.rule(name, reason));
            reasons.push_back(reason.str());
            files.push_back("olmchk" + std::to_string(i) + lang.extension);
            dir.Write(files.back(), lang.unit("olmchk" + std::to_string(i), names[i]));
            byVerdict[ours.back()].push_back(files.back());
        }
        std::size_t singles = 0;
        std::set<std::string> rejected = Rejected(dir.Path(), lang.compiler, byVerdict[true], singles);
        rejected.merge(Rejected(dir.Path(), lang.compiler, byVerdict[false], singles));
        // Control: a plainly legal and a plainly illegal name must give the
        // expected answers, or the harness itself is broken.
        const auto fileOf = [&](const std::string& n) { return files[std::find(names.begin(), names.end(), n) - names.begin()]; };
        ASSERT_FALSE(rejected.count(fileOf("clk0"))) << lang.name;
        ASSERT_TRUE(rejected.count(fileOf("1a"))) << lang.name;
        std::string looser;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const bool theirs = !rejected.count(files[i]);
            if (!ours[i] && theirs && lang.looser(names[i])) {
                looser += " " + testing::PrintToString(names[i]);
            } else {
                EXPECT_EQ(ours[i], theirs) << lang.name << " " << testing::PrintToString(names[i]) << ": ours " << ours[i]
                                           << " (" << reasons[i] << "), " << lang.compiler << " " << theirs;
            }
        }
        std::cout << "[ " << lang.name << " ] " << names.size() << " names, the compiler looser on:" << looser << "; "
                  << singles << " files compiled on their own\n";
    }
}
