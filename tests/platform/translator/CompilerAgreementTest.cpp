// Proves the port-name rules against the real compilers: for every name of a
// corpus, a one-port entity (VHDL) and a one-port module (Verilog) are
// compiled, and our verdict must match the compiler's, apart from the few
// listed cases where the compiler is looser than the rule.

#include "TestSupport.h"

#include "pal/Process.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kVhdlWords[] = {
    "abs", "access", "after", "alias", "all", "and", "architecture", "array", "assert", "assume",
    "assume_guarantee", "attribute", "begin", "block", "body", "buffer", "bus", "case", "component",
    "configuration", "constant", "context", "cover", "default", "disconnect", "downto", "else", "elsif",
    "end", "entity", "exit", "fairness", "file", "for", "force", "function", "generate", "generic", "group",
    "guarded", "if", "impure", "in", "inertial", "inout", "is", "label", "library", "linkage", "literal",
    "loop", "map", "mod", "nand", "new", "next", "nor", "not", "null", "of", "on", "open", "or", "others",
    "out", "package", "parameter", "port", "postponed", "procedure", "process", "property", "protected",
    "pure", "range", "record", "register", "reject", "release", "rem", "report", "restrict",
    "restrict_guarantee", "return", "rol", "ror", "select", "sequence", "severity", "shared", "signal", "sla",
    "sll", "sra", "srl", "strong", "subtype", "then", "to", "transport", "type", "unaffected", "units",
    "until", "use", "variable", "vmode", "vprop", "vunit", "wait", "when", "while", "with", "xnor", "xor",
};

const char* const kVerilogWords[] = {
    "always", "and", "assign", "automatic", "begin", "buf", "bufif0", "bufif1", "case", "casex", "casez",
    "cell", "cmos", "config", "deassign", "default", "defparam", "design", "disable", "edge", "else", "end",
    "endcase", "endconfig", "endfunction", "endgenerate", "endmodule", "endprimitive", "endspecify",
    "endtable", "endtask", "event", "for", "force", "forever", "fork", "function", "generate", "genvar",
    "highz0", "highz1", "if", "ifnone", "incdir", "include", "initial", "inout", "input", "instance",
    "integer", "join", "large", "liblist", "library", "localparam", "macromodule", "medium", "module",
    "nand", "negedge", "nmos", "nor", "noshowcancelled", "not", "notif0", "notif1", "or", "output",
    "parameter", "pmos", "posedge", "primitive", "pull0", "pull1", "pulldown", "pullup",
    "pulsestyle_ondetect", "pulsestyle_onevent", "rcmos", "real", "realtime", "reg", "release", "repeat",
    "rnmos", "rpmos", "rtran", "rtranif0", "rtranif1", "scalared", "showcancelled", "signed", "small",
    "specify", "specparam", "strong0", "strong1", "supply0", "supply1", "table", "task", "time", "tran",
    "tranif0", "tranif1", "tri", "tri0", "tri1", "triand", "trior", "trireg", "unsigned", "use", "uwire",
    "vectored", "wait", "wand", "weak0", "weak1", "while", "wire", "wor", "xnor", "xor",
    // Words of neighbouring languages that are plain identifiers here.
    "wone", "logic", "bit", "byte", "int", "bool", "string", "interface", "assert", "property", "always_ff",
    "std", "ieee", "work", "standard", "std_logic", "PATHPULSE$", "PATHPULSE$a", "pathpulse$",
};

// VHDL-2008 reserves these words for its property language (PSL); the analyser
// accepts some of them as identifiers, the rule does not.
const std::set<std::string> kPslWords = {
    "assume", "assume_guarantee", "cover", "default", "fairness", "property", "restrict",
    "restrict_guarantee", "sequence", "strong", "vmode", "vprop", "vunit",
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Capitalised(std::string s) {
    if (!s.empty()) s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    return s;
}

std::vector<std::string> Corpus() {
    std::set<std::string> seen;
    std::vector<std::string> names;
    auto add = [&](const std::string& n) {
        if (seen.insert(n).second) names.push_back(n);
    };
    for (const char* w : kVhdlWords) {
        add(w);
        add(Upper(w));
        add(Capitalised(w));
    }
    for (const char* w : kVerilogWords) {
        add(w);
        add(Upper(w));
        add(Capitalised(w));
    }
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
        const int len = length(rng);
        for (int k = 0; k < len; ++k) n += alphabet[pick(rng)];
        add(n);
    }
    return names;
}

// Runs the jobs with at most `parallel` children at a time; the verdict of a
// job is whether its child ended normally with exit code 0.
std::vector<bool> RunAll(const std::vector<std::vector<Pal::String>>& jobs, std::size_t parallel) {
    std::vector<bool> ok(jobs.size(), false);
    struct Running {
        std::size_t index;
        std::unique_ptr<Pal::Process> process;
    };
    std::deque<Running> running;
    std::size_t next = 0;
    while (next < jobs.size() || !running.empty()) {
        while (next < jobs.size() && running.size() < parallel) {
            auto p = std::make_unique<Pal::Process>();
            if (p->Start(jobs[next])) running.push_back({next, std::move(p)});
            ++next;
        }
        if (running.empty()) continue;
        Running r = std::move(running.front());
        running.pop_front();
        ok[r.index] = r.process->Wait() == Pal::Process::kEnded && r.process->GetChildRetcode() == 0;
    }
    return ok;
}

// One compiler, asked about one source file per name. Compiling each file on
// its own is slow, so the files go to the compiler in a few large batches
// (run side by side), and a file counts as rejected when the batch output
// holds an error that names it. A batch cannot prove that a file compiles
// when its neighbours fail, so every file without an error of its own in a
// failed batch is compiled again on its own.
class Compiler {
public:
    Compiler(const fs::path& dir, std::string command) : m_dir(dir), m_command(std::move(command)) {}

    std::vector<bool> Verdicts(const std::vector<std::string>& files) {
        constexpr std::size_t kBatch = 250;
        std::vector<std::vector<Pal::String>> jobs;
        std::vector<std::string> logs;
        for (std::size_t first = 0; first < files.size(); first += kBatch) {
            const std::string log = "batch" + std::to_string(m_batches++) + ".log";
            logs.push_back(log);
            std::vector<Pal::String> job = {"sh", "-c",
                                            "cd \"$1\" && log=$2 && shift 2 && exec " + m_command + " \"$@\" >\"$log\" 2>&1",
                                            "sh", m_dir.string(), log};
            for (std::size_t i = first; i < std::min(files.size(), first + kBatch); ++i) job.push_back(files[i]);
            jobs.push_back(std::move(job));
        }
        const std::vector<bool> batchOk = RunAll(jobs, 2);

        std::vector<bool> ok(files.size(), true);
        std::vector<std::size_t> recheck;
        for (std::size_t b = 0; b < jobs.size(); ++b) {
            if (batchOk[b]) continue;
            std::set<std::string> failed;
            std::istringstream out(olmtest::ReadFile((m_dir / logs[b]).string()));
            std::string line;
            while (std::getline(out, line)) {
                const std::size_t colon = line.find(':');
                if (colon == std::string::npos || line.find("warning") != std::string::npos) continue;
                failed.insert(line.substr(0, colon));
            }
            for (std::size_t i = b * kBatch; i < std::min(files.size(), (b + 1) * kBatch); ++i) {
                if (failed.count(files[i])) {
                    ok[i] = false;
                } else {
                    recheck.push_back(i);
                }
            }
        }
        std::vector<std::vector<Pal::String>> single;
        for (std::size_t i : recheck) {
            single.push_back({"sh", "-c", "cd \"$1\" && exec " + m_command + " \"$2\" >/dev/null 2>&1", "sh",
                              m_dir.string(), files[i]});
        }
        const std::vector<bool> singleOk = RunAll(single, 4);
        for (std::size_t k = 0; k < recheck.size(); ++k) ok[recheck[k]] = singleOk[k];
        m_singleRuns += recheck.size();
        return ok;
    }

    std::size_t SingleRuns() const { return m_singleRuns; }

private:
    fs::path m_dir;
    std::string m_command;
    std::size_t m_batches = 0;
    std::size_t m_singleRuns = 0;
};

std::string Printable(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return "[" + out + "]";
}

struct Outcome {
    std::size_t checked = 0;
    std::size_t legal = 0;
    std::vector<std::string> looserCompiler;  // accepted by the compiler, illegal by the rule, as allowed
};

}  // namespace

TEST(CompilerAgreement, PortNamesAgreeWithGhdlAndIcarusVerilog) {
    if (!olmtest::OnPath("ghdl") || !olmtest::OnPath("iverilog") || !olmtest::OnPath("sh")) {
        GTEST_SKIP() << "ghdl and iverilog are needed for this test";
    }
    olmtest::ScratchDir dir;
    const std::vector<std::string> names = Corpus();
    ASSERT_GT(names.size(), 600u);

    // One file per name and language, named after the name's index.
    std::vector<std::string> vhdlFiles;
    std::vector<std::string> verilogFiles;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string unit = "olmchk" + std::to_string(i);
        dir.Write(unit + ".vhd", "entity " + unit + " is\n  port (" + names[i] + " : in bit);\nend entity " +
                                     unit + ";\n");
        dir.Write(unit + ".v", "module " + unit + "(" + names[i] + ");\n  input " + names[i] + ";\nendmodule\n");
        vhdlFiles.push_back(unit + ".vhd");
        verilogFiles.push_back(unit + ".v");
    }
    // Names the rule accepts and names it rejects go to separate batches, so
    // that a batch of accepted names is expected to compile as a whole.
    const auto ask = [&](Compiler& compiler, const std::vector<std::string>& files, auto rule) {
        std::vector<std::size_t> order[2];
        for (std::size_t i = 0; i < names.size(); ++i) {
            Pal::String name(names[i]);
            Pal::String reason;
            order[rule(name, reason) ? 0 : 1].push_back(i);
        }
        std::vector<bool> verdicts(names.size(), false);
        for (const auto& group : order) {
            std::vector<std::string> groupFiles;
            for (std::size_t i : group) groupFiles.push_back(files[i]);
            const std::vector<bool> ok = compiler.Verdicts(groupFiles);
            for (std::size_t k = 0; k < group.size(); ++k) verdicts[group[k]] = ok[k];
        }
        return verdicts;
    };
    // GHDL stops after a hundred errors unless told otherwise.
    Compiler ghdl(dir.Path(), "ghdl -s --std=08 -fmax-errors=100000");
    // Plain IEEE 1364-2005, without the compiler's own types, Verilog-AMS or
    // assertions; -t null only checks.
    Compiler iverilog(dir.Path(), "iverilog -g2005 -gno-xtypes -gno-verilog-ams -gno-assertions -t null -o /dev/null");
    const std::vector<bool> ghdlOk = ask(ghdl, vhdlFiles, Olm_VhdlTranslator::IsPortnameLegal);
    const std::vector<bool> iverilogOk = ask(iverilog, verilogFiles, Olm_VerilogTranslator::IsPortnameLegal);

    // Control: a plainly legal and a plainly illegal name must give the
    // expected answers, or the harness itself is broken.
    const auto indexOf = [&](const std::string& n) {
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), n) - names.begin());
    };
    ASSERT_TRUE(ghdlOk[indexOf("clk0")]);
    ASSERT_TRUE(iverilogOk[indexOf("clk0")]);
    ASSERT_FALSE(ghdlOk[indexOf("1a")]);
    ASSERT_FALSE(iverilogOk[indexOf("1a")]);

    Outcome vhdl;
    Outcome verilog;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& n = names[i];
        const bool hasComma = n.find(',') != std::string::npos;
        {
            Pal::String name(n);
            Pal::String reason;
            const bool ours = Olm_VhdlTranslator::IsPortnameLegal(name, reason);
            const bool theirs = ghdlOk[i];
            ++vhdl.checked;
            vhdl.legal += ours;
            // Allowed: the rule's reserved PSL words,
            // a comma (the compiler sees two ports), an extended identifier.
            const bool allowed = !ours && theirs &&
                                 (kPslWords.count(Lower(n)) || hasComma || (n.size() > 1 && n.front() == '\\'));
            if (allowed) {
                vhdl.looserCompiler.push_back(n);
            } else {
                EXPECT_EQ(ours, theirs) << "VHDL " << Printable(n) << ": ours " << ours << " (" << reason.str()
                                        << "), ghdl " << theirs;
            }
        }
        {
            Pal::String name(n);
            Pal::String reason;
            const bool ours = Olm_VerilogTranslator::IsPortnameLegal(name, reason);
            const bool theirs = iverilogOk[i];
            ++verilog.checked;
            verilog.legal += ours;
            // Allowed: a comma (two ports); a back quote, which calls a text
            // macro (an undefined one only draws a warning).
            const bool allowed = !ours && theirs && (hasComma || n.find('`') != std::string::npos);
            if (allowed) {
                verilog.looserCompiler.push_back(n);
            } else {
                EXPECT_EQ(ours, theirs) << "Verilog " << Printable(n) << ": ours " << ours << " ("
                                        << reason.str() << "), iverilog " << theirs;
            }
        }
    }
    auto list = [](const std::vector<std::string>& v) {
        std::string s;
        for (const std::string& n : v) s += " " + Printable(n);
        return s;
    };
    std::cout << "[ corpus   ] " << names.size() << " names\n"
              << "[ vhdl     ] " << vhdl.checked << " checked, " << vhdl.legal << " legal, compiler looser on "
              << vhdl.looserCompiler.size() << ":" << list(vhdl.looserCompiler) << "\n"
              << "[ verilog  ] " << verilog.checked << " checked, " << verilog.legal
              << " legal, compiler looser on " << verilog.looserCompiler.size() << ":"
              << list(verilog.looserCompiler) << "\n"
              << "[ singles  ] ghdl " << ghdl.SingleRuns() << ", iverilog " << iverilog.SingleRuns()
              << " files compiled on their own\n";
}
