#pragma once

#include "pal/PalExport.h"

#include <cstddef>
#include <string>

namespace Pal {

class Stream;

// A span of characters inside a String: the first position and a count.
struct Range {
    unsigned first = 0;
    unsigned count = 0;
};

// The 8-bit byte string used at every interface of the library.
// It always holds a zero-terminated buffer, so the conversion to const char*
// never yields a null pointer.
class PAL_API String {
public:
    // Comparison modes: exact bytes, or ASCII letters folded to one case.
    static constexpr int kExact = 0;
    static constexpr int kNoCase = 1;
    // Sides for Trim.
    static constexpr int kTrimLeading = 0;
    static constexpr int kTrimTrailing = 1;
    static constexpr int kTrimBoth = 2;
    static constexpr unsigned kNotFound = ~0U;

    String() = default;
    String(const char* text);  // NOLINT: implicit by design, a null pointer gives ""
    String(const char* text, std::size_t length);
    String(const std::string& text);  // NOLINT: implicit, convenient at call sites
    String(const String&) = default;
    String(String&&) noexcept = default;
    ~String() = default;

    String& operator=(const String&) = default;
    String& operator=(String&&) noexcept = default;
    String& operator=(const char* text);
    String& operator+=(const String& other);
    String& operator+=(const char* text);

    operator const char*() const { return m_text.c_str(); }  // NOLINT
    const char* c_str() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    unsigned GetLength() const { return static_cast<unsigned>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }

    // Replaces the contents with printf-style output. The arguments may refer
    // to this string itself: the result is built aside and then assigned.
    String& Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));

    // 0 when equal; negative or positive like strcmp otherwise.
    int Compare(const String& other, int mode) const;

    // Index of the first occurrence of text, or kNotFound.
    unsigned GetIndexOfString(const char* text, int mode) const;

    // Removes every character of chars from the given side(s).
    String& Trim(const char* chars, int type);
    String& MakeUpper();
    // Keeps the first n characters.
    String& Truncate(unsigned n);
    // Removes the characters of the range; a range past the end is clipped.
    String& Remove(Range range);

    // Reads the next line of the stream into this string without its line end
    // ("\n" or "\r\n"). False at the end of the input (the string is then empty).
    bool ReadLine(Stream* stream);

    friend bool operator==(const String& a, const String& b) { return a.m_text == b.m_text; }
    friend bool operator==(const String& a, const char* b) { return a.m_text == (b ? b : ""); }
    // Inline, so callers outside the library link without an exported symbol.
    friend String operator+(String a, const String& b) { return a += b; }

private:
    std::string m_text;
};

}  // namespace Pal
