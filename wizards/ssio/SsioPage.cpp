#include "SsioPage.h"

#include "SsioWizard.h"

#include "kit/Olm_KitGui.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace Ssio {

SsioPage::SsioPage(Olm_KitMain* main, SsioWizard* wizard, std::string title, std::string intro)
    : Olm_KitPage(main, std::move(title), std::move(intro)), m_wizard(wizard) {}

void SsioPage::AddRule(Rule rule) { m_rules.push_back(std::move(rule)); }

void SsioPage::ChoicesOf(std::string attribute, Choices choices) {
    m_choices.emplace_back(std::move(attribute), std::move(choices));
}

void SsioPage::TipOf(std::string attribute, Tip tip) { m_tips.emplace_back(std::move(attribute), std::move(tip)); }

void SsioPage::Refresh(Olm_KitGui& gui) {
    const Olm_FieldValues& values = gui.Values();
    for (const auto& [attribute, choices] : m_choices) {
        auto* box = qobject_cast<QComboBox*>(gui.FieldWidget(attribute));
        if (!box) continue;
        QStringList items;
        for (const std::string& choice : choices(values)) items << QString::fromStdString(choice);
        const QString current = box->currentText();
        if (!items.contains(current)) items << current;
        QStringList shown;
        for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
        if (shown == items) continue;
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(static_cast<int>(items.indexOf(current)));
    }
    for (const auto& [attribute, tip] : m_tips)
        if (QWidget* widget = gui.FieldWidget(attribute)) widget->setToolTip(QString::fromStdString(tip(values)));
}

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
