#include "gui_nx/Nx_WizardPage.h"

#include "gui_nx/Nx_Wizard.h"

#include <QWidget>

Nx_WizardPage::Nx_WizardPage(QWidget* parent) : QObject(parent) {
    if (auto* wizard = qobject_cast<Nx_Wizard*>(parent)) {
        m_wizard = wizard;
        wizard->attachPage(this);
    }
}

Nx_WizardPage::~Nx_WizardPage() {
    if (m_wizard) m_wizard->detachPage(this);
}

Nx_Wizard* Nx_WizardPage::wizard() const { return m_wizard.data(); }

void Nx_WizardPage::setPageName(const QString& name) {
    m_name = name;
    if (m_wizard) m_wizard->setPageTitle(this, name);
}

QString Nx_WizardPage::pageNextName() const {
    const Nx_WizardPage* next = m_wizard ? m_wizard->nxPageAfter(this) : nullptr;
    return next ? next->pageName() : QString();
}

QString Nx_WizardPage::pageBackName() const {
    const Nx_WizardPage* back = m_wizard ? m_wizard->nxPageBefore(this) : nullptr;
    return back ? back->pageName() : QString();
}

void Nx_WizardPage::setPageWidget(QWidget* widget) {
    m_widget = widget;
    if (m_wizard) m_wizard->setPageBody(this, widget);
}

void Nx_WizardPage::showMoreInfo(DisplayState state) {
    m_showMoreInfo = state != DisplayOff;
    if (m_wizard && m_wizard->currentNxPage() == this) m_wizard->updateHelpButtons();
}

void Nx_WizardPage::enableMoreInfo(DisplayState state) {
    m_enableMoreInfo = state != DisplayOff;
    if (m_wizard && m_wizard->currentNxPage() == this) m_wizard->updateHelpButtons();
}

void Nx_WizardPage::dataToWidgets() {}

void Nx_WizardPage::widgetsToData() {}

bool Nx_WizardPage::onBack() { return true; }

bool Nx_WizardPage::onFinish() { return true; }

void Nx_WizardPage::onAdvanced() {}
