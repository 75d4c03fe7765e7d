#include "pal/StrUtil.h"

#include <climits>
#include <cstring>

namespace Pal {

namespace {
thread_local char* g_tokenizePosition = nullptr;
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

}  // namespace Pal
