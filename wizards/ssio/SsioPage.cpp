#include "SsioPage.h"

#include "SsioWizard.h"

#include "kit/Olm_KitGui.h"

#include <QWidget>

namespace Ssio {

SsioPage::SsioPage(Olm_KitMain* main, SsioWizard* wizard, std::string title, std::string intro)
    : Olm_KitPage(main, std::move(title), std::move(intro)), m_wizard(wizard) {
    AddCheck({}, [this](const Olm_FieldValues& values) {
        for (const Olm_Field* field : Fields()) {
            if (!field->IsPort() || !field->IsEnabled(values)) continue;
            const std::string port = values.Text(field->GetAttribute());
            const std::string owner = m_wizard->MadeName(port);
            if (owner.empty()) continue;
            return "The port name '" + port + "' of " + field->Describe() + " is the name of " + owner +
                   " that the wizard makes. All names must be unique.";
        }
        return std::string();
    });
}

void SsioPage::AddRule(Rule rule, std::vector<std::string> fields) { AddCheck(std::move(fields), std::move(rule)); }

void SsioPage::TipOf(std::string attribute, Tip tip) { m_tips.emplace_back(std::move(attribute), std::move(tip)); }

void SsioPage::Refresh(Olm_KitGui& gui) {
    const Olm_FieldValues& values = gui.Values();
    for (const auto& [attribute, tip] : m_tips)
        if (QWidget* widget = gui.FieldWidget(attribute)) widget->setToolTip(QString::fromStdString(tip(values)));
}

}  // namespace Ssio
