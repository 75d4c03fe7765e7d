#pragma once

#include "pal/String.h"

#include <string_view>

// Helpers shared by the language rules of the translator: how a character is
// named in a reason, and lookups in sorted word lists.
namespace OlmIdentifierText {

// "contains a space", "contains a tab", "contains the character ','",
// "contains the byte 0xE9" (control and non-ASCII bytes are shown in hex).
Pal::String Contains(unsigned char c);

// True when word is in the sorted list. With foldCase, ASCII letters of word
// are compared without case (the list holds lower-case words).
bool InSortedList(const std::string_view* first, const std::string_view* last,
                  std::string_view word, bool foldCase);

}  // namespace OlmIdentifierText
