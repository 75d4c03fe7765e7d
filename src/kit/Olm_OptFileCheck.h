#pragma once

#include "kit/Olm_AllowedValues.h"
#include "shared/OlmBaseExport.h"

#include <map>
#include <string>
#include <vector>

class Olm_Block;
class Olm_WizData;

// Checks an option file against the installed data of a wizard, without
// applying it: every statement that names a block type, an attribute or a
// pin that the data does not define, or a value that an attribute does not
// allow (its choices or its OLMRANGE range), is a finding, "FILE:LINE: what".
// The option-file reader applies such statements all the same (it creates
// what is missing); the check says so before it happens, and `olmwiz run
// --strict` refuses the run on it. Statements the reader itself refuses
// (syntax errors) are left to the reader. A statement for one block by name
// is checked against that block, one for "*" against every block of the
// type (their choices may differ: the sites of two lanes, say), and one for a
// block the data does not have against the type's first block.
//
// Attributes that a wizard defines itself (wizard-only requests such as
// OLMW_ONLY_USE_CE, port names) are made known with AddWizardAttribute;
// Olm_RunSession adds those of the wizard's fields.
class OLM_BASE_EXPORT Olm_OptFileCheck {
public:
    // The installed data must outlive the check.
    explicit Olm_OptFileCheck(Olm_WizData& installed);

    void AddWizardAttribute(const std::string& primType, const std::string& attribute, Olm_AllowedValues allowed);

    // The findings of the file, in file order. A file that cannot be read
    // (missing, not a regular file, too large) gives no findings and, in
    // unreadable, why not; the option-file reader refuses it too.
    std::vector<std::string> Check(const std::string& path, std::string* unreadable = nullptr);

private:
    std::string CheckStatement(const std::string& keyword, const std::string& primitive, const std::string& block,
                               const std::string& name, const std::string* value);
    std::string CheckOnBlock(Olm_Block& block, const std::string& keyword, const std::string& primitive,
                             const std::string& name, const std::string* value);

    Olm_WizData& m_installed;
    // primitive type (upper case) -> attribute (upper case) -> rule
    std::map<std::string, std::map<std::string, Olm_AllowedValues>> m_wizardAttributes;
};
