#include "PinWidthLint.h"

#include "pal/StrUtil.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace olmwiz {

namespace {

using Pal::StrUtil;

std::string_view Trim(std::string_view text, std::string_view blanks = " \t") {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An optionally signed decimal number that fits 32 bits; else what it is not.
std::string BoundProblem(std::string_view bound, const char* which, std::int64_t& value) {
    if (bound.empty()) return std::string("the ") + which + " bound is missing";
    std::size_t i = bound[0] == '-' || bound[0] == '+' ? 1 : 0;
    if (i == bound.size()) return std::string("the ") + which + " bound '" + std::string(bound) + "' has no digits";
    value = 0;
    for (std::size_t k = i; k < bound.size(); ++k) {
        if (!IsDigit(bound[k]))
            return std::string("the ") + which + " bound '" + std::string(bound) + "' has '" + bound[k] +
                   "' where a digit belongs";
        value = value * 10 + (bound[k] - '0');
        if (value > 2147483648LL) return std::string("the ") + which + " bound '" + std::string(bound) + "' is too large";
    }
    if (bound[0] == '-') value = -value;
    if (value > 2147483647LL) return std::string("the ") + which + " bound '" + std::string(bound) + "' is too large";
    return {};
}

// The next token of text from pos, as the reader's tokenizer gives it:
// delimiters in front are passed over, the token ends at the next delimiter
// (or the end), and pos moves past that delimiter. False when only delimiters
// are left.
bool NextToken(std::string_view text, std::size_t& pos, std::string_view delims, std::string_view& token) {
    const std::size_t start = text.find_first_not_of(delims, pos);
    if (start == std::string_view::npos) {
        pos = text.size();
        return false;
    }
    const std::size_t end = text.find_first_of(delims, start);
    token = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    return true;
}

bool IsPinKey(std::string_view key) {
    static constexpr std::array<std::string_view, 8> kKeys = {"Width",    "Signal", "HasBus", "Flag",
                                                              "Grounded", "VCC",    "TIE",    "SaveToKFZ"};
    for (std::string_view word : kKeys)
        if (StrUtil::EqualNoCase(key, word)) return true;
    return false;
}

}  // namespace

std::string PinWidthLint::Problem(std::string_view width) {
    const std::string_view text = Trim(width);
    if (text.empty()) return "it is empty";
    if (text.front() != '[') {
        if (text.back() == ']') return "the opening '[' is missing";
        std::int64_t count = 0;
        if (std::string problem = BoundProblem(text, "count", count); !problem.empty())
            return "it is neither a bit count nor a bit range [high:low]";
        if (count < 1) return "a pin has at least one bit";
        return {};
    }
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return "the closing ']' is missing";
    if (close + 1 != text.size()) return "'" + std::string(text.substr(close + 1)) + "' follows the closing ']'";
    const std::string_view inside = text.substr(1, close - 1);
    const std::size_t colon = inside.find(':');
    if (Trim(inside).empty()) return "the bit range is empty";
    if (colon == std::string_view::npos) return "the ':' between the high and the low bit is missing";
    std::int64_t high = 0, low = 0;
    if (std::string problem = BoundProblem(Trim(inside.substr(0, colon)), "high", high); !problem.empty())
        return problem;
    if (std::string problem = BoundProblem(Trim(inside.substr(colon + 1)), "low", low); !problem.empty())
        return problem;
    if (high < low)
        return "the range runs upwards; write the high bit first ([" + std::to_string(low) + ":" +
               std::to_string(high) + "])";
    return {};
}

std::vector<PinWidthLint::Finding> PinWidthLint::Check(std::istream& in) {
    static constexpr std::array<std::string_view, 3> kPinKeywords = {"InputPin", "OutputPin", "BidirPin"};
    std::vector<Finding> findings;
    int lineNumber = 0;
    for (std::string raw; std::getline(in, raw);) {
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (!raw.empty() && raw.front() == '#') continue;
        const std::string_view line = Trim(raw);
        std::size_t pos = 0;
        std::string_view key;
        if (!NextToken(line, pos, ":;", key)) continue;
        key = Trim(key, " ");
        bool pinStatement = false;
        for (std::string_view keyword : kPinKeywords) pinStatement = pinStatement || key.starts_with(keyword);
        if (!pinStatement) continue;
        std::string_view name;
        if (!NextToken(line, pos, ";", name)) continue;
        name = Trim(name, " ");
        // Pairs key=value; an unknown key is passed over without its value.
        for (std::string_view pairKey; NextToken(line, pos, "=", pairKey);) {
            pairKey = Trim(pairKey, " ");
            if (!IsPinKey(pairKey)) continue;
            // The value runs to the next ";"; an empty one ends the line.
            const std::size_t end = std::min(line.find(';', pos), line.size());
            const std::string_view value = Trim(line.substr(pos, end - pos), " ");
            pos = std::min(end + 1, line.size());
            if (StrUtil::EqualNoCase(pairKey, "Width")) {
                if (std::string problem = Problem(value); !problem.empty())
                    findings.push_back({lineNumber, std::string(name), std::string(value), std::move(problem)});
            }
            if (value.empty()) break;
        }
    }
    return findings;
}

}  // namespace olmwiz
