#include "Olm_HdlNameTable.h"

#include "pal/StrUtil.h"

Olm_HdlNameTable::Olm_HdlNameTable(std::function<bool(const std::string&, std::string&)> legal, bool foldCase)
    : m_legal(std::move(legal)), m_foldCase(foldCase) {}

std::string Olm_HdlNameTable::Key(const std::string& name) const {
    return m_foldCase ? Pal::StrUtil::UpperAscii(name) : name;
}

bool Olm_HdlNameTable::Has(const std::string& name) const { return m_taken.count(Key(name)) != 0; }

bool Olm_HdlNameTable::Declare(const std::string& name, const std::string& what, std::string& error) {
    std::string reason;
    if (!m_legal(name, reason)) {
        error = "the " + what + " name '" + name + "' " + reason;
        return false;
    }
    if (!m_taken.insert(Key(name)).second) {
        error = "the " + what + " name '" + name + "' is already used by another object of the design";
        return false;
    }
    return true;
}

std::string Olm_HdlNameTable::Fresh(const std::string& base) {
    std::string clean;
    for (char c : base) {
        if (c == '_' && (clean.empty() || clean.back() == '_')) continue;
        clean += c;
    }
    while (!clean.empty() && clean.back() == '_') clean.pop_back();
    std::string reason;
    if (clean.empty()) {
        clean = "n";
    } else if (!m_legal(clean, reason)) {
        clean = "n_" + clean;  // a keyword or a name starting with a digit
    }
    std::string name = clean;
    for (int n = 2; Has(name); ++n) name = clean + "_" + std::to_string(n);
    m_taken.insert(Key(name));
    return name;
}
