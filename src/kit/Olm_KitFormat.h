#pragma once

// Internal to the toolkit: printf-style formatting of the message helpers.

#include <cstdarg>
#include <cstdio>
#include <string>

namespace OlmKit {

inline std::string Formatted(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

}  // namespace OlmKit

// The body of a printf-style message helper that hands its text to report.
#define OLM_KIT_REPORT(severity, format, report)                  \
    do {                                                          \
        va_list args;                                             \
        va_start(args, format);                                   \
        const std::string text = OlmKit::Formatted(format, args); \
        va_end(args);                                             \
        report(severity, text);                                   \
    } while (false)
