#include "translator/Olm_VhdlTranslator.h"

#include "Olm_IdentifierText.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The reserved words of VHDL-2008, in lower case and sorted. The words of the
// property language PSL (assume, cover, fairness, sequence, strong,
// vunit, ...) belong to the list: some analysers accept them as identifiers,
// but a port of that name is not portable VHDL.
constexpr std::array<std::string_view, 115> kReservedWords = {
    "abs", "access", "after", "alias", "all", "and", "architecture", "array",
    "assert", "assume", "assume_guarantee", "attribute", "begin", "block", "body",
    "buffer", "bus", "case", "component", "configuration", "constant", "context",
    "cover", "default", "disconnect", "downto", "else", "elsif", "end", "entity",
    "exit", "fairness", "file", "for", "force", "function", "generate", "generic",
    "group", "guarded", "if", "impure", "in", "inertial", "inout", "is", "label",
    "library", "linkage", "literal", "loop", "map", "mod", "nand", "new", "next",
    "nor", "not", "null", "of", "on", "open", "or", "others", "out", "package",
    "parameter", "port", "postponed", "procedure", "process", "property",
    "protected", "pure", "range", "record", "register", "reject", "release", "rem",
    "report", "restrict", "restrict_guarantee", "return", "rol", "ror", "select",
    "sequence", "severity", "shared", "signal", "sla", "sll", "sra", "srl", "strong",
    "subtype", "then", "to", "transport", "type", "unaffected", "units", "until",
    "use", "variable", "vmode", "vprop", "vunit", "wait", "when", "while", "with",
    "xnor", "xor",
};
static_assert(std::is_sorted(kReservedWords.begin(), kReservedWords.end()));

// Letters of VHDL: the ASCII letters and the letters of ISO 8859-1
// (0xC0 to 0xFF without the multiplication and division signs).
bool IsLetter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    return c >= 0xC0 && c != 0xD7 && c != 0xF7;
}

bool IsNameChar(unsigned char c) { return IsLetter(c) || OlmIdentifierText::IsDigit(c) || c == '_'; }

}  // namespace

bool Olm_VhdlTranslator::IsPortnameLegal(Pal::String& name, Pal::String& reason) {
    const std::string& text = name.str();
    if (!OlmIdentifierText::CheckPlain(text, "is an extended identifier; the wizard writes plain identifiers only",
                                       IsNameChar, reason)) {
        return false;
    }
    if (text.front() == '_') {
        reason = "begins with an underscore";
        return false;
    }
    if (text.find("__") != std::string::npos) {
        reason = "contains two underscores in a row";
        return false;
    }
    if (text.back() == '_') {
        reason = "ends with an underscore";
        return false;
    }
    if (OlmIdentifierText::InSortedList(kReservedWords.data(), kReservedWords.data() + kReservedWords.size(),
                                        text, true)) {
        reason = "is a reserved word";
        return false;
    }
    return true;
}
