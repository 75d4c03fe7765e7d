#pragma once

// Test cases kept in a text file, for tables whose rows are mostly long
// texts (requests, expected messages). A file holds records separated by
// blank lines; each record is lines of "key: value" (the value keeps any
// further leading blanks). A key given again in a record adds its value as a
// new line ("a\nb"); an indented line continues the value before it after
// one blank, so that long texts wrap. Lines starting with '#' are comments.

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace olmtest {

struct Case {
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
inline void PrintTo(const Case& c, std::ostream* os) { *os << c["case"]; }

// The records of a case file; a file that cannot be read or holds no record
// throws, so that a missing file is never a table without rows.
inline std::vector<Case> ReadCases(const std::string& path) {
    std::ifstream in(path);
    std::vector<Case> cases;
    std::string* last = nullptr;
    bool open = false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            open = false;
            last = nullptr;
        } else if (line[0] == '#') {
            continue;
        } else if (line[0] == ' ' && last) {
            *last += " " + line.substr(line.find_first_not_of(' '));
        } else {
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos)
                throw std::runtime_error(path + ": no key in '" + line + "'");
            if (!open)
                cases.emplace_back();
            open = true;
            const std::string value = line.substr(std::min(line.size(), colon + 2));  // after ": "
            const auto [it, added] = cases.back().fields.try_emplace(line.substr(0, colon), value);
            if (!added)
                it->second += "\n" + value;
            last = &it->second;
        }
    }
    if (cases.empty())
        throw std::runtime_error(path + ": no test cases");
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
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A test name from the "case" key: letters and digits, the rest '_'.
inline std::string CaseName(const Case& c) {
    std::string name = c["case"];
    for (char& ch : name)
        ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
}

}  // namespace olmtest
