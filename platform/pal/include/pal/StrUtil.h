#pragma once

#include "pal/PalExport.h"

#include <cstddef>

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
};

}  // namespace Pal
