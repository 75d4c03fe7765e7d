#include "PllWizard.h"

#include "ClockBuffers.h"
#include "OutputClocksPage.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace TklPll {

namespace {

constexpr const char* kPrim = "RKO_ADV";

std::string Out(int n, const char* suffix) { return "CLKOUT" + std::to_string(n) + suffix; }
std::string Wiz(int n, const char* suffix) { return "OLMW_ONLY_CLKOUT" + std::to_string(n) + suffix; }

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// A number the user typed, or NaN (the solver then quotes the text).
double Parsed(const std::string& text) {
    double value = std::numeric_limits<double>::quiet_NaN();
    Pal::StrUtil::ParseNumber(text, value);
    return value;
}

// An attribute that an option file or the user set counts over what the
// design file says: it is the one that is active.
bool IsSet(Olm_Block* block, const std::string& name) {
    Olm_Attribute* attr = block->GetNamedAttribute(name.c_str());
    return attr && attr->IsActive();
}

bool ReadLimits(Olm_Block* block, PllLimits& limits, std::string& missing) {
    struct Source {
        const char* attr;
        PllRange* range;
        PllIntRange* intRange;
    };
    const Source sources[] = {
        {"OLMW_ONLY_CLKIN1_FREQ", &limits.input, nullptr}, {"OLMW_ONLY_PFD_FREQ", &limits.pfd, nullptr},
        {"OLMW_ONLY_VCO_FREQ", &limits.vco, nullptr},      {"REFCLK_DIV", nullptr, &limits.inputDiv},
        {"CLKFBOUT_MULT", nullptr, &limits.feedbackMult},  {"CLKOUT0_DIVIDE", nullptr, &limits.outputDiv},
    };
    for (const Source& source : sources) {
        Olm_Attribute* attr = block->GetNamedAttribute(source.attr);
        const Olm_AllowedValues rule = attr ? Olm_AllowedValues::Of(*attr) : Olm_AllowedValues();
        bool ok = rule.IsRange();
        if (ok && source.range) *source.range = {rule.GetMin(), rule.GetMax()};
        if (ok && source.intRange) {
            ok = rule.GetKind() == Olm_AllowedValues::Kind::Integer && rule.GetMin() >= 1;
            *source.intRange = {static_cast<int>(rule.GetMin()), static_cast<int>(rule.GetMax())};
        }
        if (!ok) {
            missing = source.attr;
            return false;
        }
    }
    return true;
}

class GeneralSetupPage : public Olm_KitPage {
public:
    GeneralSetupPage(Olm_KitMain* main, PllWizard* wizard)
        : Olm_KitPage(main, "General Setup",
                      "Configure the input clock of the RKO_ADV phase-locked loop and the ports that the wrapper "
                      "gives it."),
          m_wizard(wizard) {
        // Frequencies are judged by the solver, which names the limit that
        // rules a request out and reports every output at once.
        AddField("OLMW_ONLY_CLKIN1_FREQ", "Input clock frequency (MHz):").Allow(Olm_AllowedValues()).TypedAsNumber();
        AddPort("CLKIN1", "Input clock port name:");
        AddField("OLMW_ONLY_PLL_FBSRC_CLKOUT", "Feedback source:").Default("CLKFBOUT");
        AddField("OLMW_ONLY_FREQ_TOLERANCE_PPM", "Frequency tolerance (ppm):")
            .Default("1000")
            .Allow(Olm_AllowedValues::Numbers(0, 1e6));
        AddField("OLMW_ONLY_USE_RST", "Reset input:").Default("TRUE").Allow(Olm_AllowedValues::Boolean());
        AddPort("RST", "Reset port name:")
            .EnabledWhen([](const Olm_FieldValues& v) { return v.IsOn("OLMW_ONLY_USE_RST"); })
            .WhenDisabled(Olm_Field::Tie::Ground);
        AddField("OLMW_ONLY_USE_LOCKED", "Locked output:").Default("TRUE").Allow(Olm_AllowedValues::Boolean());
        AddPort("LOCKED", "Locked port name:")
            .EnabledWhen([](const Olm_FieldValues& v) { return v.IsOn("OLMW_ONLY_USE_LOCKED"); })
            .WhenDisabled(Olm_Field::Tie::Off);
        AddNote([wizard](const Olm_FieldValues&) {
            const PllLimits& l = wizard->Limits();
            const auto range = [](const PllRange& r) { return FormatMHz(r.min) + " to " + FormatMHz(r.max) + " MHz"; };
            return "Device limits: input clock " + range(l.input) + ", phase detector " + range(l.pfd) + ", VCO " +
                   range(l.vco) + ".";
        });
    }

    bool Check(const Olm_FieldValues& values) override {
        const PllResult input = m_wizard->Solve(values, false);
        if (input.ok) return true;
        Error("RKO_ADV cannot use this input clock. %s", input.Message().c_str());
        return false;
    }

private:
    PllWizard* m_wizard;
};

}  // namespace

PllWizard::PllWizard(bool batchMode) : Olm_KitMain("tkl_pll", batchMode, "Olm Wizard - Single PLL") {
    SetBlockType(kPrim);
    AddPage<GeneralSetupPage>(this);
    AddPage<OutputClocksPage>(this);
}

bool PllWizard::Prepare() {
    std::string missing;
    if (!ReadLimits(Block(), m_limits, missing)) {
        Error("The installed data gives no usable range for %s of RKO_ADV.", missing.c_str());
        return false;
    }
    if (IsExistingKFZ()) {
        // The outputs go straight to their ports again, as the pages see them.
        ClockBuffers::Remove(*GetWizDataPtr(), *Block());
        RequestsFromDesign();
    }
    return true;
}

void PllWizard::RequestsFromDesign() {
    Olm_Block* block = Block();
    double period = 0.0, d = 0.0, m = 0.0;
    if (!IsSet(block, "OLMW_ONLY_CLKIN1_FREQ") &&
        Pal::StrUtil::ParseNumber(Olm_ModelEdit::Value(block, "INCLK1_PERIOD"), period) && period > 0.0)
        Olm_ModelEdit::SetValue(block, "OLMW_ONLY_CLKIN1_FREQ", FormatMHz(1000.0 / period));
    const double fin = Parsed(ModelValues().Text("OLMW_ONLY_CLKIN1_FREQ"));
    const bool haveVco = Pal::StrUtil::ParseNumber(Olm_ModelEdit::Value(block, "REFCLK_DIV"), d) &&
                         Pal::StrUtil::ParseNumber(Olm_ModelEdit::Value(block, "CLKFBOUT_MULT"), m) && d > 0.0 &&
                         std::isfinite(fin);
    for (int n = 0; n < kMaxOutputs; ++n) {
        const Olm_Pin* pin = block->GetNamedPin(Out(n, "").c_str());
        if (!IsSet(block, Wiz(n, "_USED")))
            Olm_ModelEdit::SetValue(block, Wiz(n, "_USED").c_str(), pin && pin->IsActive() ? "TRUE" : "FALSE");
        double o = 0.0;
        if (!IsSet(block, Wiz(n, "_FREQ")) && haveVco &&
            Pal::StrUtil::ParseNumber(Olm_ModelEdit::Value(block, Out(n, "_DIVIDE").c_str()), o) && o > 0.0)
            Olm_ModelEdit::SetValue(block, Wiz(n, "_FREQ").c_str(), FormatMHz(fin * m / d / o));
    }
}

PllResult PllWizard::Solve(const Olm_FieldValues& values, bool withOutputs) const {
    const std::string inputText = values.Text("OLMW_ONLY_CLKIN1_FREQ");
    std::optional<double> tolerance;
    if (double ppm = 0.0; Pal::StrUtil::ParseNumber(values.Text("OLMW_ONLY_FREQ_TOLERANCE_PPM"), ppm)) tolerance = ppm;
    std::array<PllOutputRequest, kMaxOutputs> requests{};
    for (int n = 0; withOutputs && n < kMaxOutputs; ++n) {
        requests[n].enabled = values.IsOn(Wiz(n, "_USED"));
        requests[n].text = values.Text(Wiz(n, "_FREQ"));
        requests[n].freqMHz = Parsed(requests[n].text);
        requests[n].tolerancePpm = tolerance;
    }
    return PllSolver(m_limits).Solve(Parsed(inputText), requests, inputText);
}

bool PllWizard::Apply() {
    Olm_WizData* data = GetWizDataPtr();
    Olm_Block* block = Block();
    ClockBuffers::Remove(*data, *block);  // those of an earlier pass
    const Olm_FieldValues& values = ModelValues();
    const double fin = Parsed(values.Text("OLMW_ONLY_CLKIN1_FREQ"));
    if (fin > 0.0) Olm_ModelEdit::SetValue(block, "INCLK1_PERIOD", Fixed(1000.0 / fin, 3));
    const PllResult result = Solve(values, true);
    if (result.ok) {
        Olm_ModelEdit::SetValue(block, "REFCLK_DIV", std::to_string(result.inputDiv));
        Olm_ModelEdit::SetValue(block, "CLKFBOUT_MULT", std::to_string(result.feedbackMult));
    }
    for (int n = 0; n < kMaxOutputs; ++n) {
        if (!values.IsOn(Wiz(n, "_USED"))) continue;
        if (result.ok && result.outputs[n].divider > 0)
            Olm_ModelEdit::SetValue(block, Out(n, "_DIVIDE").c_str(), std::to_string(result.outputs[n].divider));
        // Phases with three decimals, duty cycles with two, as the primitive takes them.
        if (double phase = 0.0; Pal::StrUtil::ParseNumber(values.Text(Out(n, "_PHASE")), phase))
            Olm_ModelEdit::SetValue(block, Out(n, "_PHASE").c_str(), Fixed(phase, 3) == "-0.000" ? "0.000" : Fixed(phase, 3));
        if (double duty = 0.0; Pal::StrUtil::ParseNumber(values.Text(Out(n, "_DUTY")), duty))
            Olm_ModelEdit::SetValue(block, Out(n, "_DUTY").c_str(), Fixed(duty, 2));
    }
    // Feedback: CLKFBOUT straight back into CLKFBIN, or the chosen output's net.
    const std::string feedback = values.Text("OLMW_ONLY_PLL_FBSRC_CLKOUT");
    const bool internal = feedback == "CLKFBOUT";
    if (Olm_Pin* fbOut = block->GetNamedPin("CLKFBOUT")) {
        fbOut->SetIsActive(internal);
        fbOut->SetSigName(internal ? "CLKFBOUT_OUT" : "");
    }
    if (Olm_Pin* fbIn = block->GetNamedPin("CLKFBIN")) {
        fbIn->SetIsActive(true);
        fbIn->SetSigName(internal ? "CLKFBOUT_OUT" : feedback + "_OUT");
    }
    if (internal) data->AddSignal("CLKFBOUT_OUT", false, "");
    std::string error;
    if (ClockBuffers::Insert(*data, *block, values, error)) return true;
    Error("%s", error.c_str());
    return false;
}

std::vector<std::string> PllWizard::FeatureLines() {
    const Olm_FieldValues& values = ModelValues();
    std::string outputs;
    const PllResult result = Solve(values, true);
    for (int n = 0; n < kMaxOutputs && result.ok; ++n) {
        if (values.IsOn(Wiz(n, "_USED")))
            outputs += (outputs.empty() ? " " : ", ") + Out(n, "") + " " + FormatMHz(result.outputs[n].achievedMHz) + " MHz";
    }
    return {"Input clock " + values.Text("OLMW_ONLY_CLKIN1_FREQ") + " MHz; output clocks" + outputs + "."};
}

void PllWizard::AddConstraints(Olm_ConstraintTemplate& pkx) {
    Olm_KitMain::AddConstraints(pkx);
    const Olm_FieldValues& values = ModelValues();
    const double fin = Parsed(values.Text("OLMW_ONLY_CLKIN1_FREQ"));
    if (fin > 0.0) pkx.AddClock(values.Text(Olm_Field::PortAttribute("CLKIN1")), 1000.0 / fin);
    const PllResult result = Solve(values, true);
    for (int n = 0; n < kMaxOutputs && result.ok; ++n) {
        if (values.IsOn(Wiz(n, "_USED")) && result.outputs[n].achievedMHz > 0.0)
            pkx.AddClock(values.Text(Olm_Field::PortAttribute(Out(n, ""))), 1000.0 / result.outputs[n].achievedMHz);
    }
    if (std::vector<std::string> routes = ClockBuffers::RouteLines(values); !routes.empty())
        pkx.AddSection("Clock routing", std::move(routes));
}

std::vector<Olm_ClockWave> PllWizard::ClockWaves() {
    std::vector<Olm_ClockWave> waves;
    const Olm_FieldValues& values = ModelValues();
    const PllResult result = Solve(values, true);
    for (int n = 0; n < kMaxOutputs && result.ok; ++n) {
        if (!values.IsOn(Wiz(n, "_USED")) || !(result.outputs[n].achievedMHz > 0.0)) continue;
        const double phase = Parsed(values.Text(Out(n, "_PHASE")));
        const double duty = Parsed(values.Text(Out(n, "_DUTY")));
        waves.push_back({values.Text(Olm_Field::PortAttribute(Out(n, ""))), 1000.0 / result.outputs[n].achievedMHz,
                         std::isfinite(phase) ? phase : 0.0, std::isfinite(duty) ? duty : 0.5});
    }
    return waves;
}

}  // namespace TklPll
