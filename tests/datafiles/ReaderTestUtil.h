#pragma once

// Helpers of the data-file tests: read a data file written at run time and
// look at what the reader reported.

#include "ModelBuilders.h"
#include "TestSupport.h"

#include "datafiles/Olm_DataFileReader.h"
#include "model/Olm_WizData.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace dftest {

// Stands for the path of the file read in expected message texts.
inline const std::string kFile = "<file>";

struct ReadResult {
    bool ok = false;
    int errorCount = 0;
    std::vector<std::string> reports;  // texts issued through the message manager, kFile for the path
    std::vector<Pal::MsgMan::Report> details;
};

// text with every occurrence of path replaced by kFile.
inline std::string WithoutPath(std::string text, const std::string& path) {
    for (std::size_t at = text.find(path); at != std::string::npos; at = text.find(path, at))
        text.replace(at, path.size(), kFile);
    return text;
}

// The names of the files of a folder below golden/ that end in ext, without
// it, in order: the cases of a parameterised test.
inline std::vector<std::string> GoldenCases(const std::string& folder, const std::string& ext) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(OLM_DATAFILES_GOLDEN_DIR) + "/" + folder))
        if (entry.path().extension() == ext) names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Writes text to a file of a fresh scratch folder and reads it into wizData.
inline ReadResult ReadText(const std::string& text, Olm_WizData& wizData) {
    olmtest::ScratchDir dir;
    ReadResult result;
    const std::string path = dir.Write("wiz.dev", text);
    olmtest::MsgCapture capture;
    {
        Olm_DataFileReader reader;
        if (reader.Open(path.c_str())) result.ok = reader.ReadFile(&wizData);
        result.errorCount = reader.GetErrorCount();
    }
    for (const std::string& report : capture.Texts()) result.reports.push_back(WithoutPath(report, path));
    result.details = capture.Reports();
    return result;
}

// The reader's message for a statement it does not know.
inline std::string Unrecognized(int line, const std::string& statement, const std::string& file = kFile) {
    return "ERROR in reading file " + file + ":\nUnrecognized keyword on line " + std::to_string(line) + " :\n  " +
           statement + "\n";
}

using olmtest::Describe;

}  // namespace dftest
