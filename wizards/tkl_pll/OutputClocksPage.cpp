#include "OutputClocksPage.h"

#include "ClockBuffers.h"
#include "PllWizard.h"

#include "kit/Olm_KitGui.h"

#include <QGridLayout>
#include <QLabel>

namespace TklPll {

namespace {

std::string Name(int n) { return "CLKOUT" + std::to_string(n); }
std::string Wiz(int n, const char* suffix) { return "OLMW_ONLY_CLKOUT" + std::to_string(n) + suffix; }

constexpr int kAchievedColumn = 6;

// Empty, or why a port that the clock buffer of output n adds clashes with
// a port named before it (the other ports, then the buffers' of outputs
// before n).
std::string BufferPortClash(const Olm_FieldValues& values, int n) {
    if (!values.IsOn(Wiz(n, "_USED"))) return {};
    std::vector<std::pair<std::string, std::string>> ports;  // name, whose
    const auto port = [&values](const std::string& pin) { return values.Text(Olm_Field::PortAttribute(pin)); };
    ports.emplace_back(port("CLKIN1"), "the input clock");
    if (values.IsOn("OLMW_ONLY_USE_RST")) ports.emplace_back(port("RST"), "the reset");
    if (values.IsOn("OLMW_ONLY_USE_LOCKED")) ports.emplace_back(port("LOCKED"), "the locked output");
    for (int k = 0; k < kMaxOutputs; ++k)
        if (values.IsOn(Wiz(k, "_USED"))) ports.emplace_back(port(Name(k)), Name(k));
    for (int k = 0; k <= n; ++k) {
        if (!values.IsOn(Wiz(k, "_USED"))) continue;
        const std::string choice = values.Text("OLMW_ONLY_SETCLKBUF_," + Name(k));
        for (const std::string& extra : ClockBuffers::ExtraPorts(choice, port(Name(k)))) {
            for (const auto& [name, whose] : ports) {
                if (!Pal::StrUtil::EqualNoCase(name, extra) || k != n) continue;
                return "The clock buffer '" + choice + "' of " + Name(n) + " adds the port " + extra +
                       ", which is already the port of " + whose + "; give " + Name(n) + " another port name.";
            }
            ports.emplace_back(extra, "the clock buffer of " + Name(k));
        }
    }
    return {};
}

}  // namespace

OutputClocksPage::OutputClocksPage(Olm_KitMain* main, PllWizard* wizard)
    : Olm_KitPage(main, "Output Clocks",
                  "Enable the output clocks and give each its frequency, phase, duty cycle, clock buffer and port "
                  "name. The dividers are worked out as you type."),
      m_wizard(wizard) {
    Olm_KitTable& table = AddTable({"Output", "Frequency (MHz)", "Phase (deg)", "Duty cycle", "Clock buffer",
                                    "Port name", "Achieved (MHz)", "Error (ppm)"});
    for (int n = 0; n < kMaxOutputs; ++n) {
        const std::string out = Name(n);
        const std::string used = Wiz(n, "_USED");
        const auto enabled = [used](const Olm_FieldValues& v) { return v.IsOn(used); };
        const std::vector<std::string> buffers(kBufferTypes.begin(), kBufferTypes.end());
        table.AddRow({Olm_Field(used, out), Olm_Field(Wiz(n, "_FREQ"), out + " frequency (MHz)")
                                                             .Allow(Olm_AllowedValues())
                                                             .TypedAsNumber()
                                                             .EnabledWhen(enabled),
                      Olm_Field(out + "_PHASE", out + " phase (deg)").EnabledWhen(enabled),
                      Olm_Field(out + "_DUTY", out + " duty cycle").EnabledWhen(enabled),
                      Olm_Field("OLMW_ONLY_SETCLKBUF_," + out, out + " clock buffer")
                          .Default(kBufferTypes[0])
                          .Allow(Olm_AllowedValues::Choices(buffers))
                          .EnabledWhen(enabled),
                      Olm_Field::Port(out, out + " port name").EnabledWhen(enabled).WhenDisabled(Olm_Field::Tie::Off)});
    }
    AddCheck({Wiz(0, "_USED")}, [](const Olm_FieldValues& values) {
        for (int n = 0; n < kMaxOutputs; ++n)
            if (values.IsOn(Wiz(n, "_USED"))) return std::string();
        return std::string("Enable at least one output clock.");
    });
    AddCheck({}, [](const Olm_FieldValues& values) {
        const std::string feedback = values.Text("OLMW_ONLY_PLL_FBSRC_CLKOUT");
        if (feedback == "CLKFBOUT") return std::string();
        int n = -1;
        if (feedback.size() == 7 && feedback.rfind("CLKOUT", 0) == 0) n = feedback[6] - '0';
        if (n >= 0 && n < kMaxOutputs && values.IsOn(Wiz(n, "_USED"))) return std::string();
        return "The feedback source " + feedback + " is not an enabled output clock.";
    });
    // The ports a buffer adds (<port>_ce, _alt, _sel) must differ from every
    // other port, also in more than letter case.
    for (int n = 0; n < kMaxOutputs; ++n)
        AddCheck({Olm_Field::PortAttribute(Name(n))}, [n](const Olm_FieldValues& values) { return BufferPortClash(values, n); });
    AddCheck({}, [wizard](const Olm_FieldValues& values) {
        const PllResult result = wizard->Solve(values, true);
        return result.ok ? std::string() : "RKO_ADV cannot generate the requested clocks. " + result.Message();
    });
    AddNote([wizard](const Olm_FieldValues& values) {
        const PllResult result = wizard->Solve(values, true);
        if (!result.ok) return result.Message();
        return "Input divider " + std::to_string(result.inputDiv) + ", feedback multiplier " +
               std::to_string(result.feedbackMult) + ": phase detector " + FormatMHz(result.pfdMHz) + " MHz, VCO " +
               FormatMHz(result.vcoMHz) + " MHz.";
    });
}

void OutputClocksPage::BuildGui(Olm_KitGui& gui) {
    QGridLayout* grid = gui.Table(0);
    for (int n = 0; n < kMaxOutputs; ++n) {
        for (int c = kAchievedColumn; c <= kAchievedColumn + 1; ++c) {
            auto* label = new QLabel;
            label->setObjectName(QString::fromLatin1(c == kAchievedColumn ? "achieved%1" : "error%1").arg(n));
            label->setMinimumWidth(c == kAchievedColumn ? 100 : 80);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(label, n + 1, c);
        }
    }
    grid->setColumnStretch(5, 1);
}

void OutputClocksPage::Refresh(Olm_KitGui& gui) {
    const PllResult result = m_wizard->Solve(gui.Values(), true);
    QGridLayout* grid = gui.Table(0);
    for (int n = 0; n < kMaxOutputs; ++n) {
        const bool show = result.ok && gui.Values().IsOn(Wiz(n, "_USED"));
        const PllOutputResult& out = result.outputs[n];
        const auto set = [&](int column, const QString& text) {
            if (QLayoutItem* item = grid->itemAtPosition(n + 1, column))
                if (auto* label = qobject_cast<QLabel*>(item->widget())) label->setText(show ? text : QString());
        };
        set(kAchievedColumn, QString::fromStdString(FormatMHz(out.achievedMHz)));
        set(kAchievedColumn + 1, QString::number(out.errorPpm, 'f', 1));
    }
}

}  // namespace TklPll
