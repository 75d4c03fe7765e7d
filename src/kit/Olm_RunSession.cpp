#include "kit/Olm_RunSession.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "datafiles/Olm_MessageReporter.h"
#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "kit/Olm_HdlGenerator.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_OptFileCheck.h"
#include "wizard/Olm_SummaryRules.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/MsgMan.h"
#include "pal/OutputFile.h"
#include "pal/Stream.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"
#include "wizard/Olm_SummaryGui.h"

#include "gui_nx/Nx_MessageBox.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The log of a run: what is written to it goes on to the log file, when
// there is one. The run's messages are told apart from others by this stream
// (RunMessages), so a run has one even without a log file.
class RunLog : public Pal::Stream {
public:
    explicit RunLog(Pal::Stream* file) : m_file(file) {}

    bool Write(const char* data, std::size_t size) override { return !m_file || m_file->Write(data, size); }
    bool ReadLine(std::string&) override { return false; }
    bool ReadPiece(std::string&, std::size_t) override { return false; }
    void Flush() override {
        if (m_file) m_file->Flush();
    }

private:
    Pal::Stream* m_file;
};

// The messages of a run, from the run's reporter: each message in its batch
// form that goes to the run's log, as the line it writes there (a window
// message is a box the designer has seen), and the reports of the message
// manager (the data-file reader and the loader), in the order they came.
class RunMessages : public Olm_MessageReporter::Collector {
public:
    explicit RunMessages(const Pal::Stream* log) : m_log(log) {}
    void Deliver(const Olm_MessageReporter::Message& message) override {
        if (message.batch && message.log == m_log) Add(message.severity, Olm_MessageReporter::Line(message));
    }
    std::size_t Count() const { return Entries().size(); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Entry& entry : Entries()) texts.push_back(entry.text);
        return texts;
    }
    // The messages from first on, one a line. A message of the option-file
    // reader carries "ERROR in reading" already; the "ERROR: " of its batch
    // form in front of it is dropped here, so that the failure does not say
    // it twice.
    std::string JoinedFrom(std::size_t first) const {
        std::string text;
        for (std::size_t i = first; i < Entries().size(); ++i) {
            std::string_view line = Entries()[i].text;
            if (line.starts_with("ERROR: ERROR")) line.remove_prefix(7);
            text += (text.empty() ? "" : "\n") + std::string(line);
        }
        return text;
    }

private:
    const Pal::Stream* m_log;
};

// While it lives, the reports of the message manager (the data-file reader
// and the loader) are kept as messages of the run and passed on as before.
class CapturedReports {
public:
    explicit CapturedReports(RunMessages& messages) {
        m_previous = Pal::MsgMan::setHandler([this, &messages](const Pal::MsgMan::Report& report) {
            std::string text = report.text.str();
            while (!text.empty() && text.back() == '\n') text.pop_back();
            messages.Add(Olm_MessageReporter::Severity::Error, std::move(text));
            if (m_previous) {
                m_previous(report);
            } else {
                std::fputs(report.text.c_str(), stderr);
                std::fflush(stderr);
            }
        });
    }
    ~CapturedReports() { Pal::MsgMan::setHandler(m_previous); }
    CapturedReports(const CapturedReports&) = delete;
    CapturedReports& operator=(const CapturedReports&) = delete;

private:
    Pal::MsgMan::Handler m_previous;
};

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

// The output folder: made with its missing parents when needed, and those
// removed again unless the run keeps them.
class OutputFolder {
public:
    explicit OutputFolder(fs::path path) : m_path(std::move(path)) {}
    ~OutputFolder() {
        if (m_keep) return;
        std::error_code ec;
        for (const fs::path& made : m_made) fs::remove(made, ec);  // deepest first; only when empty
    }
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    bool Make() {
        std::vector<fs::path> missing;
        std::error_code ec;
        for (fs::path p = m_path; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
            missing.push_back(p);
            if (p == p.parent_path()) break;
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (!fs::create_directory(*it, ec) && !fs::is_directory(*it, ec)) return false;
            m_made.insert(m_made.begin(), *it);
        }
        return fs::is_directory(m_path, ec);
    }
    void Keep() { m_keep = true; }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    std::vector<fs::path> m_made;  // deepest first
    bool m_keep = false;
};

std::string Absolute(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    const fs::path result = fs::absolute(path, ec);
    return ec ? path : result.lexically_normal().string();
}

// The design name becomes the module or entity name of the HDL file and the
// stem of every file written; it must be a plain identifier of the language,
// so that no file name or argument can carry anything else. Empty when
// legal, else why not.
std::string DesignNameProblem(const std::string& design, bool verilog) {
    if (design.size() > Olm_RunSession::kMaxDesignNameBytes) {
        return "the design name '" + design + "' is too long: " + std::to_string(design.size()) +
               " characters; the limit is " + std::to_string(Olm_RunSession::kMaxDesignNameBytes);
    }
    Pal::String name = design;
    Pal::String reason;
    const bool legal = verilog ? Olm_VerilogTranslator::IsPortnameLegal(name, reason)
                               : Olm_VhdlTranslator::IsPortnameLegal(name, reason);
    if (legal) return {};
    return "the design name '" + design + "' is not a legal " + (verilog ? "Verilog" : "VHDL") + " name: it " +
           reason.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Why a finished run wrote no HDL file (without its name the finishing step
// writes no constraint template or testbench either): the sentences of
// Olm_RunOutcome::notWritten, none when the HDL file is among the files.
std::vector<std::string> NotWritten(const Olm_KitMain& main, const std::vector<std::string>& files, bool testbench) {
    const std::string hdlName = main.GetHDLFilename().str();
    for (const std::string& file : files) {
        if (!hdlName.empty() && fs::path(file).filename() == hdlName) return {};
    }
    if (!hdlName.empty()) return {"No HDL wrapper was written: the wizard did not write its HDL file '" + hdlName + "'."};
    return {std::string(testbench ? "No HDL wrapper, constraint template or testbench was written"
                                   : "No HDL wrapper and no constraint template were written") +
            ": the wizard set no HDL file name."};
}

}  // namespace

Olm_RunSession::Olm_RunSession() = default;

Olm_RunSession::~Olm_RunSession() = default;

Olm_WizData* Olm_RunSession::InstalledData(const std::string& wizType, const std::string& family,
                                           std::string& error) {
    const std::string key = Olm_DataTypes::FileOf(wizType, family);
    if (const auto it = m_installed.find(key); it != m_installed.end() && !key.empty()) return it->second.get();
    Olm_Data loader;
    if (!loader.ReadDataFile(wizType, family) || !loader.GetWizData()) {
        error = "cannot load the installed data of the wizard type '" + wizType + "' for the family '" + family + "'";
        // Where the data was looked for, when it was not found at all.
        Pal::String path;
        if (key.empty()) error += ": " + Olm_DataTypes::UnknownTypeText(wizType);
        else if (!loader.GetDataFileName(key.c_str(), path)) error += ": " + Olm_DataTypes::MissingFileText(wizType, key);
        return nullptr;
    }
    auto data = std::make_unique<Olm_WizData>(*loader.GetWizData());
    Olm_WizData* kept = data.get();
    m_installed[key] = std::move(data);
    return kept;
}

Olm_HdlGenerator& Olm_RunSession::Generator(const std::string& family) {
    std::unique_ptr<Olm_HdlGenerator>& generator = m_generators[family];
    if (!generator) generator = std::make_unique<Olm_HdlGenerator>(family);
    return *generator;
}

Olm_RunOutcome Olm_RunSession::Run(const Olm_RunRequest& request, const Factory& factory) {
    Olm_RunOutcome outcome;
    std::unique_ptr<Pal::OutputFile> logStream;
    std::unique_ptr<RunLog> log;
    std::unique_ptr<RunMessages> messages;
    // The end of the run goes into the log too: its report, or why it failed.
    // A log that cannot be written whole fails the run.
    const auto finish = [&outcome, &log, &logStream, &messages]() {
        if (messages) outcome.messages = messages->Texts();
        if (log) {
            const std::string text =
                outcome.Succeeded() ? outcome.Report() : "The run failed: " + outcome.failure + "\n";
            log->Write(text.data(), text.size());
        }
        if (logStream && !logStream->Commit()) {
            const std::string why = "cannot write the log file '" + logStream->Path() + "': " + logStream->Reason();
            outcome.failure = outcome.Succeeded() ? why : outcome.failure + "\n" + why;
            outcome.result = -1;
        }
        return outcome;
    };
    const auto fail = [&outcome, &finish](std::string why) {
        outcome.result = -1;
        outcome.failure = std::move(why);
        return finish();
    };
    Olm_HdlGenerator::Language language = Olm_HdlGenerator::Language::Verilog;
    if (!Olm_HdlGenerator::LanguageOf(request.hdl, language))
        return fail("the HDL language '" + request.hdl + "' is neither verilog nor vhdl");
    const bool verilog = language == Olm_HdlGenerator::Language::Verilog;
    if (std::string problem = DesignNameProblem(request.design, verilog); !problem.empty()) return fail(problem);
    const std::string kfzIn = Absolute(request.designFile);
    const std::string optionFile = Absolute(request.optionFile);
    const std::string logFile = Absolute(request.logFile);
    if (request.walk && request.batch) return fail("a walk through the window does not go with batch mode");
    const bool walk = request.walk;
    // A window run has its application before anything a user gave is read:
    // what is said about the inputs may need a window of its own.
    if (!request.batch && !QApplication::instance()) {
        // Nobody watches a walk: it needs no display.
        if (walk) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char programName[] = "olmwiz";
        static char* argv[] = {programName, nullptr};
        m_application = std::make_unique<QApplication>(argc, argv);
    }
    // Pictures of the pages are taken, and a walk goes, with nobody at the
    // window: what is said goes to the console instead of waiting on a box.
    struct UnattendedBoxes {
        bool was = Nx_MessageBox::isUnattended();
        explicit UnattendedBoxes(bool on) {
            if (on) Nx_MessageBox::setUnattended(true);
        }
        ~UnattendedBoxes() { Nx_MessageBox::setUnattended(was); }
        UnattendedBoxes(const UnattendedBoxes&) = delete;
        UnattendedBoxes& operator=(const UnattendedBoxes&) = delete;
    };
    const UnattendedBoxes unattended(walk || (!request.batch && !request.pageSnapshotDir.empty()));
    std::error_code ec;
    OutputFolder output(!request.outputDir.empty() ? fs::path(Absolute(request.outputDir))
                        : !kfzIn.empty()           ? fs::path(kfzIn).parent_path()
                                                   : fs::current_path(ec));

    if (!logFile.empty() && !request.checkOnly) {
        logStream = std::make_unique<Pal::OutputFile>(logFile);
        if (!logStream->Open()) {
            const std::string why = "cannot write the log file '" + logFile + "': " + logStream->Reason();
            logStream.reset();
            return fail(why);
        }
    }
    log = std::make_unique<RunLog>(logStream.get());
    messages = std::make_unique<RunMessages>(log.get());
    const CapturedReports reports(*messages);
    // Every message of the run goes through the run's own reporter, which
    // also keeps the run's messages. A walk answers no box: its messages take
    // their batch form, into the log and the outcome (not onto the console,
    // which has the files written).
    Olm_MessageReporter reporter;
    Olm_MessageReporter::LogSink walkLog;
    if (walk) reporter.AddSink(walkLog);
    else reporter.AddStandardSinks();
    reporter.AddSink(*messages);
    const Olm_MessageReporter::Scope reporting(reporter);

    std::unique_ptr<Olm_KitMain> main = factory ? factory(request.batch) : nullptr;
    if (!main) return fail("'" + request.wizType + "' is not a wizard type of this program");

    Olm_Engine engine;
    engine.SetFlushOnSave(m_flushEachFile);
    const bool existing = !kfzIn.empty();
    if (existing) {
        Pal::String error;
        if (!engine.Load(kfzIn.c_str(), &error)) return fail(error.str());
    }
    if (!request.family.empty()) engine.SetFamily(request.family);
    const std::string family = engine.GetFamily().str();
    if (family.empty()) return fail("no device family is given");

    std::string error;
    const std::size_t loaderMessages = messages->Count();
    Olm_WizData* installed = InstalledData(request.wizType, family, error);
    if (!installed) {
        const std::string said = messages->JoinedFrom(loaderMessages);
        return fail(said.empty() ? error : error + ":\n" + said);
    }
    const auto data = std::make_unique<Olm_WizData>(*installed);
    Olm_KfzWizData bridge(&engine, request.wizType);
    bridge.SetBatchMode(request.batch);
    bridge.SetSilent(request.silent);
    bridge.SetLogFile(log.get());
    bridge.SetWizDataPtr(data.get());
    if (existing) bridge.SyncWizDataWithKFZ();

    main->Declare(*installed);
    if (!optionFile.empty()) {
        const std::size_t first = messages->Count();
        Olm_OptFileCheck check(*installed);
        main->DeclareAttributes(check);
        const std::vector<std::string> findings = check.Check(optionFile);
        for (const std::string& finding : findings) {
            Olm_MessageReporter::Message message;
            message.severity =
                request.strict ? Olm_MessageReporter::Severity::Error : Olm_MessageReporter::Severity::Warning;
            message.text = (request.strict ? "ERROR: " : "WARNING: ") + finding;
            message.tagged = true;
            message.log = log.get();
            // The log has every finding; the console has them in a batch run.
            message.silent = request.silent || !request.batch;
            reporter.Report(message);
            if (!request.batch && !request.strict) {
                // A strict window run stops with the findings in its failure.
                message.batch = false;
                message.log = nullptr;
                message.plain = true;
                reporter.Report(message);
            }
        }
        if (request.strict && !findings.empty())
            return fail("the option file '" + optionFile + "' names what the installed data does not allow:\n" +
                               messages->JoinedFrom(first));
        Pal::String name(optionFile);
        const std::size_t readerFirst = messages->Count();
        // Before the window the reader's errors come in their console form,
        // into the log and the failure of the run: the run stops on them.
        bridge.SetBatchMode(true);
        bridge.SetSilent(request.silent || !request.batch);
        const bool applied = bridge.ReadOptFile(name);
        bridge.SetBatchMode(request.batch);
        bridge.SetSilent(request.silent);
        if (!applied) {
            const std::string said = messages->JoinedFrom(readerFirst);
            return fail("the option file '" + optionFile + "' cannot be applied" +
                               (said.empty() ? std::string() : ":\n" + said));
        }
    }

    // The output folder is made only once every input has been read, so that
    // a refused input leaves no new folder behind.
    // A check makes no folder: one that is missing is compared as empty.
    std::error_code folderError;
    const bool enter = !request.checkOnly || fs::is_directory(output.Path(), folderError);
    if (!request.checkOnly && !output.Make())
        return fail("cannot create the output folder '" + output.Path().string() + "'");
    {
        const std::optional<WorkingDirectory> cwd =
            enter ? std::optional<WorkingDirectory>(std::in_place, output.Path()) : std::nullopt;
        if (cwd && !cwd->Changed()) return fail("cannot enter the output folder '" + output.Path().string() + "'");

        main->SetFamily(family);
        main->SetPartName(engine.GetPart());
        main->SetDevice(engine.GetDevice());
        main->SetSpeed(engine.GetSpeed());
        main->SetDesignName(request.design);
        main->SetHDLType(Olm_HdlLanguageNames::Name(language));
        main->SetHDLFilename(request.design + Olm_HdlGenerator::Extension(language));
        main->SetSilentMode(request.silent);
        main->SetExistingKFZ(existing);
        main->SetWizDataPtr(data.get());
        main->SetLogFilePtr(log.get());
        main->SetBridge(&bridge);
        main->SetOutputDir(output.Path().string());
        main->SetInstalledData(installed);
        main->SetHdlGenerator(&Generator(family));
        main->SetTestbench(request.testbench);
        main->SetCheckOnly(request.checkOnly);
        if (!request.batch) main->SetPageSnapshots(request.pageSnapshotDir);
        main->SetWalkToFinish(walk);

        const std::size_t first = messages->Count();
        outcome.result = main->Run();
        outcome.files = main->GetWrittenFiles();
        outcome.fileStates = main->GetFileStates();
        outcome.checkedContents = main->GetCheckedContents();
        if (!request.pageSnapshotDir.empty() && !request.batch) outcome.snapshots = main->GetPageSnapshots();
        if (outcome.result == 0) {
            const Olm_FeatureText features = main->Features();
            if (features.HasClockManagerText())
                for (const std::string& line : Lines(Olm_SummaryGui::ClockManagerFeatures(*main).str()))
                    outcome.features.push_back(line);
            for (const std::string& line : features.Lines()) outcome.features.push_back(line);
            outcome.notWritten = NotWritten(*main, outcome.files, request.testbench);
            outcome.changedSettings = Olm_SummaryRules::ChangedSettings(*data);
        } else if (outcome.result == 1 && walk) {
            outcome.failure = "the walk through the window stopped: " + main->GetWalkProblem();
            if (const std::string said = messages->JoinedFrom(first); !said.empty()) outcome.failure += "\n" + said;
        } else if (outcome.result == 1 && !request.pageSnapshotDir.empty() && !request.batch) {
            if (!main->GetSnapshotProblem().empty())
                outcome.failure = "page snapshots: " + main->GetSnapshotProblem();
        } else if (outcome.result == 1) {
            outcome.failure = "the wizard was left without finishing";
        } else {
            outcome.failure = "the " + request.wizType + " wizard failed";
            // Where its settings came from, when not from the installed data alone.
            std::string from;
            if (!optionFile.empty()) from = "the option file '" + optionFile + "'";
            if (existing) from += (from.empty() ? "" : " and ") + std::string("the design file '") + kfzIn + "'";
            if (!from.empty()) outcome.failure += " (settings from " + from + ")";
            const std::string said = messages->JoinedFrom(first);
            if (!said.empty()) outcome.failure += ":\n" + said;
        }
        main.reset();  // pages and windows go before the container they point to
    }
    if (outcome.Succeeded()) output.Keep();
    return finish();
}
