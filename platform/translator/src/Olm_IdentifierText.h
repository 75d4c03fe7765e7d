#pragma once

#include "pal/String.h"

#include <string>
#include <string_view>

// Helpers shared by the language rules of the translator: how a character is
// named in a reason, the checks common to plain identifiers, and lookups in
// sorted word lists.
namespace OlmIdentifierText {

// "contains a space", "contains a tab", "contains the character ','",
// "contains the byte 0xE9" (control and non-ASCII bytes are shown in hex).
Pal::String Contains(unsigned char c);

bool IsDigit(unsigned char c);

// The checks every plain identifier passes, in this order: not empty, no
// leading backslash (escapedReason says what such a name is), every byte
// accepted by isNameChar, no leading digit. False with reason set.
bool CheckPlain(const std::string& text, const char* escapedReason, bool (*isNameChar)(unsigned char),
                Pal::String& reason);

// True when word is in the sorted list. With foldCase, ASCII letters of word
// are compared without case (the list holds lower-case words).
bool InSortedList(const std::string_view* first, const std::string_view* last,
                  std::string_view word, bool foldCase);

}  // namespace OlmIdentifierText
