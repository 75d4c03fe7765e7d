#include "ShellWords.h"

namespace olmwiz {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& problem) {
    words.clear();
    std::string word;
    bool inWord = false;  // a quote pair makes a word even when it is empty
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (IsBlank(c)) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (c == '#' && !inWord) {
            break;
        } else if (c == '\'' || c == '"') {
            const std::size_t open = i;
            for (++i; i < line.size() && line[i] != c; ++i) {
                if (c == '"' && line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\'))
                    ++i;
                word += line[i];
            }
            if (i == line.size()) {
                problem = std::string("unterminated ") + (c == '"' ? "double" : "single") + " quote (column " +
                          std::to_string(open + 1) + ")";
                return false;
            }
            inWord = true;
        } else {
            if (c == '\\' && i + 1 < line.size()) ++i;
            word += line[i];
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return true;
}

std::string ShellQuoted(const std::string& word) {
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_-+./:=,@%") == std::string::npos;
    if (plain) return word;
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace olmwiz
