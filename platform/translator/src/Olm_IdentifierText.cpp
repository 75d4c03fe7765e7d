#include "Olm_IdentifierText.h"
#include "pal/StrUtil.h"

#include <algorithm>
#include <string>

namespace OlmIdentifierText {

Pal::String Contains(unsigned char c) {
    Pal::String text;
    if (c == ' ') {
        text = "contains a space";
    } else if (c == '\t') {
        text = "contains a tab";
    } else if (c > ' ' && c < 0x7F) {
        text.Format("contains the character '%c'", c);
    } else {
        text.Format("contains the byte 0x%02X", static_cast<unsigned>(c));
    }
    return text;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool CheckPlain(const std::string& text, const char* escapedReason, bool (*isNameChar)(unsigned char),
                Pal::String& reason) {
    if (text.empty()) {
        reason = "is empty";
        return false;
    }
    if (text.front() == '\\') {
        reason = escapedReason;
        return false;
    }
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!isNameChar(c)) {
            reason = Contains(c);
            return false;
        }
    }
    if (IsDigit(static_cast<unsigned char>(text.front()))) {
        reason = "begins with a digit";
        return false;
    }
    return true;
}

bool InSortedList(const std::string_view* first, const std::string_view* last,
                  std::string_view word, bool foldCase) {
    if (!foldCase) return std::binary_search(first, last, word);
    const std::string lower = Pal::StrUtil::LowerAscii(word);  // the lists are in lower case
    return std::binary_search(first, last, std::string_view(lower));
}

}  // namespace OlmIdentifierText
