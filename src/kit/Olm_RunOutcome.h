#pragma once

#include "kit/Olm_FileState.h"
#include "shared/OlmBaseExport.h"

#include <string>
#include <vector>

// What a run of a wizard did (Olm_RunSession::Run).
struct OLM_BASE_EXPORT Olm_RunOutcome {
    // The wizard's result: 0 finished, 1 left without finishing (a window
    // closed), -1 failed; -1 too when the run stopped before the wizard.
    int result = -1;
    // Why the run failed, in one text (empty when it succeeded): the set-up
    // problem, or the wizard's own error messages.
    std::string failure;
    // Every file the run wrote, with its full path, in the order written;
    // a file that already held what the run would write is listed too but
    // left alone. Beside each, what became of it (fileStates[i] for
    // files[i]): kWritten or kUnchanged; kNew or kChanged in a check.
    std::vector<std::string> files;
    std::vector<Olm_FileState> fileStates;
    // A check (Olm_RunRequest::checkOnly): the bytes a run would write,
    // beside the files; empty otherwise.
    std::vector<std::string> checkedContents;
    // Every message of the run in order: the wizard's and the option-file
    // reader's (errors with "ERROR: " in front), the option-file check's
    // findings and the data-file reader's reports.
    std::vector<std::string> messages;
    // What a finished run did not write of what a run usually writes, one
    // sentence each with the reason: a wizard that writes no HDL file writes
    // no constraint template and no testbench either, and says so here.
    std::vector<std::string> notWritten;
    // The configured features (the summary page's feature lines).
    std::vector<std::string> features;
    // "BLOCK.ATTRIBUTE = value  (default d)" for every setting that differs
    // from the default of the installed data, as the summary lists them.
    std::vector<std::string> changedSettings;
    // The page snapshots saved (Olm_RunRequest::pageSnapshotDir), with their
    // full paths, in page order. Such a run ends as left (result 1); its
    // failure is empty when every page was saved.
    std::vector<std::string> snapshots;

    bool Succeeded() const { return result == 0 && failure.empty(); }
    // The text `olmwiz run` prints after a finished run: the features, the
    // files, what was not written and why, and the changed settings.
    std::string Report() const;
};
