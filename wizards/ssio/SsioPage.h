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
    // What a field's tooltip says while the page's values are as given.
    using Tip = std::function<std::string(const Olm_FieldValues&)>;

    SsioPage(Olm_KitMain* main, SsioWizard* wizard, std::string title, std::string intro);

    // A declarative check of the page (Olm_KitPage::AddCheck) that marks
    // the fields named.
    void AddRule(Rule rule, std::vector<std::string> fields = {});
    // The tooltip of the attribute's widget in the window.
    void TipOf(std::string attribute, Tip tip);
    void Refresh(Olm_KitGui& gui) override;

private:
    SsioWizard* m_wizard;
    std::vector<std::pair<std::string, Tip>> m_tips;
};

}  // namespace Ssio
