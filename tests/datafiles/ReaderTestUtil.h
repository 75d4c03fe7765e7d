#pragma once

// Helpers of the data-file tests: read a data file written at run time and
// look at what the reader reported.

#include "TestSupport.h"

#include "model/Olm_WizData.h"

#include <string>
#include <vector>

namespace dftest {

struct ReadResult {
    bool ok = false;
    int errorCount = 0;
    std::string path;                  // the file that was read
    std::vector<std::string> reports;  // texts issued through the message manager
    std::vector<Pal::MsgMan::Report> details;
};

// Writes text to a file of a fresh scratch folder and reads it into wizData.
ReadResult ReadText(const std::string& text, Olm_WizData& wizData);

// Expected message texts, built from the file name.
std::string MissingValue(const std::string& file, int line, const std::string& statement);
std::string NoKey(const std::string& file, int line, const std::string& statement);
std::string Invalid(const std::string& file, const std::string& value, int line);
std::string Unrecognized(const std::string& file, int line, const std::string& statement);
std::string MissingDefault(const std::string& file, int line);
std::string MissingPossible(const std::string& file, int line);
std::string MissingWizData(const std::string& file);

// The possible values of an attribute as one text joined by "|".
std::string Possible(Olm_Attribute* attribute);

}  // namespace dftest
