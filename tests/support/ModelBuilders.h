#pragma once

// Model helpers shared by the model, data-file and bridge tests: attributes
// in one call, a sample container with every kind of setting, the dump of a
// container as text, and a short description of a container to compare.

#include "model/Olm_WizData.h"
#include "pal/Stream.h"

#include <initializer_list>
#include <sstream>
#include <string>

namespace olmtest {

// The dump of a container: full (every setting) or short (settings that differ
// from the data-file defaults).
inline std::string DumpText(Olm_WizData& data, bool full = true) {
    Pal::MemoryStream stream;
    data.DumpToFile(&stream, full);
    return stream.Text();
}

inline Olm_Attribute* MakeAttribute(const char* name, const char* def, std::initializer_list<const char*> possible,
                                    const char* current) {
    auto* attribute = new Olm_Attribute();
    attribute->SetName(name);
    attribute->SetDefaultValue(def);
    for (const char* value : possible) attribute->AddPossibleValue(value);
    attribute->SetCurrentValue(current);
    return attribute;
}

// Version 2.1. Block B1 (RKO_BASE, flags F1 F2 F3) with a connected input
// pin carrying a flag and an attribute, an inactive 8-bit output tied to
// VCC, a grounded output, a tied input from bit 3 and a bidirectional pin;
// a fixed attribute, one without possible values and a range. Block B2
// (RKO_ADV), inactive, with an inactive attribute. An external, grounded
// 4-bit signal with an attribute, and an inactive signal.
inline void BuildSample(Olm_WizData& data) {
    data.SetVersion("2.1");
    Olm_Block* b1 = data.AddBlock("B1", "RKO_BASE");
    for (const char* flag : {"F1", "F2", "F3"}) b1->AddFlag(flag);
    Olm_Pin* clkin = b1->AddPin("CLKIN", "IN");
    clkin->SetSigName("clk");
    clkin->AddFlag("DATAWIDTH");
    clkin->AddAttribute("IOSTD", "LVDS");
    Olm_Pin* d = b1->AddPin("D", "out");
    d->SetWidth(8);
    d->SetIsVcc(true);
    d->SetIsActive(false);
    b1->AddPin("G", "OUT")->SetIsGrounded(true);
    Olm_Pin* tied = b1->AddPin("T", "IN");
    tied->SetStartBit(3);
    tied->AddAttribute("OLM_PIN_TIE", "4'b1010");
    b1->AddPin("IO", "INOUT");
    Olm_Attribute* mult = MakeAttribute("MULT", "1", {"4", "8"}, "4");
    mult->SetIsModifiable(false);
    b1->AddAttribute(mult);
    b1->AddAttribute(MakeAttribute("A2", "d", {}, "d"));
    b1->AddAttribute(MakeAttribute("RANGE", "8", {"OLMRANGE=1:56", "x y"}, "12"));

    Olm_Block* b2 = data.AddBlock("B2", "RKO_ADV");
    b2->SetIsActive(false);
    Olm_Attribute* empty = MakeAttribute("EMPTY", "", {}, "");
    empty->SetIsActive(false);
    b2->AddAttribute(empty);

    Olm_Signal* clk = data.AddSignal("clk", true, "CLK_PORT");
    clk->SetIsBus(true, 4);
    clk->SetIsGrounded(true);
    clk->AddAttribute(MakeAttribute("SA", "x", {"x", "y"}, "y"));
    data.AddSignal("n2", false, "")->SetIsActive(false);
}

// The possible values of an attribute joined by "|".
inline std::string Possible(const Olm_Attribute& attribute) {
    std::string joined;
    const Olm_StrArray& values = attribute.GetPossibleValues();
    for (int i = 0; i < values.GetSize(); ++i) joined += (i ? "|" : "") + values.GetAt(i).str();
    return joined;
}

// One line per block, pin, attribute and signal; properties at their
// defaults are left out. An attribute: "attr NAME =DEFAULT[ current=VALUE]
// COUNT{POSSIBLE}[ fixed][ off]", its current value shown when it differs
// from the default.
namespace describe {
inline std::string Flags(const Olm_StrArray& flags) {
    std::string text;
    for (int i = 0; i < flags.GetSize(); ++i) text += (i ? ";" : " flags=") + flags.GetAt(i).str();
    return text;
}
inline void Attributes(std::ostream& s, const Olm_AttributeList& attributes, const char* indent) {
    for (const Olm_Attribute* a : attributes) {
        s << indent << "attr " << a->GetName().str() << " =" << a->GetDefaultValue().str();
        if (a->GetCurrentValue().str() != a->GetDefaultValue().str()) s << " current=" << a->GetCurrentValue().str();
        s << " " << a->GetPossibleValues().GetSize() << "{" << Possible(*a) << "}" << (a->IsModifiable() ? "" : " fixed")
          << (a->IsActive() ? "" : " off") << "\n";
    }
}
}  // namespace describe

inline std::string Describe(const Olm_Block& b) {
    std::ostringstream s;
    s << "block " << b.GetName().str() << " " << b.GetPrimType().str() << (b.IsActive() ? "" : " off")
      << describe::Flags(b.GetFlagList()) << "\n";
    for (const Olm_Pin* p : b.GetPinList()) {
        s << " pin " << p->GetName().str() << " " << p->GetDirection().str() << " " << p->GetStartBit() << ":"
          << p->GetEndBit() << (p->HasBus() ? " bus" : "");
        if (!p->GetSigName().IsEmpty()) s << " sig=" << p->GetSigName().str();
        s << (p->IsGrounded() ? " gnd" : "") << (p->IsVcc() ? " vcc" : "") << (p->IsActive() ? "" : " off")
          << describe::Flags(p->GetFlagList()) << "\n";
        describe::Attributes(s, p->GetAttributeList(), "  ");
    }
    describe::Attributes(s, b.GetAttributeList(), " ");
    return s.str();
}

inline std::string Describe(const Olm_Signal& g) {
    std::ostringstream s;
    s << "signal " << g.GetName().str() << (g.IsExternal() ? " ext" : "");
    if (!g.GetDirection().IsEmpty()) s << " port=" << g.GetDirection().str();
    if (g.IsBus()) s << " bus";
    if (g.GetWidth() != 1) s << " w=" << g.GetWidth();
    s << (g.IsGrounded() ? " gnd" : "") << (g.IsVcc() ? " vcc" : "") << (g.IsActive() ? "" : " off") << "\n";
    describe::Attributes(s, g.GetAttributeList(), " ");
    return s.str();
}

// "wiz TYPE vVERSION", then the blocks and the signals.
inline std::string Describe(const Olm_WizData& data) {
    std::string text = "wiz " + data.GetWizType().str() + " v" + data.GetVersion().str() + "\n";
    for (const Olm_Block* block : data.GetBlkList()) text += Describe(*block);
    for (const Olm_Signal* signal : data.GetSigList()) text += Describe(*signal);
    return text;
}

}  // namespace olmtest
