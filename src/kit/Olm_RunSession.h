#pragma once

#include "kit/Olm_RunOutcome.h"
#include "kit/Olm_RunRequest.h"
#include "shared/OlmBaseExport.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class Olm_HdlGenerator;
class Olm_KitMain;
class Olm_WizData;
class QApplication;

// Runs toolkit wizards end to end, one Olm_RunRequest at a time:
//   1. checks the request (a design name that the HDL allows, the language);
//   2. loads the design file into an engine when one is given; the family of
//      the request overrides the design file's;
//   3. loads the installed data of the wizard type (Olm_Data::DataFileName)
//      through the bridge and lays the design file over it;
//   4. checks the option file against the installed data (Olm_OptFileCheck:
//      warnings, or errors with strict) and applies it;
//   5. makes the output folder (when missing) and the working directory,
//      runs the wizard main the factory makes, in a window or in batch mode;
//   6. returns what happened: the files written, every message, the
//      features and the changed settings, or why it failed.
// A failed run leaves nothing behind: no output folder it made, no file
// (the finishing step writes all files or none, Olm_Finisher); what was there
// before stays as it was.
//
// The session creates a QApplication for a run in a window when the program
// has none (and deletes it with the session); a batch run needs none. One
// session can run many requests, each independent of the ones before: the
// installed data and the HDL primitives are read once and kept.
//
//   Olm_RunSession session;
//   Olm_RunOutcome outcome = session.Run<MyWizard>(request);   // MyWizard(bool batch)
class OLM_BASE_EXPORT Olm_RunSession {
public:
    using Factory = std::function<std::unique_ptr<Olm_KitMain>(bool batch)>;

    Olm_RunSession();
    ~Olm_RunSession();
    Olm_RunSession(const Olm_RunSession&) = delete;
    Olm_RunSession& operator=(const Olm_RunSession&) = delete;

    // The factory makes the wizard main for batch or window mode; null:
    // the wizard type is not one the caller knows.
    Olm_RunOutcome Run(const Olm_RunRequest& request, const Factory& factory);
    template <class Main>
    Olm_RunOutcome Run(const Olm_RunRequest& request) {
        return Run(request, [](bool batch) { return std::unique_ptr<Olm_KitMain>(new Main(batch)); });
    }

    // The longest design name (in bytes): every file of a run is named after
    // it, its temporary names with up to twenty characters more, and a file
    // name holds 255 at most.
    static constexpr std::size_t kMaxDesignNameBytes = 200;

    // Whether the session holds the QApplication of the process.
    bool OwnsApplication() const { return m_application != nullptr; }

    // Whether each design file is flushed to disk as it is saved (on by
    // default, see Olm_Engine::SetFlushOnSave). A program that runs many
    // requests may turn it off and flush once at the end (sync), as
    // `olmwiz regen` does.
    void SetFlushEachFile(bool flush) { m_flushEachFile = flush; }

private:
    Olm_WizData* InstalledData(const std::string& wizType, const std::string& family, std::string& error);
    Olm_HdlGenerator& Generator(const std::string& family);

    std::unique_ptr<QApplication> m_application;
    bool m_flushEachFile = true;
    std::map<std::string, std::unique_ptr<Olm_WizData>> m_installed;         // by data file
    std::map<std::string, std::unique_ptr<Olm_HdlGenerator>> m_generators;  // by family
};
