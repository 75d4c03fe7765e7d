#include "SsioPage.h"

#include "SsioWizard.h"

namespace Ssio {

SsioPage::SsioPage(Olm_KitMain* main, SsioWizard* wizard, std::string title, std::string intro)
    : Olm_KitPage(main, std::move(title), std::move(intro)), m_wizard(wizard) {}

void SsioPage::AddRule(Rule rule) { m_rules.push_back(std::move(rule)); }

bool SsioPage::Check(const Olm_FieldValues& values) {
    for (const Olm_Field* field : Fields()) {
        if (!field->IsPort() || !field->IsEnabled(values)) continue;
        const std::string port = values.Text(field->GetAttribute());
        const std::string owner = m_wizard->MadeName(port);
        if (owner.empty()) continue;
        Error("The port name '%s' of %s is the name of %s that the wizard makes. All names must be unique.",
              port.c_str(), field->Describe().c_str(), owner.c_str());
        return false;
    }
    for (const Rule& rule : m_rules) {
        const std::string problem = rule(values);
        if (problem.empty()) continue;
        Error("%s", problem.c_str());
        return false;
    }
    return true;
}

}  // namespace Ssio
