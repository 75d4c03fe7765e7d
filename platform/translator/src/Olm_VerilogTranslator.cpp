#include "translator/Olm_VerilogTranslator.h"

#include "Olm_IdentifierText.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// The keywords of IEEE 1364-2005, sorted; Verilog compares them with case.
// "wone" is no keyword of the final standard, but compilers in 1364-2005 mode
// still reserve it (a draft's name for uwire), so a port of that name would
// not compile everywhere.
constexpr std::array<std::string_view, 125> kKeywords = {
    "always", "and", "assign", "automatic", "begin", "buf", "bufif0", "bufif1",
    "case", "casex", "casez", "cell", "cmos", "config", "deassign", "default",
    "defparam", "design", "disable", "edge", "else", "end", "endcase", "endconfig",
    "endfunction", "endgenerate", "endmodule", "endprimitive", "endspecify",
    "endtable", "endtask", "event", "for", "force", "forever", "fork", "function",
    "generate", "genvar", "highz0", "highz1", "if", "ifnone", "incdir", "include",
    "initial", "inout", "input", "instance", "integer", "join", "large", "liblist",
    "library", "localparam", "macromodule", "medium", "module", "nand", "negedge",
    "nmos", "nor", "noshowcancelled", "not", "notif0", "notif1", "or", "output",
    "parameter", "pmos", "posedge", "primitive", "pull0", "pull1", "pulldown",
    "pullup", "pulsestyle_ondetect", "pulsestyle_onevent", "rcmos", "real",
    "realtime", "reg", "release", "repeat", "rnmos", "rpmos", "rtran", "rtranif0",
    "rtranif1", "scalared", "showcancelled", "signed", "small", "specify",
    "specparam", "strong0", "strong1", "supply0", "supply1", "table", "task", "time",
    "tran", "tranif0", "tranif1", "tri", "tri0", "tri1", "triand", "trior", "trireg",
    "unsigned", "use", "uwire", "vectored", "wait", "wand", "weak0", "weak1", "while",
    "wire", "wone", "wor", "xnor", "xor",
};
static_assert(std::is_sorted(kKeywords.begin(), kKeywords.end()));

// Specify blocks give names that begin with this text a meaning of their own
// (pulse limits of module paths); compilers do not take them as port names.
constexpr std::string_view kPulseLimitPrefix = "PATHPULSE$";

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsNameChar(unsigned char c) { return IsLetter(c) || OlmIdentifierText::IsDigit(c) || c == '_' || c == '$'; }

}  // namespace

bool Olm_VerilogTranslator::IsPortnameLegal(Pal::String& name, Pal::String& reason) {
    const std::string& text = name.str();
    if (!OlmIdentifierText::CheckPlain(text, "is an escaped identifier; the wizard writes plain identifiers only",
                                       IsNameChar, reason)) {
        return false;
    }
    if (text.front() == '$') {
        reason = "begins with a dollar sign";
        return false;
    }
    if (OlmIdentifierText::InSortedList(kKeywords.data(), kKeywords.data() + kKeywords.size(), text, false)) {
        reason = "is a reserved word";
        return false;
    }
    if (std::string_view(text).starts_with(kPulseLimitPrefix)) {
        reason = "begins with PATHPULSE$, which names pulse limits";
        return false;
    }
    return true;
}
