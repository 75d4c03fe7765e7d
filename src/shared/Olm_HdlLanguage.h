#pragma once

#include "pal/StrUtil.h"
#include "shared/Olm_Constants.h"

#include <string_view>

// The HDL of a wizard's wrapper. This is the one spelling of the language
// across the library: its names are the shared constants "verilog" and
// "vhdl" (the wizard main's HDL type, olmwiz --hdl), its extensions ".v" and
// ".vhd", and the port-name checks of Olm_WizPage take it as their int
// selector (2 Verilog, 0 VHDL: Olm_WizPage::kHdlVerilog, kHdlVhdl). Every
// translation between these and the enum is here.
enum class Olm_HdlLanguage { Verilog, Vhdl };

class Olm_HdlLanguageNames {
public:
    // "verilog" or "vhdl", letter case folded; false (language untouched)
    // for any other name.
    static bool FromName(std::string_view name, Olm_HdlLanguage& language) {
        if (Pal::StrUtil::EqualNoCase(name, OlmConst::kLangVerilog)) language = Olm_HdlLanguage::Verilog;
        else if (Pal::StrUtil::EqualNoCase(name, OlmConst::kLangVhdl)) language = Olm_HdlLanguage::Vhdl;
        else return false;
        return true;
    }
    // The language of a name, VHDL for any name but "verilog" (the wizard
    // main's HDL type, which may be empty).
    static Olm_HdlLanguage OfName(std::string_view name) {
        Olm_HdlLanguage language = Olm_HdlLanguage::Vhdl;
        FromName(name, language);
        return language;
    }
    static const char* Name(Olm_HdlLanguage language) {
        return language == Olm_HdlLanguage::Verilog ? OlmConst::kLangVerilog : OlmConst::kLangVhdl;
    }
    static const char* Extension(Olm_HdlLanguage language) {
        return language == Olm_HdlLanguage::Verilog ? OlmConst::kExtVerilog : OlmConst::kExtVhdl;
    }
    // The selector of the port-name checks (Olm_WizPage::IsPortnameLegal).
    static constexpr int PortNameSelector(Olm_HdlLanguage language) {
        return language == Olm_HdlLanguage::Verilog ? 2 : 0;
    }
};
