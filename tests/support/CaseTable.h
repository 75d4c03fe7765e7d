#pragma once

// Tables of test cases kept in text files beside the tests, for
// parameterised tests: one case a line, its fields separated by " | " (an
// empty field is nothing between two separators); blank lines and lines
// starting with '#' are skipped; a line ending in " |" ends in an empty
// field. In a field, \n and \r stand for a line feed and a carriage return.
// A missing or empty file gives one row that no test can read.

#include "TestSupport.h"

#include <sstream>
#include <string>
#include <vector>

namespace olmtest {

using CaseRow = std::vector<std::string>;

// The pieces of a text between separators; an empty text has none.
inline std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    for (std::size_t at = 0; !text.empty();) {
        const std::size_t next = text.find(separator, at);
        pieces.push_back(text.substr(at, next - at));
        if (next == std::string::npos) break;
        at = next + separator.size();
    }
    return pieces;
}

inline std::vector<CaseRow> ReadCases(const std::string& path) {
    std::vector<CaseRow> rows;
    std::istringstream in(ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, " |") == 0) line += ' ';
        for (const char* escape : {"\\n", "\\r"})
            for (std::size_t at; (at = line.find(escape)) != std::string::npos;)
                line.replace(at, 2, escape[1] == 'n' ? "\n" : "\r");
        rows.push_back(Split(line, " | "));
    }
    if (rows.empty()) rows.push_back({"no cases in " + path});  // a row too short for any test: it fails
    return rows;
}

}  // namespace olmtest
