#pragma once

#include "pal/PalExport.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace Pal {

// Operations on zero-terminated text. Null pointers count as empty text.
class PAL_API StrUtil {
public:
    // Copies src into dst of dstSize bytes, cutting it short when needed;
    // dst is always zero-terminated (unless dstSize is 0).
    static void Copy(char* dst, std::size_t dstSize, const char* src);
    template <std::size_t N>
    static void Copy(char (&dst)[N], const char* src) { Copy(dst, N, src); }

    static std::size_t Len(const char* s);

    // Splits text in place like strtok: leading delimiters are skipped, the
    // token ends at the next delimiter, which is overwritten with a zero.
    // A call with a null text goes on where the last call stopped. Returns null
    // when no token is left. The position is kept per thread.
    static char* Tokenize(char* text, const char* delimiters);

    static int Compare(const char* a, const char* b);
    static int NCompare(const char* a, const char* b, std::size_t n);

    // The decimal number at the start of s after blanks, with an optional sign;
    // 0 when there is none. Values beyond the int range saturate.
    static int AToI(const char* s);

    // ASCII letters folded to upper case; every other byte is left as it is.
    // The one case rule of the project: texts are 8-bit and carry no locale.
    static constexpr char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
    static bool EqualNoCase(std::string_view a, std::string_view b);
    // The text with its ASCII letters in upper or in lower case: a key under
    // which names that differ only in letter case meet.
    static std::string UpperAscii(std::string_view text);
    static std::string LowerAscii(std::string_view text);
    static bool StartsWithNoCase(std::string_view text, std::string_view prefix);

    // Strict readers of numbers that users type (option files, wizard fields).
    // Blanks and tabs around the number are allowed; inside it, at most one
    // sign, then digits (ParseNumber: a decimal fraction and exponent too),
    // nothing else: "+-0", "0x10", "1 2", "nan", "inf", an empty text and
    // digits other than ASCII are refused. ParseNumber refuses values that do
    // not fit a finite double ("1e400"), ParseInt values beyond int. On false
    // the value is left unchanged.
    static bool ParseInt(std::string_view text, int& value);
    static bool ParseNumber(std::string_view text, double& value);
    // Whether both texts are numbers of ParseNumber's grammar with the same
    // value: "125", "125.0", "+125" and "1.25e2" are one number. Texts that
    // are not both numbers are never the same number.
    static bool SameNumber(std::string_view a, std::string_view b);
    // A number for messages and for the design: fixed point with at most
    // maxDecimals decimals, trailing zeros dropped ("100", "62.5",
    // "3.125"), without a locale; "-0" is written "0", a value that is not
    // finite "?".
    static std::string FormatNumber(double value, int maxDecimals = 6);
};

}  // namespace Pal
