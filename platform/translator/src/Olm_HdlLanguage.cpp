#include "Olm_HdlLanguage.h"

Olm_HdlNameTable Olm_HdlLanguage::NewScope() const {
    auto legal = [rule = isLegal](const std::string& name, std::string& reason) {
        Pal::String text = name;
        Pal::String why;
        const bool ok = rule(text, why);
        reason = why.str();
        return ok;
    };
    return Olm_HdlNameTable(legal, foldCase);
}

bool Olm_HdlLanguage::CheckPrimitive(const Olm_HdlPrimitive& prim, std::string& error) const {
    Olm_HdlNameTable scope = NewScope();
    for (const auto& param : prim.params) {
        if (!scope.Declare(param.name, paramWord, error)) {
            error = "primitive '" + prim.name + "': " + error;
            return false;
        }
    }
    for (const auto& pin : prim.pins) {
        if (!scope.Declare(pin.name, "pin", error)) {
            error = "primitive '" + prim.name + "': " + error;
            return false;
        }
    }
    return true;
}

bool Olm_HdlLanguage::ValueText(const std::string& value, Olm_HdlParamKind kind, std::string& out) const {
    if (kind != Olm_HdlParamKind::kString) {
        out = Olm_HdlPrimitive::NumberText(value, kind);
        return true;
    }
    out = "\"";
    for (unsigned char c : value) {
        if (c < 0x20 || c >= 0x7f) return false;
        if (c == '"' || c == escape) out += escape;
        out += static_cast<char>(c);
    }
    out += '"';
    return true;
}
