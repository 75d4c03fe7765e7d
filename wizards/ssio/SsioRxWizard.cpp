#include "SsioRxWizard.h"

#include "SsioNetlist.h"

#include "OlmBase.h"

#include <limits>

namespace Ssio {

namespace {

constexpr const char* kUseDelay = "OLMW_ONLY_USE_DELAY";
constexpr const char* kDelayNet = "DATA_DLY";  // IDLY.O to ISER.D, a bit per line

bool DelayOn(const Olm_FieldValues& values) { return values.IsOn(kUseDelay); }

Role RxRole() {
    return {"ssio_rx", "Olm Wizard - Source-Synchronous Receiver", "ISER", "DATA_RATE", "receive", "Q", "I", "IDLY",
            {kDelayNet, SsioNetlist::CascadeNet("ISER", 1), SsioNetlist::CascadeNet("ISER", 2)}};
}

}  // namespace

SsioRxWizard::SsioRxWizard(bool batchMode)
    : SsioWizard(RxRole(), batchMode, "Receiver Setup",
                 "Receive a bus of serial lines: an ISER per line shifts the bits in on the fast clock and hands "
                 "them on as parallel words on the word clock. The clocks follow from the bit rate.") {
    SsioPage& setup = SetupPage();
    setup.AddPort("I", "Serial data port:").OnBlock("IDLY");
    setup.AddPort("Q", "Parallel data port:");
    setup.AddPort("CLK", "Fast clock port:");
    setup.AddPort("CLKWORD", "Word clock port:");
    setup.AddPort("RST", "Reset port:");

    SsioPage& delay = AddPage<SsioPage>(this, "Input Delay",
                                        "Delay every serial line by the same time before its ISER, to place the "
                                        "sampling point within the bit. The delay is made of taps whose length "
                                        "follows from the reference clock of the delay controller.");
    delay.AddField(kUseDelay, "Input delay:").Default("FALSE").Allow(Olm_AllowedValues::Boolean());
    delay.AddField("OLMW_ONLY_DELAY_PS", "Delay of each line (ps):").OnBlock("IDLY").EnabledWhen(DelayOn);
    delay.AddField("REF_FREQ", "Reference clock (MHz):").OnBlock("IDLY").EnabledWhen(DelayOn);
    delay.AddPort("REFCLK", "Reference clock port:").OnBlock("IDLYCTRL").EnabledWhen(DelayOn);
    delay.AddPort("READY", "Delay ready port:").OnBlock("IDLYCTRL").EnabledWhen(DelayOn);
    delay.AddRule([this](const Olm_FieldValues& values) {
        return DelayOn(values) ? Taps(values).message : std::string();
    }, {"OLMW_ONLY_DELAY_PS", "REF_FREQ"});
    delay.AddNote([this](const Olm_FieldValues& values) {
        if (!DelayOn(values)) return std::string("No input delay: each serial line goes straight to its ISER.");
        const TapPlan taps = Taps(values);
        if (!taps.ok) return taps.message;
        return "Each line is delayed by " + std::to_string(taps.taps) + " taps of " + SsioTiming::Number(taps.tapPs) +
               " ps = " + SsioTiming::Number(taps.delayPs) + " ps (" + values.Text("OLMW_ONLY_DELAY_PS") +
               " ps asked; at most " + std::to_string(Timing().GetLimits().maxTaps) + " taps, " +
               SsioTiming::Number(taps.maxPs) + " ps); one IDLYCTRL calibrates the IDLYs of all lines.";
    });
    // The data's range of the delay spans every reference clock; the tooltip
    // gives the longest delay at the chosen one, as the check counts it.
    delay.TipOf("OLMW_ONLY_DELAY_PS", [this](const Olm_FieldValues& values) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const TapPlan plan = Timing().Taps(0.0, values.Number("REF_FREQ", nan));
        if (!plan.ok) return plan.message;
        return "Delay of each line (ps): made the nearest whole number of taps of " + SsioTiming::Number(plan.tapPs) +
               " ps, at most " + std::to_string(Timing().GetLimits().maxTaps) + " taps, " +
               SsioTiming::Number(plan.maxPs) + " ps, at " + values.Text("REF_FREQ") + " MHz.";
    });
}

TapPlan SsioRxWizard::Taps(const Olm_FieldValues& values) const {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return Timing().Taps(values.Number("OLMW_ONLY_DELAY_PS", nan), values.Number("REF_FREQ", nan));
}

bool SsioRxWizard::Apply() {
    const Olm_FieldValues& values = ModelValues();
    m_delay = DelayOn(values);
    const TapPlan taps = Taps(values);
    if (m_delay && !taps.ok) {
        Error("%s", taps.message.c_str());
        return false;
    }
    m_taps = taps.taps;
    SsioNetlist netlist(*GetWizDataPtr());
    netlist.RemoveInstances("IDLY");
    if (!SsioWizard::Apply()) return false;
    if (m_delay) netlist.Net(kDelayNet, BusWidth(values));
    // Exactly one delay controller serves every IDLY.
    if (Olm_Block* control = GetWizDataPtr()->GetPrimitiveBlock("IDLYCTRL")) control->SetIsActive(m_delay);
    return true;
}

void SsioRxWizard::WireBit(SsioNetlist& netlist, int bit, Olm_Block& master, Olm_Block* slave) {
    if (slave) SsioNetlist::Disconnect(*slave, "D");  // the master passes the bits on
    Olm_Block* templ = GetWizDataPtr()->GetPrimitiveBlock("IDLY");
    if (!m_delay || !templ) {
        SsioNetlist::ConnectBits(master, "D", 0, 0, SerialNet(), bit);
        return;
    }
    Olm_Block* delay = netlist.NewInstance(*templ, bit + 1);
    Olm_ModelEdit::SetValue(delay, "DELAY_TAPS", std::to_string(m_taps));
    SsioNetlist::ConnectBits(*delay, "I", 0, 0, SerialNet(), bit);
    SsioNetlist::ConnectBits(*delay, "O", 0, 0, kDelayNet, bit);
    SsioNetlist::ConnectBits(master, "D", 0, 0, kDelayNet, bit);
}

std::vector<std::string> SsioRxWizard::FeatureLines() {
    std::vector<std::string> lines = SsioWizard::FeatureLines();
    const Olm_FieldValues& values = ModelValues();
    const TapPlan taps = Taps(values);
    if (DelayOn(values) && taps.ok) {
        const int bits = BusWidth(values);
        lines.push_back(std::to_string(bits) + (bits == 1 ? " IDLY delays" : " IDLYs delay") + " each line by " +
                        std::to_string(taps.taps) + " taps of " + SsioTiming::Number(taps.tapPs) + " ps (" +
                        SsioTiming::Number(taps.delayPs) + " ps); 1 IDLYCTRL calibrates them from " + Port("REFCLK") +
                        " at " + SsioTiming::Number(values.Number("REF_FREQ")) + " MHz.");
    }
    return lines;
}

void SsioRxWizard::AddConstraints(Olm_ConstraintTemplate& pkx) {
    SsioWizard::AddConstraints(pkx);
    const Olm_FieldValues& values = ModelValues();
    if (!DelayOn(values)) return;
    pkx.AddSite(Port("REFCLK"));
    pkx.AddClock(Port("REFCLK"), 1000.0 / values.Number("REF_FREQ"));
}

}  // namespace Ssio
