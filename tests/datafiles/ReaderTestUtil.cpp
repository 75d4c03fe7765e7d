#include "ReaderTestUtil.h"

#include "datafiles/Olm_DataFileReader.h"

namespace dftest {

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
    result.reports = capture.Texts();
    result.details = capture.Reports();
    return result;
}

std::string MissingValue(const std::string& file, int line, const std::string& statement) {
    return "ERROR in reading file " + file + ":\nMissing ';' to terminate the statement at line " +
           std::to_string(line) + " :\n  " + statement + "\n";
}

std::string NoKey(const std::string& file, int line, const std::string& statement) {
    return "ERROR in reading file " + file + ":\nNo keyword on line " + std::to_string(line) + " :\n  " + statement +
           "\n";
}

std::string Invalid(const std::string& file, const std::string& value, int line) {
    return "ERROR in reading file " + file + ":\nThe value specified '" + value + "' near line " +
           std::to_string(line) + " is not a valid value.\n";
}

std::string Unrecognized(const std::string& file, int line, const std::string& statement) {
    return "ERROR in reading file " + file + ":\nUnrecognized keyword on line " + std::to_string(line) + " :\n  " +
           statement + "\n";
}

std::string MissingDefault(const std::string& file, int line) {
    return "ERROR in reading " + file + ":\n\nMissing the DefaultValue statement near line " + std::to_string(line) +
           ".\n";
}

std::string MissingPossible(const std::string& file, int line) {
    return "ERROR in reading " + file + ":\n\nMissing the PossibleValues statement near line " +
           std::to_string(line) + ".\n";
}

std::string MissingWizData(const std::string& file) {
    return "ERROR in reading file \n" + file +
           ":\nMissing the WizData statement.  Cannot process file without the WizData statement.\n";
}

std::string Possible(Olm_Attribute* attribute) {
    std::string joined;
    const Olm_StrArray& values = attribute->GetPossibleValues();
    for (int i = 0; i < values.GetSize(); ++i) {
        if (i) joined += "|";
        joined += values.GetAt(i).str();
    }
    return joined;
}

}  // namespace dftest
