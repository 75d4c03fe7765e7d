#include "pal/StrUtil.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace Pal {

namespace {
thread_local char* g_tokenizePosition = nullptr;

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The number text after trimming, with a leading '+' dropped (from_chars
// takes '-' but not '+'); empty when the sign is not followed by a digit or
// a decimal point, so that "+-0" and "--1" never reach the parser.
std::string_view NumberBody(std::string_view text) {
    std::string_view body = TrimBlanks(text);
    const bool plus = !body.empty() && body.front() == '+';
    if (plus) body.remove_prefix(1);
    const std::size_t start = !plus && !body.empty() && body.front() == '-' ? 1 : 0;
    if (body.size() <= start) return {};
    const char c = body[start];
    if (!((c >= '0' && c <= '9') || c == '.')) return {};
    return body;
}
}

void StrUtil::Copy(char* dst, std::size_t dstSize, const char* src) {
    if (!dst || dstSize == 0) return;
    const std::size_t n = src ? std::strlen(src) : 0;
    const std::size_t take = n < dstSize ? n : dstSize - 1;
    if (take) std::memcpy(dst, src, take);
    dst[take] = '\0';
}

std::size_t StrUtil::Len(const char* s) { return s ? std::strlen(s) : 0; }

char* StrUtil::Tokenize(char* text, const char* delimiters) {
    char* p = text ? text : g_tokenizePosition;
    if (!p) return nullptr;
    const char* delims = delimiters ? delimiters : "";
    p += std::strspn(p, delims);
    if (*p == '\0') {
        g_tokenizePosition = nullptr;
        return nullptr;
    }
    char* token = p;
    p += std::strcspn(p, delims);
    if (*p != '\0') {
        *p = '\0';
        g_tokenizePosition = p + 1;
    } else {
        g_tokenizePosition = nullptr;
    }
    return token;
}

int StrUtil::Compare(const char* a, const char* b) { return std::strcmp(a ? a : "", b ? b : ""); }

int StrUtil::NCompare(const char* a, const char* b, std::size_t n) {
    return std::strncmp(a ? a : "", b ? b : "", n);
}

int StrUtil::AToI(const char* s) {
    if (!s) return 0;
    while (*s == ' ' || *s == '\t' || *s == '\n' || *s == '\r' || *s == '\f' || *s == '\v') ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = (*s++ == '-');
    long long value = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        value = value * 10 + (*s - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;  // saturated; keep reading digits
        }
    }
    if (negative) return value > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

bool StrUtil::EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

std::string StrUtil::UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = FoldCase(c);
    return out;
}

std::string StrUtil::LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool StrUtil::StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool StrUtil::ParseInt(std::string_view text, int& value) {
    const std::string_view body = NumberBody(text);
    if (body.empty()) return false;
    int parsed = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), parsed);
    if (ec != std::errc() || end != body.data() + body.size()) return false;
    value = parsed;
    return true;
}

bool StrUtil::ParseNumber(std::string_view text, double& value) {
    const std::string_view body = NumberBody(text);
    if (body.empty()) return false;
    double parsed = 0.0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), parsed, std::chars_format::general);
    if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool StrUtil::SameNumber(std::string_view a, std::string_view b) {
    double x = 0.0, y = 0.0;
    return ParseNumber(a, x) && ParseNumber(b, y) && x == y;
}

std::string StrUtil::FormatNumber(double value, int maxDecimals) {
    if (!std::isfinite(value)) return "?";
    char buffer[400];  // room for the largest double in fixed point
    std::snprintf(buffer, sizeof buffer, "%.*f", maxDecimals < 0 ? 0 : maxDecimals, value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

}  // namespace Pal
