#include "PipelineGui.h"

#include "MultWizMain.h"
#include "PipelinePage.h"

#include "gui_nx/Nx_Wizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace DspMult {

namespace {

QComboBox* ChoiceBox(Olm_Block* block, const char* attr, const char* name) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    if (Olm_Attribute* attribute = block ? block->GetNamedAttribute(attr) : nullptr) {
        for (int i = 0; i < attribute->GetPossibleValues().GetSize(); ++i)
            box->addItem(QString::fromLatin1(attribute->GetPossibleValues().GetAt(i).c_str()));
    }
    box->setFixedWidth(110);
    return box;
}

QLineEdit* PortEdit(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(220);
    return edit;
}

}  // namespace

PipelineGui::PipelineGui(Nx_Wizard* wizard, PipelinePage* page) : Nx_WizardPage(wizard), m_page(page) {
    setPageName(QString::fromLatin1(page->Title().c_str()));
    Olm_Block* block = page->Main()->Block();
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("PipelineBody"));
    auto* column = new QVBoxLayout(body);
    auto* intro = new QLabel(QStringLiteral("Choose the register stages of the multiplier. With no register at all "
                                            "the multiplier needs no clock, clock enable or reset."));
    intro->setWordWrap(true);
    column->addWidget(intro);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_areg = ChoiceBox(block, "AREG", "areg");
    form->addRow(QStringLiteral("Operand A registers:"), m_areg);
    m_breg = ChoiceBox(block, "BREG", "breg");
    form->addRow(QStringLiteral("Operand B registers:"), m_breg);
    m_mreg = ChoiceBox(block, "MREG", "mreg");
    form->addRow(QStringLiteral("Multiplier register:"), m_mreg);
    m_preg = ChoiceBox(block, "PREG", "preg");
    form->addRow(QStringLiteral("Product register:"), m_preg);
    m_resetType = ChoiceBox(block, "RESET_TYPE", "resetType");
    form->addRow(QStringLiteral("Reset type:"), m_resetType);
    m_portClk = PortEdit("portClk");
    form->addRow(QStringLiteral("Clock port name:"), m_portClk);
    m_useCe = new QCheckBox(QStringLiteral("Clock enable, port name:"));
    m_useCe->setObjectName(QStringLiteral("useCe"));
    m_portCe = PortEdit("portCe");
    form->addRow(m_useCe, m_portCe);
    m_useRst = new QCheckBox(QStringLiteral("Reset, port name:"));
    m_useRst->setObjectName(QStringLiteral("useRst"));
    m_portRst = PortEdit("portRst");
    form->addRow(m_useRst, m_portRst);
    column->addLayout(form);
    m_latency = new QLabel;
    m_latency->setObjectName(QStringLiteral("latency"));
    column->addSpacing(12);
    column->addWidget(m_latency);
    column->addStretch(1);

    for (QComboBox* box : {m_areg, m_breg, m_mreg, m_preg})
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [this] { UpdateLatency(); });
    QObject::connect(m_useCe, &QCheckBox::toggled, m_useCe, [this] { UpdateLatency(); });
    QObject::connect(m_useRst, &QCheckBox::toggled, m_useRst, [this] { UpdateLatency(); });
    setPageWidget(body);
}

int PipelineGui::advancedSupport() { return 0; }

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

void PipelineGui::onActive() {}

bool PipelineGui::onCancel() { return true; }

bool PipelineGui::onNext() {
    widgetsToData();
    return m_page->Check();
}

void PipelineGui::onMoreInfo() { m_page->InvokeMoreInfo(m_page->Title()); }

}  // namespace DspMult
