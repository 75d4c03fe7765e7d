#pragma once

// Test cases kept in text files beside the tests, in one of two forms:
//
// - Rows (ReadCaseRows): one case a line, its fields separated by " | " (an
//   empty field is nothing between two separators; a line ending in " |" ends
//   in an empty field). For tables of short cases.
// - Records (ReadCaseRecords): cases separated by blank lines, each a few
//   lines of "key: value" (the value keeps any further leading blanks). A key
//   given again adds its value as a new line ("a\nb"); an indented line
//   continues the value before it after one blank, so that long texts wrap.
//   For cases whose fields are long texts (requests, expected messages).
//
// In both, lines starting with '#' are comments, and the escapes of
// Unescape stand for the characters a text file cannot show. A file that
// cannot be read or holds no case throws, so a missing file is never a table
// without rows.

#include "TestSupport.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace olmtest {

// A text with its escapes decoded: \n \r \t \0 \\ \" and \xNN (the byte of
// the two hex digits NN). Any other backslash stands for itself.
inline std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t escape = text[i] == '\\' && i + 1 < text.size()
                                       ? std::string("nrt0\\\"x").find(text[i + 1]) : std::string::npos;
        if (escape == std::string::npos) {
            out += text[i];
        } else if (text[++i] != 'x') {
            out += std::string("\n\r\t\0\\\"", 6)[escape];
        } else {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
    }
    return out;
}

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

namespace detail {
inline std::string CaseFileText(const std::string& path) {
    std::string text = ReadFile(path);
    if (text.empty()) throw std::runtime_error(path + ": missing or empty case file");
    return text;
}
}  // namespace detail

using CaseRow = std::vector<std::string>;

inline std::vector<CaseRow> ReadCaseRows(const std::string& path) {
    std::vector<CaseRow> rows;
    std::istringstream in(detail::CaseFileText(path));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, " |") == 0) line += ' ';
        rows.push_back(Split(Unescape(line), " | "));
    }
    if (rows.empty()) throw std::runtime_error(path + ": no test cases");
    return rows;
}

struct CaseRecord {
    std::map<std::string, std::string> fields;

    // The value of a key, empty when the record has none.
    std::string operator[](const std::string& key) const {
        const auto it = fields.find(key);
        return it == fields.end() ? std::string() : it->second;
    }

    // The value of a key, or the fallback when the record has none.
    std::string Value(const std::string& key, const std::string& fallback) const {
        const std::string value = (*this)[key];
        return value.empty() ? fallback : value;
    }
};

// Names the case by its "case" key in test output.
inline void PrintTo(const CaseRecord& c, std::ostream* os) { *os << c["case"]; }

inline std::vector<CaseRecord> ReadCaseRecords(const std::string& path) {
    std::istringstream in(detail::CaseFileText(path));
    std::vector<CaseRecord> cases;
    std::string* last = nullptr;
    bool open = false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            open = false;
            last = nullptr;
        } else if (line[0] == '#') {
            continue;
        } else if (line[0] == ' ' && last) {
            *last += " " + Unescape(line.substr(line.find_first_not_of(' ')));
        } else {
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos) throw std::runtime_error(path + ": no key in '" + line + "'");
            if (!open) cases.emplace_back();
            open = true;
            const std::string value = Unescape(line.substr(std::min(line.size(), colon + 2)));  // after ": "
            const auto [it, added] = cases.back().fields.try_emplace(line.substr(0, colon), value);
            if (!added) it->second += "\n" + value;
            last = &it->second;
        }
    }
    if (cases.empty()) throw std::runtime_error(path + ": no test cases");
    return cases;
}

// The blank-separated words of a value.
inline std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The lines of a value given as repeated keys.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A test name from the "case" key: letters and digits, the rest '_'.
inline std::string CaseName(const CaseRecord& c) {
    std::string name = c["case"];
    for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

}  // namespace olmtest
