#include "kit/Olm_RunOutcome.h"

std::string Olm_RunOutcome::Report() const {
    std::string report;
    for (const std::string& feature : features) report += "Configured: " + feature + "\n";
    report += "Files:\n";
    for (std::size_t i = 0; i < files.size(); ++i) {
        report += "  " + files[i];
        if (i < fileStates.size()) report += std::string("  (") + Olm_FileStateName(fileStates[i]) + ")";
        report += "\n";
    }
    for (const std::string& line : notWritten) report += line + "\n";
    if (changedSettings.empty()) {
        report += "All settings are the defaults of the installed data.\n";
    } else {
        report += "Settings that differ from the defaults:\n";
        for (const std::string& line : changedSettings) report += "  " + line + "\n";
    }
    return report;
}
