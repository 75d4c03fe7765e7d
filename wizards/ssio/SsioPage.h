#pragma once

#include "OlmKit.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace Ssio {

class SsioWizard;

// A page of the source-synchronous I/O wizards: bound fields, and checks
// across them that name what is wrong. Its port names must also differ from
// the names of the blocks and nets that the wizard makes itself.
class SsioPage : public Olm_KitPage {
public:
    // A check across the page's values: empty when they are fine, else what
    // is wrong.
    using Rule = std::function<std::string(const Olm_FieldValues&)>;
    // What a field offers or says while the page's values are as given.
    using Choices = std::function<std::vector<std::string>(const Olm_FieldValues&)>;
    using Tip = std::function<std::string(const Olm_FieldValues&)>;

    SsioPage(Olm_KitMain* main, SsioWizard* wizard, std::string title, std::string intro);

    void AddRule(Rule rule);
    // The window's combo box of the attribute offers only these choices (a
    // value chosen before stays, so that Next names it); the field's rule in
    // the data stays as it is, for batch runs and option files.
    void ChoicesOf(std::string attribute, Choices choices);
    // The tooltip of the attribute's widget in the window.
    void TipOf(std::string attribute, Tip tip);
    bool Check(const Olm_FieldValues& values) override;
    void Refresh(Olm_KitGui& gui) override;

private:
    SsioWizard* m_wizard;
    std::vector<Rule> m_rules;
    std::vector<std::pair<std::string, Choices>> m_choices;
    std::vector<std::pair<std::string, Tip>> m_tips;
};

}  // namespace Ssio
