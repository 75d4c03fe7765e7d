#include "WizardRunner.h"

#include "DesignUtil.h"

#include "pal/Stream.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace OlmRef {

namespace {

namespace fs = std::filesystem;

// Makes a folder the working directory while it lives.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& folder) {
        std::error_code ec;
        m_previous = fs::current_path(ec);
        m_changed = !ec && ::chdir(folder.c_str()) == 0;
    }
    ~WorkingDirectory() {
        if (m_changed && ::chdir(m_previous.c_str()) != 0) {
            // Nothing sensible is left to do; the paths the run used were absolute.
        }
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    bool Changed() const { return m_changed; }

private:
    fs::path m_previous;
    bool m_changed = false;
};

struct StreamCloser {
    void operator()(Pal::Stream* stream) const { Pal::File::close(stream); }
};

std::string Absolute(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    const fs::path result = fs::absolute(path, ec);
    return ec ? path : result.lexically_normal().string();
}

std::string BuildReport(RefWizMain& main) {
    std::string report;
    const std::string features = main.FeatureLine();
    if (!features.empty()) report += "Configured: " + features + "\n";
    report += "Files:\n";
    report += "  " + main.GetDesignFile() + "\n";
    if (!main.GetHDLFilename().IsEmpty()) report += "  " + main.GetHdlPath() + "\n";
    report += "  " + main.GetPkxPath() + "\n";
    const std::vector<std::string> changed = ChangedAttributes(main.GetWizDataPtr());
    if (changed.empty()) {
        report += "All settings are the defaults of the installed data.\n";
    } else {
        report += "Settings that differ from the defaults:\n";
        for (const std::string& line : changed) report += "  " + line + "\n";
    }
    return report;
}

// The design name becomes the module or entity name of the HDL file and the
// stem of every file written; it must be a plain identifier of the language,
// so that no file name or argument of the HDL generator can carry anything
// else. Empty when legal, else why not.
std::string DesignNameProblem(const std::string& design, bool verilog) {
    Pal::String name = design;
    Pal::String reason;
    const bool legal = verilog ? Olm_VerilogTranslator::IsPortnameLegal(name, reason)
                               : Olm_VhdlTranslator::IsPortnameLegal(name, reason);
    if (legal) return {};
    return "the design name '" + design + "' is not a legal " + (verilog ? "Verilog" : "VHDL") + " name: it " +
           reason.str();
}

}  // namespace

RunOutcome RunWizard(const RunOptions& options, WizardFactory factory) {
    RunOutcome outcome;
    const bool verilog = Pal::String(options.hdl).Compare(OlmConst::kLangVerilog, Pal::String::kNoCase) == 0;
    if (std::string problem = DesignNameProblem(options.design, verilog); !problem.empty()) {
        outcome.error = std::move(problem);
        return outcome;
    }
    const std::string kfzIn = Absolute(options.kfz);
    const std::string optionFile = Absolute(options.options);
    const std::string logFile = Absolute(options.log);

    std::error_code ec;
    fs::path outDir = !options.outDir.empty() ? fs::path(Absolute(options.outDir))
                      : !kfzIn.empty()        ? fs::path(kfzIn).parent_path()
                                              : fs::current_path(ec);
    std::unique_ptr<RefWizMain> main = factory ? factory(options.wizType, options.batch) : nullptr;
    if (!main) {
        outcome.error = "'" + options.wizType + "' is not a wizard type of this program";
        return outcome;
    }

    Olm_Engine engine;
    const bool existing = !kfzIn.empty();
    if (existing) {
        Pal::String error;
        if (!engine.Load(kfzIn.c_str(), &error)) {
            outcome.error = "cannot load the design file '" + kfzIn + "': " + error.str();
            return outcome;
        }
    }
    engine.SetFamily(options.family);

    std::unique_ptr<Pal::Stream, StreamCloser> log;
    if (!logFile.empty()) {
        log.reset(Pal::File::open(logFile.c_str(), Pal::File::kWriteTruncate, true));
        if (!log) {
            outcome.error = "cannot open the log file '" + logFile + "' for writing";
            return outcome;
        }
    }

    Olm_KfzWizData bridge(&engine, options.wizType);
    bridge.SetBatchMode(options.batch);
    bridge.SetSilent(options.silent);
    bridge.SetLogFile(log.get());
    if (!bridge.SetupWizData()) {
        outcome.error = "cannot load the installed data of the wizard type '" + options.wizType +
                        "' for the family '" + options.family + "'";
        return outcome;
    }
    const std::unique_ptr<Olm_WizData> data(bridge.GetWizDataPtr());
    if (existing) bridge.SyncWizDataWithKFZ();

    if (!optionFile.empty()) {
        // The reader reports in batch mode to standard output and the log; its
        // messages also go into the error, so that the caller's error stream
        // says which lines of which file were refused.
        Pal::MemoryStream messages;
        bridge.SetLogFile(&messages);
        Pal::String name(optionFile);
        const bool applied = bridge.ReadOptFile(name);
        bridge.SetLogFile(log.get());
        std::string reported = messages.Text();
        if (log) log->Write(reported.data(), reported.size());
        if (!applied) {
            while (!reported.empty() && reported.back() == '\n') reported.pop_back();
            outcome.error = "the option file '" + optionFile + "' cannot be applied" +
                            (reported.empty() ? std::string() : ":\n" + reported);
            return outcome;
        }
    }

    // The output folder is made only once every input has been read, so that
    // a refused input leaves no new folder behind.
    fs::create_directories(outDir, ec);
    if (ec || !fs::is_directory(outDir)) {
        outcome.error = "cannot create the output folder '" + outDir.string() + "'";
        return outcome;
    }
    const WorkingDirectory cwd(outDir);
    if (!cwd.Changed()) {
        outcome.error = "cannot enter the output folder '" + outDir.string() + "'";
        return outcome;
    }

    const Pal::String hdl = options.hdl;
    main->SetFamily(options.family);
    main->SetPartName(engine.GetPart());
    main->SetDevice(engine.GetDevice());
    main->SetSpeed(engine.GetSpeed());
    main->SetDesignName(options.design);
    main->SetHDLType(hdl);
    main->SetHDLFilename(options.design + (verilog ? OlmConst::kExtVerilog : OlmConst::kExtVhdl));
    main->SetSilentMode(options.silent);
    main->SetExistingKFZ(existing);
    main->SetWizDataPtr(data.get());
    main->SetLogFilePtr(log.get());
    main->SetBridge(&bridge);
    main->SetDesignFile((outDir / (options.design + OlmConst::kExtKfz)).string());
    main->SetHdlTool(options.hdlTool, options.hdlToolArgs);

    outcome.result = main->Run();
    if (outcome.result == 0) outcome.report = BuildReport(*main);
    main.reset();  // pages and windows go before the container they point to
    return outcome;
}

}  // namespace OlmRef
