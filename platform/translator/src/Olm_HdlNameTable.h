#pragma once

#include <functional>
#include <set>
#include <string>

// The names declared in one HDL scope: checks that a name is legal in the
// language and not yet taken, and makes fresh names for generated objects.
class Olm_HdlNameTable {
public:
    // legal(name, reason) answers the language's rule; foldCase makes names
    // that differ only in letter case the same name (VHDL).
    Olm_HdlNameTable(std::function<bool(const std::string&, std::string&)> legal, bool foldCase);

    // Declares a name given by the design; false with error set when it is
    // illegal or already declared. what names the object ("port", ...).
    bool Declare(const std::string& name, const std::string& what, std::string& error);
    // Whether the name is declared.
    bool Has(const std::string& name) const;
    // Declares and returns a legal name not yet taken, made from base: runs of
    // "_" are joined, a leading or trailing "_" dropped, and "_2", "_3", ...
    // appended until the name is free.
    std::string Fresh(const std::string& base);

private:
    std::string Key(const std::string& name) const;

    std::function<bool(const std::string&, std::string&)> m_legal;
    bool m_foldCase;
    std::set<std::string> m_taken;
};
