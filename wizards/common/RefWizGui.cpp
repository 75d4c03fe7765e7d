#include "RefWizGui.h"

#include "RefWizPage.h"

#include "gui_nx/Nx_Wizard.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace OlmRef {

RefWizGui::RefWizGui(Nx_Wizard* wizard, RefWizPage* page, const char* bodyName, const QString& intro)
    : Nx_WizardPage(wizard), m_basePage(page), m_body(new QWidget), m_column(new QVBoxLayout(m_body)) {
    setPageName(QString::fromLatin1(page->Title().c_str()));
    m_body->setObjectName(QString::fromLatin1(bodyName));
    auto* label = new QLabel(intro);
    label->setWordWrap(true);
    m_column->addWidget(label);
}

QFormLayout* RefWizGui::AddForm() {
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_column->addLayout(form);
    return form;
}

void RefWizGui::FinishPage() {
    m_column->addStretch(1);
    setPageWidget(m_body);
}

QLineEdit* RefWizGui::LineEdit(const QString& name, int width) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setFixedWidth(width);
    return edit;
}

QComboBox* RefWizGui::ChoiceBox(Olm_Block* block, const char* attr, const char* name, int width) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    if (Olm_Attribute* attribute = block ? block->GetNamedAttribute(attr) : nullptr) {
        for (int i = 0; i < attribute->GetPossibleValues().GetSize(); ++i)
            box->addItem(QString::fromLatin1(attribute->GetPossibleValues().GetAt(i).c_str()));
    }
    box->setFixedWidth(width);
    return box;
}

int RefWizGui::advancedSupport() { return 0; }

void RefWizGui::onActive() {}

bool RefWizGui::onCancel() { return true; }

bool RefWizGui::onNext() {
    widgetsToData();
    return m_basePage->Check();
}

void RefWizGui::onMoreInfo() { m_basePage->InvokeMoreInfo(m_basePage->Title()); }

}  // namespace OlmRef
