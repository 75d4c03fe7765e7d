#include "MultSetupGui.h"

#include "MultSetupPage.h"
#include "MultWizMain.h"

#include "../common/DesignUtil.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>

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

int ToInt(const std::string& text, int fallback) {
    int value = fallback;
    OlmRef::ParseInt(text, value);
    return value;
}

}  // namespace

MultSetupGui::MultSetupGui(Nx_Wizard* wizard, MultSetupPage* page)
    : RefWizGui(wizard, page, "MultSetupBody",
                QStringLiteral("Choose the widths and signedness of the operands and the width of the product, and "
                               "name the ports of the multiplier.")),
      m_page(page) {
    Olm_Block* block = page->Main()->Block();
    QFormLayout* form = AddForm();
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
    m_portA = LineEdit("portA", 220);
    form->addRow(QStringLiteral("Operand A port name:"), m_portA);
    m_portB = LineEdit("portB", 220);
    form->addRow(QStringLiteral("Operand B port name:"), m_portB);
    m_portP = LineEdit("portP", 220);
    form->addRow(QStringLiteral("Product port name:"), m_portP);
    FinishPage();
}

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

}  // namespace DspMult
