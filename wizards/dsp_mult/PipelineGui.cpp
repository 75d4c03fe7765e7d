#include "PipelineGui.h"

#include "MultWizMain.h"
#include "PipelinePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace DspMult {

PipelineGui::PipelineGui(Nx_Wizard* wizard, PipelinePage* page)
    : RefWizGui(wizard, page, "PipelineBody",
                QStringLiteral("Choose the register stages of the multiplier. With no register at all the multiplier "
                               "needs no clock, clock enable or reset.")),
      m_page(page) {
    Olm_Block* block = page->Main()->Block();
    QFormLayout* form = AddForm();
    m_areg = ChoiceBox(block, "AREG", "areg", 110);
    form->addRow(QStringLiteral("Operand A registers:"), m_areg);
    m_breg = ChoiceBox(block, "BREG", "breg", 110);
    form->addRow(QStringLiteral("Operand B registers:"), m_breg);
    m_mreg = ChoiceBox(block, "MREG", "mreg", 110);
    form->addRow(QStringLiteral("Multiplier register:"), m_mreg);
    m_preg = ChoiceBox(block, "PREG", "preg", 110);
    form->addRow(QStringLiteral("Product register:"), m_preg);
    m_resetType = ChoiceBox(block, "RESET_TYPE", "resetType", 110);
    form->addRow(QStringLiteral("Reset type:"), m_resetType);
    m_portClk = LineEdit("portClk", 220);
    form->addRow(QStringLiteral("Clock port name:"), m_portClk);
    m_useCe = new QCheckBox(QStringLiteral("Clock enable, port name:"));
    m_useCe->setObjectName(QStringLiteral("useCe"));
    m_portCe = LineEdit("portCe", 220);
    form->addRow(m_useCe, m_portCe);
    m_useRst = new QCheckBox(QStringLiteral("Reset, port name:"));
    m_useRst->setObjectName(QStringLiteral("useRst"));
    m_portRst = LineEdit("portRst", 220);
    form->addRow(m_useRst, m_portRst);
    m_latency = new QLabel;
    m_latency->setObjectName(QStringLiteral("latency"));
    Column()->addSpacing(12);
    Column()->addWidget(m_latency);

    for (QComboBox* box : {m_areg, m_breg, m_mreg, m_preg})
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [this] { UpdateLatency(); });
    QObject::connect(m_useCe, &QCheckBox::toggled, m_useCe, [this] { UpdateLatency(); });
    QObject::connect(m_useRst, &QCheckBox::toggled, m_useRst, [this] { UpdateLatency(); });
    FinishPage();
}

void PipelineGui::dataToWidgets() {
    const MultConfig& config = m_page->Main()->Config();
    Olm_WizPage::SetComboBoxText(m_areg, config.areg);
    Olm_WizPage::SetComboBoxText(m_breg, config.breg);
    Olm_WizPage::SetComboBoxText(m_mreg, config.mreg);
    Olm_WizPage::SetComboBoxText(m_preg, config.preg);
    Olm_WizPage::SetComboBoxText(m_resetType, config.resetType);
    m_portClk->setText(QString::fromStdString(config.portClk));
    m_useCe->setChecked(config.useCe);
    m_portCe->setText(QString::fromStdString(config.portCe));
    m_useRst->setChecked(config.useRst);
    m_portRst->setText(QString::fromStdString(config.portRst));
    UpdateLatency();
}

void PipelineGui::widgetsToData() {
    MultConfig& config = m_page->Main()->Config();
    config.areg = m_areg->currentText().toStdString();
    config.breg = m_breg->currentText().toStdString();
    config.mreg = m_mreg->currentText().toStdString();
    config.preg = m_preg->currentText().toStdString();
    config.resetType = m_resetType->currentText().toStdString();
    config.portClk = m_portClk->text().trimmed().toStdString();
    config.useCe = m_useCe->isChecked();
    config.portCe = m_portCe->text().trimmed().toStdString();
    config.useRst = m_useRst->isChecked();
    config.portRst = m_portRst->text().trimmed().toStdString();
}

void PipelineGui::UpdateLatency() {
    MultConfig probe = m_page->Main()->Config();
    probe.areg = m_areg->currentText().toStdString();
    probe.breg = m_breg->currentText().toStdString();
    probe.mreg = m_mreg->currentText().toStdString();
    probe.preg = m_preg->currentText().toStdString();
    const int latency = probe.Latency();
    const bool clocked = latency > 0;
    m_portClk->setEnabled(clocked);
    m_resetType->setEnabled(clocked);
    m_useCe->setEnabled(clocked);
    m_useRst->setEnabled(clocked);
    m_portCe->setEnabled(clocked && m_useCe->isChecked());
    m_portRst->setEnabled(clocked && m_useRst->isChecked());
    m_latency->setText(clocked ? QStringLiteral("Latency: %1 clock cycles from the operands to the product.").arg(latency)
                               : QStringLiteral("Latency: none, the multiplier is combinational."));
}

}  // namespace DspMult
