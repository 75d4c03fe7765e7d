#include "MultSetupGui.h"

#include "MultSetupPage.h"
#include "MultWizMain.h"

#include "../common/DesignUtil.h"

#include "gui_nx/Nx_Wizard.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace DspMult {

namespace {

QSpinBox* WidthBox(Olm_Block* block, const char* attr, const char* name) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    std::string lo, hi;
    int min = 2, max = 48;
    if (OlmRef::AttrRange(block, attr, lo, hi)) {
        OlmRef::ParseInt(lo, min);
        OlmRef::ParseInt(hi, max);
    }
    box->setRange(min, max);
    box->setFixedWidth(90);
    return box;
}

QLineEdit* PortEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(220);
    return edit;
}

int ToInt(const std::string& text, int fallback) {
    int value = fallback;
    OlmRef::ParseInt(text, value);
    return value;
}

}  // namespace

MultSetupGui::MultSetupGui(Nx_Wizard* wizard, MultSetupPage* page) : Nx_WizardPage(wizard), m_page(page) {
    setPageName(QString::fromLatin1(page->Title().c_str()));
    Olm_Block* block = page->Main()->Block();
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("MultSetupBody"));
    auto* column = new QVBoxLayout(body);
    auto* intro = new QLabel(QStringLiteral("Choose the widths and signedness of the operands and the width of the "
                                            "product, and name the ports of the multiplier."));
    intro->setWordWrap(true);
    column->addWidget(intro);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    const auto operandRow = [&](const char* label, QSpinBox*& width, QCheckBox*& sign, const char* attr,
                                const char* widthName, const char* signName) {
        width = WidthBox(block, attr, widthName);
        sign = new QCheckBox(QStringLiteral("Signed"));
        sign->setObjectName(QString::fromLatin1(signName));
        auto* row = new QHBoxLayout;
        row->addWidget(width);
        row->addSpacing(12);
        row->addWidget(sign);
        row->addStretch(1);
        form->addRow(QString::fromLatin1(label), row);
    };
    operandRow("Operand A width (bits):", m_aWidth, m_aSigned, "A_WIDTH", "aWidth", "aSigned");
    operandRow("Operand B width (bits):", m_bWidth, m_bSigned, "B_WIDTH", "bWidth", "bSigned");
    m_pWidth = WidthBox(block, "P_WIDTH", "pWidth");
    form->addRow(QStringLiteral("Product width (bits):"), m_pWidth);
    m_portA = PortEdit("portA");
    form->addRow(QStringLiteral("Operand A port name:"), m_portA);
    m_portB = PortEdit("portB");
    form->addRow(QStringLiteral("Operand B port name:"), m_portB);
    m_portP = PortEdit("portP");
    form->addRow(QStringLiteral("Product port name:"), m_portP);
    column->addLayout(form);
    column->addStretch(1);
    setPageWidget(body);
}

int MultSetupGui::advancedSupport() { return 0; }

void MultSetupGui::dataToWidgets() {
    const MultConfig& config = m_page->Main()->Config();
    m_aWidth->setValue(ToInt(config.aWidth, 18));
    m_aSigned->setChecked(config.aSigned);
    m_bWidth->setValue(ToInt(config.bWidth, 18));
    m_bSigned->setChecked(config.bSigned);
    m_pWidth->setValue(ToInt(config.pWidth, 36));
    m_portA->setText(QString::fromStdString(config.portA));
    m_portB->setText(QString::fromStdString(config.portB));
    m_portP->setText(QString::fromStdString(config.portP));
}

void MultSetupGui::widgetsToData() {
    MultConfig& config = m_page->Main()->Config();
    config.aWidth = std::to_string(m_aWidth->value());
    config.aSigned = m_aSigned->isChecked();
    config.bWidth = std::to_string(m_bWidth->value());
    config.bSigned = m_bSigned->isChecked();
    config.pWidth = std::to_string(m_pWidth->value());
    config.portA = m_portA->text().trimmed().toStdString();
    config.portB = m_portB->text().trimmed().toStdString();
    config.portP = m_portP->text().trimmed().toStdString();
}

void MultSetupGui::onActive() {}

bool MultSetupGui::onCancel() { return true; }

bool MultSetupGui::onNext() {
    widgetsToData();
    return m_page->Check();
}

void MultSetupGui::onMoreInfo() { m_page->InvokeMoreInfo(m_page->Title()); }

}  // namespace DspMult
