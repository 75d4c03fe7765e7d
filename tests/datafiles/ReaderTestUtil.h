#pragma once

// Helpers of the data-file tests: read a data file written at run time and
// look at what the reader reported.

#include "ModelBuilders.h"
#include "TestSupport.h"

#include "model/Olm_WizData.h"

#include <string>
#include <vector>

namespace dftest {

// Stands for the path of the file read in expected message texts.
inline const std::string kFile = "<file>";

struct ReadResult {
    bool ok = false;
    int errorCount = 0;
    std::string path;                  // the file that was read
    std::vector<std::string> reports;  // texts issued through the message manager, kFile for the path
    std::vector<Pal::MsgMan::Report> details;
};

// Writes text to a file of a fresh scratch folder and reads it into wizData.
ReadResult ReadText(const std::string& text, Olm_WizData& wizData);

// Expected message texts.
std::string MissingValue(int line, const std::string& statement);
std::string NoKey(int line, const std::string& statement);
std::string Invalid(const std::string& value, int line);
std::string Unrecognized(int line, const std::string& statement);
std::string LongLine(int line, const std::string& statement);
std::string MissingDefault(int line);
std::string MissingPossible(int line);
std::string MissingWizData();
// text with kFile replaced by path.
std::string WithPath(std::string text, const std::string& path);

using olmtest::Describe;

}  // namespace dftest
