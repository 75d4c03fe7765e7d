// olmwiz sim --kfz FILE [--simulator icarus|ghdl|verilator] [--hdl verilog|vhdl]
//            [--models DIR] [--time-limit SECONDS] [--keep DIR]
// Compiles a core's wrapper, the simulation models of its primitives and its
// self-checking testbench with a simulator found on PATH, runs it and
// reports whether every check held.

#include "CommandLine.h"
#include "Commands.h"
#include "TimedChild.h"

#include "datafiles/Olm_SimModels.h"
#include "engine/Olm_Engine.h"
#include "kit/Olm_HdlGenerator.h"
#include "pal/File.h"
#include "proof/Olm_TestbenchWriter.h"
#include "translator/Olm_HdlDesign.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace olmwiz {

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "Usage: olmwiz sim --kfz FILE [--simulator icarus|ghdl|verilator]\n"
    "                  [--hdl verilog|vhdl] [--models DIR] [--time-limit SECONDS]\n"
    "                  [--keep DIR]\n\n"
    "Simulates the self-checking testbench of a core: compiles the wrapper\n"
    "NAME.v or NAME.vhd, the simulation models of the primitives it uses and the\n"
    "testbench NAME_tb.v or NAME_tb.vhd, all taken from beside the design file\n"
    "NAME.kfz (olmwiz run --testbench writes them there), runs the testbench and\n"
    "prints its output. A wrapper or testbench that is not there is written from\n"
    "the design file for this run only, into the scratch folder.\n\n"
    "Options:\n"
    "  -k, --kfz FILE          the design file of the core\n"
    "  -s, --simulator NAME    icarus (Verilog, the default for Verilog), ghdl (VHDL,\n"
    "                          the default for VHDL) or verilator (Verilog)\n"
    "      --hdl LANG          verilog or vhdl (default: the language of the wrapper\n"
    "                          beside the design file, else that of the simulator,\n"
    "                          else verilog)\n"
    "      --models DIR        the folder of the simulation models (default: the first\n"
    "                          folder sim/LANG with the model, LANG verilog or vhdl,\n"
    "                          of the folders of $OLMW_DATA_PATH, those of the wizard\n"
    "                          plugins' data files, then the installed data folder,\n"
    "                          $OLMW_DATA_DIR when set)\n"
    "      --time-limit SECS   stop compiling or simulating after this long\n"
    "                          (default 300)\n"
    "      --keep DIR          compile and run in DIR and leave it there, instead of\n"
    "                          a scratch folder that is removed\n"
    "  -h, --help              show this help\n\n"
    "The simulators are found on PATH: iverilog and vvp (Debian package iverilog),\n"
    "ghdl (package ghdl) or verilator (package verilator).\n\n"
    "Exit codes: 0 the testbench printed its PASS line and no FAIL line, 1 it\n"
    "failed, timed out or could not be compiled or run, 2 wrong usage.\n";

struct Simulator {
    const char* name;
    const char* language;   // the HDL it simulates
    const char* program;    // what must be on PATH
    const char* package;    // the Debian package that installs it
};
constexpr Simulator kSimulators[] = {
    {"icarus", "verilog", "iverilog", "iverilog"},
    {"ghdl", "vhdl", "ghdl", "ghdl"},
    {"verilator", "verilog", "verilator", "verilator"},
};

const Simulator* FindSimulator(const std::string& name) {
    for (const Simulator& simulator : kSimulators)
        if (name == simulator.name) return &simulator;
    return nullptr;
}

// A folder to compile and run in: a scratch folder removed with everything
// in it, or a folder given to keep.
class WorkFolder {
public:
    explicit WorkFolder(const std::string& keep) {
        std::error_code ec;
        if (!keep.empty()) {
            fs::create_directories(keep, ec);
            if (!ec) m_path = fs::absolute(keep, ec).string();
            return;
        }
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = (fs::path(tmp && *tmp ? tmp : "/tmp") / "olmwiz-sim-XXXXXX").string();
        if (::mkdtemp(pattern.data())) {
            m_path = pattern;
            m_remove = true;
        }
    }
    ~WorkFolder() {
        std::error_code ec;
        if (m_remove) fs::remove_all(m_path, ec);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_remove = false;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

int RunSim(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz sim", kHelp);
    parser.Option("-k,--kfz");
    parser.Option("-s,--simulator");
    parser.Option("--hdl");
    parser.Option("--models");
    parser.Option("--time-limit");
    parser.Option("--keep");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    if (const int exitCode = parser.RejectPositional(); exitCode != CommandLine::kParsed) return exitCode;
    if (parser.Value("kfz").empty()) return parser.Usage("--kfz is required");
    const Simulator* simulator = nullptr;
    if (parser.Has("simulator")) {
        simulator = FindSimulator(parser.Value("simulator"));
        if (!simulator)
            return parser.Usage("unknown simulator '" + parser.Value("simulator") + "' (icarus, ghdl or verilator)");
    }
    std::string hdl = parser.Value("hdl");
    if (parser.Has("hdl") && hdl != "verilog" && hdl != "vhdl")
        return parser.Usage("--hdl must be verilog or vhdl, not '" + hdl + "'");
    double limit = 300.0;
    if (parser.Has("time-limit")) {
        char* end = nullptr;
        const std::string text = parser.Value("time-limit");
        limit = std::strtod(text.c_str(), &end);
        if (text.empty() || *end || !(limit > 0.0 && limit <= 86400.0))
            return parser.Usage("--time-limit takes a number of seconds, not '" + text + "'");
    }

    const fs::path kfz = parser.Value("kfz");
    const std::string design = Olm_HdlDesign::DesignNameFromPath(kfz.string());
    const fs::path folder = kfz.has_parent_path() ? kfz.parent_path() : fs::path(".");
    if (hdl.empty()) {
        if (simulator) hdl = simulator->language;
        else if (!IsFile(folder / (design + ".v")) && IsFile(folder / (design + ".vhd"))) hdl = "vhdl";
        else hdl = "verilog";
    }
    if (!simulator) simulator = FindSimulator(hdl == "vhdl" ? "ghdl" : "icarus");
    if (hdl != simulator->language)
        return parser.Usage(std::string(simulator->name) + " simulates " + simulator->language + ", not " + hdl);
    if (FindOnPath(simulator->program).empty() || (simulator == FindSimulator("icarus") && FindOnPath("vvp").empty()))
        return parser.Fail(std::string("the simulator ") + simulator->program +
                           " is not on PATH; install the Debian package " + simulator->package);

    Olm_Engine engine;
    Pal::String loadError;
    if (!engine.Load(kfz.string().c_str(), &loadError)) return parser.Fail(loadError.str());
    Olm_HdlGenerator::Language language = Olm_HdlGenerator::Language::Verilog;
    Olm_HdlGenerator::LanguageOf(hdl, language);
    const std::string ext = Olm_HdlGenerator::Extension(language);

    // The primitives the wrapper instantiates, each with its model.
    Olm_HdlDesign view;
    std::string error;
    if (!view.Build(engine.GetDesign(), design, {}, error)) return parser.Fail("'" + kfz.string() + "': " + error);
    const std::vector<std::string> models =
        parser.Has("models") ? std::vector<std::string>{parser.Value("models")} : Olm_SimModels::Folders(language);
    std::vector<std::string> modelFiles;
    std::set<std::string> seen;
    for (const Olm_HdlInstance& instance : view.instances) {
        if (!seen.insert(instance.primitive).second) continue;
        const std::string model = Olm_SimModels::Find(instance.primitive, language, models);
        if (model.empty()) return parser.Fail(Olm_SimModels::MissingText(instance.primitive, language, models));
        modelFiles.push_back(fs::absolute(model).string());
    }

    const WorkFolder work(parser.Value("keep"));
    if (work.Path().empty()) return parser.Fail("cannot make a folder to compile in");
    // The wrapper and the testbench beside the design file, else written
    // from it into the work folder.
    fs::path wrapper = folder / (design + ext);
    if (!IsFile(wrapper)) {
        Olm_HdlGenerator generator(engine.GetFamily().str());
        std::string text;
        if (!generator.Write(engine.GetDesign(), design, language, text, nullptr, error))
            return parser.Fail("cannot write the wrapper of '" + kfz.string() + "': " + error);
        wrapper = fs::path(work.Path()) / (design + ext);
        if (!Pal::File::writeText(wrapper.string().c_str(), text)) return parser.Fail("cannot write " + wrapper.string());
        std::printf("olmwiz sim: %s is not there; the wrapper is written from the design file for this run\n",
                    (folder / (design + ext)).string().c_str());
    }
    fs::path testbench = folder / Olm_TestbenchWriter::FileName(design, language);
    if (!IsFile(testbench)) {
        std::string text;
        if (!Olm_TestbenchWriter::Write(engine.GetDesign(), design, language, text, error))
            return parser.Fail("no testbench for '" + kfz.string() + "': " + error);
        testbench = fs::path(work.Path()) / Olm_TestbenchWriter::FileName(design, language);
        if (!Pal::File::writeText(testbench.string().c_str(), text))
            return parser.Fail("cannot write " + testbench.string());
        std::printf("olmwiz sim: %s is not there; the testbench is written from the design file for this run\n",
                    (folder / Olm_TestbenchWriter::FileName(design, language)).string().c_str());
    }
    std::fflush(stdout);

    const std::string top = design + "_tb";
    const std::string wrapperPath = fs::absolute(wrapper).string(), tbPath = fs::absolute(testbench).string();
    std::vector<std::vector<std::string>> steps;
    const std::string simName = simulator->name;
    if (simName == "icarus") {
        std::vector<std::string> compile = {"iverilog", "-g2012", "-o", "run.vvp", "-s", top};
        compile.insert(compile.end(), modelFiles.begin(), modelFiles.end());
        compile.insert(compile.end(), {wrapperPath, tbPath});
        steps = {compile, {"vvp", "-n", "run.vvp"}};
    } else if (simName == "ghdl") {
        std::vector<std::string> analyse = {"ghdl", "-a", "--std=08", "--workdir=."};
        analyse.insert(analyse.end(), modelFiles.begin(), modelFiles.end());
        analyse.insert(analyse.end(), {wrapperPath, tbPath});
        steps = {analyse, {"ghdl", "--elab-run", "--std=08", "--workdir=.", top}};
    } else {
        std::vector<std::string> build = {"verilator", "--binary", "--timing", "-Wno-fatal", "-Wno-lint", "-Wno-style",
                                          "--timescale", "1ns/1ps", "--top-module", top, "-Mdir", "obj"};
        build.insert(build.end(), modelFiles.begin(), modelFiles.end());
        build.insert(build.end(), {wrapperPath, tbPath});
        steps = {build, {"obj/V" + top}};
    }

    const std::string log = (fs::path(work.Path()) / "sim.log").string();
    const auto started = std::chrono::steady_clock::now();
    TimedChild child;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::error_code ec;
        fs::remove(log, ec);
        const TimedChild::Result result = child.Run(steps[i], work.Path(), log, limit);
        const std::string output = ReadAll(log);
        std::fputs(output.c_str(), stdout);
        if (!output.empty() && output.back() != '\n') std::fputc('\n', stdout);
        std::fflush(stdout);
        const bool last = i + 1 == steps.size();
        const std::string what = last ? "the simulation" : "compiling";
        if (result == TimedChild::Result::kNotStarted) return parser.Fail(child.Error());
        if (result == TimedChild::Result::kTimedOut) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%g", limit);
            return parser.Fail(design + ": " + what + " took longer than " + seconds + " s and was stopped");
        }
        if (!last) {
            if (result == TimedChild::Result::kCrashed) return parser.Fail(design + ": compiling crashed");
            if (child.ExitCode() != 0)
                return parser.Fail(design + ": compiling with " + simulator->name + " failed (exit code " +
                                   std::to_string(child.ExitCode()) + ")");
            continue;
        }
        bool pass = false, fail = false;
        std::istringstream lines(output);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("PASS " + design + ":", 0) == 0) pass = true;
            if (line.rfind("FAIL " + design + ":", 0) == 0) fail = true;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (pass && !fail && child.ExitCode() == 0) {
            std::printf("olmwiz sim: %s passed (%s, %.1f s)\n", design.c_str(), simulator->name, seconds);
            return kExitOk;
        }
        // A failed testbench may end the simulator by an abort (Verilator's
        // $fatal): its FAIL lines say what failed.
        if (fail) return parser.Fail(design + ": the testbench failed");
        if (result == TimedChild::Result::kCrashed) return parser.Fail(design + ": the simulation crashed");
        return parser.Fail(design + ": the testbench printed no PASS line (exit code " +
                           std::to_string(child.ExitCode()) + ")");
    }
    return kExitErrors;
}

}  // namespace olmwiz
