#include "OutputClocksGui.h"

#include "OutputClocksPage.h"
#include "PllWizMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace TklPll {

namespace {

// A right-aligned label for a worked-out number.
QLabel* ResultLabel(const QString& name, int minWidth) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setMinimumWidth(minWidth);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

}  // namespace

OutputClocksGui::OutputClocksGui(Nx_Wizard* wizard, OutputClocksPage* page)
    : RefWizGui(wizard, page, "OutputClocksBody",
                QStringLiteral("Enable the output clocks and give each its frequency, phase, duty cycle, clock buffer "
                               "and port name. The dividers are worked out as you type.")),
      m_page(page) {
    QVBoxLayout* column = Column();

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    const char* headers[] = {"Output", "Frequency (MHz)", "Phase (deg)", "Duty cycle", "Clock buffer", "Port name",
                             "Achieved (MHz)", "Error (ppm)"};
    for (int c = 0; c < 8; ++c) {
        auto* header = new QLabel(QString::fromLatin1(headers[c]));
        QFont bold = header->font();
        bold.setBold(true);
        header->setFont(bold);
        grid->addWidget(header, 0, c, c >= 6 ? Qt::AlignRight : Qt::AlignLeft);
    }
    for (int n = 0; n < kMaxOutputs; ++n) {
        Row& row = m_rows[n];
        const QString id = QString::number(n);
        row.enabled = new QCheckBox(QStringLiteral("CLKOUT") + id);
        row.enabled->setObjectName(QStringLiteral("enabled") + id);
        row.freq = LineEdit(QStringLiteral("freq") + id, 110);
        row.phase = LineEdit(QStringLiteral("phase") + id, 80);
        row.duty = LineEdit(QStringLiteral("duty") + id, 70);
        row.buffer = new QComboBox;
        row.buffer->setObjectName(QStringLiteral("buffer") + id);
        for (const char* type : kBufferTypes) row.buffer->addItem(QString::fromLatin1(type));
        row.port = new QLineEdit;
        row.port->setObjectName(QStringLiteral("port") + id);
        row.port->setMinimumWidth(130);
        row.achieved = ResultLabel(QStringLiteral("achieved") + id, 100);
        row.error = ResultLabel(QStringLiteral("error") + id, 80);
        QWidget* widgets[] = {row.enabled, row.freq, row.phase, row.duty, row.buffer, row.port, row.achieved, row.error};
        for (int c = 0; c < 8; ++c) grid->addWidget(widgets[c], n + 1, c);

        QObject::connect(row.enabled, &QCheckBox::toggled, row.enabled, [this, n] {
            UpdateEnabled(n);
            Recalculate();
        });
        for (QLineEdit* edit : {row.freq, row.phase, row.duty})
            QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { Recalculate(); });
    }
    grid->setColumnStretch(5, 1);
    column->addLayout(grid);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setMinimumHeight(m_status->fontMetrics().lineSpacing() * 3);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addSpacing(8);
    column->addWidget(m_status);
    FinishPage();
}

void OutputClocksGui::dataToWidgets() {
    m_loading = true;
    const PllConfig& config = m_page->Main()->Config();
    for (int n = 0; n < kMaxOutputs; ++n) {
        const PllOutputConfig& out = config.outputs[n];
        Row& row = m_rows[n];
        row.enabled->setChecked(out.enabled);
        row.freq->setText(QString::fromStdString(out.freq));
        row.phase->setText(QString::fromStdString(out.phase));
        row.duty->setText(QString::fromStdString(out.duty));
        Olm_WizPage::SetComboBoxText(row.buffer, out.buffer);
        row.port->setText(QString::fromStdString(out.port));
        UpdateEnabled(n);
    }
    m_loading = false;
}

void OutputClocksGui::widgetsToData() {
    PllConfig& config = m_page->Main()->Config();
    for (int n = 0; n < kMaxOutputs; ++n) {
        PllOutputConfig& out = config.outputs[n];
        const Row& row = m_rows[n];
        out.enabled = row.enabled->isChecked();
        out.freq = row.freq->text().trimmed().toStdString();
        out.phase = row.phase->text().trimmed().toStdString();
        out.duty = row.duty->text().trimmed().toStdString();
        out.buffer = row.buffer->currentText().toStdString();
        out.port = row.port->text().trimmed().toStdString();
    }
}

void OutputClocksGui::UpdateEnabled(int n) {
    Row& row = m_rows[n];
    const bool on = row.enabled->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(row.freq), static_cast<QWidget*>(row.phase),
                       static_cast<QWidget*>(row.duty), static_cast<QWidget*>(row.buffer),
                       static_cast<QWidget*>(row.port)})
        w->setEnabled(on);
}

void OutputClocksGui::Recalculate() {
    if (m_loading) return;
    PllConfig config = m_page->Main()->Config();
    for (int n = 0; n < kMaxOutputs; ++n) {
        config.outputs[n].enabled = m_rows[n].enabled->isChecked();
        config.outputs[n].freq = m_rows[n].freq->text().trimmed().toStdString();
    }
    const PllResult result = m_page->Main()->Solve(config, true);
    for (int n = 0; n < kMaxOutputs; ++n) {
        const PllOutputResult& out = result.outputs[n];
        const bool show = config.outputs[n].enabled && result.ok;
        m_rows[n].achieved->setText(show ? QString::fromStdString(FormatMHz(out.achievedMHz)) : QString());
        m_rows[n].error->setText(show ? QString::number(out.errorPpm, 'f', 1) : QString());
    }
    if (result.ok) {
        m_status->setStyleSheet(QString());
        m_status->setText(QStringLiteral("Input divider %1, feedback multiplier %2: phase detector %3 MHz, VCO %4 MHz.")
                              .arg(result.inputDiv)
                              .arg(result.feedbackMult)
                              .arg(QString::fromStdString(FormatMHz(result.pfdMHz)),
                                   QString::fromStdString(FormatMHz(result.vcoMHz))));
    } else {
        m_status->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_status->setText(QString::fromStdString(result.Message()));
    }
}

void OutputClocksGui::onActive() { Recalculate(); }

}  // namespace TklPll
