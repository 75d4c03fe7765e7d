#pragma once

#include <string>
#include <vector>

namespace olmwiz {

// Splits a line of arguments into words the way a shell does, without any
// of a shell's other features: words are separated by blanks; '...' keeps
// everything up to the next single quote as it is; "..." does the same but
// lets a backslash escape " and \; outside quotes a backslash escapes the
// character after it; an unquoted # at the start of a word begins a comment
// that runs to the end of the line. Quotes join with what touches them
// (--outdir="out dir"/a is one word) and "" is an empty word.
// False with the problem when a quote is not closed on the line.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& problem);

// A word quoted for a POSIX shell: as it is when it holds only characters
// that no shell treats specially, else in single quotes.
std::string ShellQuoted(const std::string& word);

}  // namespace olmwiz
