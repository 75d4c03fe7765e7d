#include "GeneralSetupGui.h"

#include "GeneralSetupPage.h"
#include "PllWizMain.h"

#include "../common/DesignUtil.h"

#include "gui_nx/Nx_Wizard.h"

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

GeneralSetupGui::GeneralSetupGui(Nx_Wizard* wizard, GeneralSetupPage* page) : Nx_WizardPage(wizard), m_page(page) {
    setPageName(QString::fromLatin1(GeneralSetupPage::kTitle));
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("GeneralSetupBody"));
    auto* column = new QVBoxLayout(body);

    auto* intro = new QLabel(QStringLiteral("Configure the input clock of the RKO_ADV phase-locked loop and the "
                                            "ports that the wrapper gives it."));
    intro->setWordWrap(true);
    column->addWidget(intro);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_inputFreq = new QLineEdit;
    m_inputFreq->setObjectName(QStringLiteral("inputFreq"));
    m_inputFreq->setFixedWidth(160);
    form->addRow(QStringLiteral("Input clock frequency (MHz):"), m_inputFreq);
    m_inputPort = new QLineEdit;
    m_inputPort->setObjectName(QStringLiteral("inputPort"));
    m_inputPort->setFixedWidth(220);
    form->addRow(QStringLiteral("Input clock port name:"), m_inputPort);
    m_feedback = new QComboBox;
    m_feedback->setObjectName(QStringLiteral("feedback"));
    m_feedback->setFixedWidth(220);
    Olm_Attribute* fb = page->Main()->Block() ? page->Main()->Block()->GetNamedAttribute("OLMW_ONLY_PLL_FBSRC_CLKOUT")
                                              : nullptr;
    if (fb) {
        for (int i = 0; i < fb->GetPossibleValues().GetSize(); ++i)
            m_feedback->addItem(QString::fromLatin1(fb->GetPossibleValues().GetAt(i).c_str()));
    } else {
        m_feedback->addItem(QStringLiteral("CLKFBOUT"));
    }
    form->addRow(QStringLiteral("Feedback source:"), m_feedback);
    m_tolerance = new QLineEdit;
    m_tolerance->setObjectName(QStringLiteral("tolerance"));
    m_tolerance->setFixedWidth(160);
    form->addRow(QStringLiteral("Frequency tolerance (ppm):"), m_tolerance);
    m_useReset = new QCheckBox(QStringLiteral("Reset input, port name:"));
    m_useReset->setObjectName(QStringLiteral("useReset"));
    m_resetPort = new QLineEdit;
    m_resetPort->setObjectName(QStringLiteral("resetPort"));
    m_resetPort->setFixedWidth(220);
    form->addRow(m_useReset, m_resetPort);
    m_useLocked = new QCheckBox(QStringLiteral("Locked output, port name:"));
    m_useLocked->setObjectName(QStringLiteral("useLocked"));
    m_lockedPort = new QLineEdit;
    m_lockedPort->setObjectName(QStringLiteral("lockedPort"));
    m_lockedPort->setFixedWidth(220);
    form->addRow(m_useLocked, m_lockedPort);
    column->addLayout(form);

    const PllLimits& limits = page->Main()->Limits();
    auto* info = new QLabel(QStringLiteral("Device limits: input clock %1, phase detector %2, VCO %3.")
                                .arg(Range(limits.input), Range(limits.pfd), Range(limits.vco)));
    info->setObjectName(QStringLiteral("limits"));
    info->setWordWrap(true);
    column->addSpacing(12);
    column->addWidget(info);
    column->addStretch(1);

    QObject::connect(m_useReset, &QCheckBox::toggled, m_resetPort, &QWidget::setEnabled);
    QObject::connect(m_useLocked, &QCheckBox::toggled, m_lockedPort, &QWidget::setEnabled);
    setPageWidget(body);
}

int GeneralSetupGui::advancedSupport() { return 0; }

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

void GeneralSetupGui::onActive() {}

bool GeneralSetupGui::onCancel() { return true; }

bool GeneralSetupGui::onNext() {
    widgetsToData();
    return m_page->Check();
}

void GeneralSetupGui::onMoreInfo() { m_page->InvokeMoreInfo(GeneralSetupPage::kTitle); }

}  // namespace TklPll
