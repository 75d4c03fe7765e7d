#include "GeneralSetupGui.h"

#include "GeneralSetupPage.h"
#include "PllWizMain.h"

#include "../common/DesignUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace TklPll {

namespace {

QString Range(const PllRange& r) {
    return QStringLiteral("%1 to %2 MHz").arg(QString::fromStdString(FormatMHz(r.min)),
                                              QString::fromStdString(FormatMHz(r.max)));
}

}  // namespace

GeneralSetupGui::GeneralSetupGui(Nx_Wizard* wizard, GeneralSetupPage* page)
    : RefWizGui(wizard, page, "GeneralSetupBody",
                QStringLiteral("Configure the input clock of the RKO_ADV phase-locked loop and the ports that the "
                               "wrapper gives it.")),
      m_page(page) {
    Olm_Block* block = page->Main()->Block();
    QFormLayout* form = AddForm();
    m_inputFreq = LineEdit("inputFreq", 160);
    form->addRow(QStringLiteral("Input clock frequency (MHz):"), m_inputFreq);
    m_inputPort = LineEdit("inputPort", 220);
    form->addRow(QStringLiteral("Input clock port name:"), m_inputPort);
    // Without the data's list of sources only the internal feedback is offered.
    m_feedback = ChoiceBox(block, "OLMW_ONLY_PLL_FBSRC_CLKOUT", "feedback", 220);
    if (!block || !block->GetNamedAttribute("OLMW_ONLY_PLL_FBSRC_CLKOUT"))
        m_feedback->addItem(QStringLiteral("CLKFBOUT"));
    form->addRow(QStringLiteral("Feedback source:"), m_feedback);
    m_tolerance = LineEdit("tolerance", 160);
    form->addRow(QStringLiteral("Frequency tolerance (ppm):"), m_tolerance);
    m_useReset = new QCheckBox(QStringLiteral("Reset input, port name:"));
    m_useReset->setObjectName(QStringLiteral("useReset"));
    m_resetPort = LineEdit("resetPort", 220);
    form->addRow(m_useReset, m_resetPort);
    m_useLocked = new QCheckBox(QStringLiteral("Locked output, port name:"));
    m_useLocked->setObjectName(QStringLiteral("useLocked"));
    m_lockedPort = LineEdit("lockedPort", 220);
    form->addRow(m_useLocked, m_lockedPort);

    const PllLimits& limits = page->Main()->Limits();
    auto* info = new QLabel(QStringLiteral("Device limits: input clock %1, phase detector %2, VCO %3.")
                                .arg(Range(limits.input), Range(limits.pfd), Range(limits.vco)));
    info->setObjectName(QStringLiteral("limits"));
    info->setWordWrap(true);
    Column()->addSpacing(12);
    Column()->addWidget(info);

    QObject::connect(m_useReset, &QCheckBox::toggled, m_resetPort, &QWidget::setEnabled);
    QObject::connect(m_useLocked, &QCheckBox::toggled, m_lockedPort, &QWidget::setEnabled);
    FinishPage();
}

void GeneralSetupGui::dataToWidgets() {
    const PllConfig& config = m_page->Main()->Config();
    m_inputFreq->setText(QString::fromStdString(config.inputFreq));
    m_inputPort->setText(QString::fromStdString(config.inputPort));
    Olm_WizPage::SetComboBoxText(m_feedback, config.feedback);
    m_tolerance->setText(QString::fromStdString(config.tolerancePpm));
    m_useReset->setChecked(config.useReset);
    m_resetPort->setText(QString::fromStdString(config.resetPort));
    m_resetPort->setEnabled(config.useReset);
    m_useLocked->setChecked(config.useLocked);
    m_lockedPort->setText(QString::fromStdString(config.lockedPort));
    m_lockedPort->setEnabled(config.useLocked);
}

void GeneralSetupGui::widgetsToData() {
    PllConfig& config = m_page->Main()->Config();
    config.inputFreq = m_inputFreq->text().trimmed().toStdString();
    config.inputPort = m_inputPort->text().trimmed().toStdString();
    config.feedback = m_feedback->currentText().toStdString();
    config.tolerancePpm = m_tolerance->text().trimmed().toStdString();
    config.useReset = m_useReset->isChecked();
    config.resetPort = m_resetPort->text().trimmed().toStdString();
    config.useLocked = m_useLocked->isChecked();
    config.lockedPort = m_lockedPort->text().trimmed().toStdString();
}

}  // namespace TklPll
