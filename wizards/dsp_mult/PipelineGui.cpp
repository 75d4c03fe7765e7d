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
    m_aPipe = ChoiceBox(block, "A_PIPE", "aPipe", 110);
    form->addRow(QStringLiteral("Operand A registers:"), m_aPipe);
    m_bPipe = ChoiceBox(block, "B_PIPE", "bPipe", 110);
    form->addRow(QStringLiteral("Operand B registers:"), m_bPipe);
    m_mPipe = ChoiceBox(block, "M_PIPE", "mPipe", 110);
    form->addRow(QStringLiteral("Multiplier register:"), m_mPipe);
    m_pPipe = ChoiceBox(block, "P_PIPE", "pPipe", 110);
    form->addRow(QStringLiteral("Product register:"), m_pPipe);
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

    for (QComboBox* box : {m_aPipe, m_bPipe, m_mPipe, m_pPipe})
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [this] { UpdateLatency(); });
    QObject::connect(m_useCe, &QCheckBox::toggled, m_useCe, [this] { UpdateLatency(); });
    QObject::connect(m_useRst, &QCheckBox::toggled, m_useRst, [this] { UpdateLatency(); });
    FinishPage();
}

void PipelineGui::dataToWidgets() {
    const MultConfig& config = m_page->Main()->Config();
    Olm_WizPage::SetComboBoxText(m_aPipe, config.aPipe);
    Olm_WizPage::SetComboBoxText(m_bPipe, config.bPipe);
    Olm_WizPage::SetComboBoxText(m_mPipe, config.mPipe);
    Olm_WizPage::SetComboBoxText(m_pPipe, config.pPipe);
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
    config.aPipe = m_aPipe->currentText().toStdString();
    config.bPipe = m_bPipe->currentText().toStdString();
    config.mPipe = m_mPipe->currentText().toStdString();
    config.pPipe = m_pPipe->currentText().toStdString();
    config.resetType = m_resetType->currentText().toStdString();
    config.portClk = m_portClk->text().trimmed().toStdString();
    config.useCe = m_useCe->isChecked();
    config.portCe = m_portCe->text().trimmed().toStdString();
    config.useRst = m_useRst->isChecked();
    config.portRst = m_portRst->text().trimmed().toStdString();
}

void PipelineGui::UpdateLatency() {
    MultConfig probe = m_page->Main()->Config();
    probe.aPipe = m_aPipe->currentText().toStdString();
    probe.bPipe = m_bPipe->currentText().toStdString();
    probe.mPipe = m_mPipe->currentText().toStdString();
    probe.pPipe = m_pPipe->currentText().toStdString();
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
