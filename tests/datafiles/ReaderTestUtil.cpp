#include "ReaderTestUtil.h"

#include "datafiles/Olm_DataFileReader.h"


namespace dftest {

std::string WithPath(std::string text, const std::string& path) {
    for (std::size_t at = text.find(kFile); at != std::string::npos; at = text.find(kFile, at + path.size()))
        text.replace(at, kFile.size(), path);
    return text;
}

ReadResult ReadText(const std::string& text, Olm_WizData& wizData) {
    olmtest::ScratchDir dir;
    ReadResult result;
    result.path = dir.Write("wiz.dev", text);
    olmtest::MsgCapture capture;
    {
        Olm_DataFileReader reader;
        if (reader.Open(result.path.c_str())) result.ok = reader.ReadFile(&wizData);
        result.errorCount = reader.GetErrorCount();
    }
    for (std::string report : capture.Texts()) {
        for (std::size_t at = report.find(result.path); at != std::string::npos; at = report.find(result.path, at))
            report.replace(at, result.path.size(), kFile);
        result.reports.push_back(report);
    }
    result.details = capture.Reports();
    return result;
}

namespace {
std::string AtLine(const std::string& problem, int line, const std::string& statement) {
    return "ERROR in reading file " + kFile + ":\n" + problem + std::to_string(line) + " :\n  " + statement + "\n";
}
}  // namespace

std::string MissingValue(int line, const std::string& statement) {
    return AtLine("Missing ';' to terminate the statement at line ", line, statement);
}
std::string NoKey(int line, const std::string& statement) { return AtLine("No keyword on line ", line, statement); }
std::string Unrecognized(int line, const std::string& statement) {
    return AtLine("Unrecognized keyword on line ", line, statement);
}
std::string LongLine(int line, const std::string& statement) {
    return "ERROR in reading file " + kFile + ":\nLine " + std::to_string(line) + " is longer than 255 characters :\n  " +
           statement.substr(0, 64) + "...\n";
}
std::string Invalid(const std::string& value, int line) {
    return "ERROR in reading file " + kFile + ":\nThe value specified '" + value + "' near line " +
           std::to_string(line) + " is not a valid value.\n";
}
std::string MissingDefault(int line) {
    return "ERROR in reading " + kFile + ":\n\nMissing the DefaultValue statement near line " + std::to_string(line) +
           ".\n";
}
std::string MissingPossible(int line) {
    return "ERROR in reading " + kFile + ":\n\nMissing the PossibleValues statement near line " +
           std::to_string(line) + ".\n";
}
std::string MissingWizData() {
    return "ERROR in reading file \n" + kFile +
           ":\nMissing the WizData statement.  Cannot process file without the WizData statement.\n";
}

}  // namespace dftest
