#include "MultWizard.h"

#include <algorithm>

namespace DspMult {

namespace {

// The product can be no wider than the full product of the operands; it
// follows their widths unless the designer unlocks it.
class SetupPage : public Olm_KitPage {
public:
    explicit SetupPage(Olm_KitMain* main)
        : Olm_KitPage(main, "General Setup",
                      "Choose the widths and signedness of the operands and the width of the product, and name the "
                      "ports of the multiplier.") {
        AddField("A_WIDTH", "Operand A width (bits):");
        AddField("A_SIGNED", "Operand A signed:");
        AddField("B_WIDTH", "Operand B width (bits):");
        AddField("B_SIGNED", "Operand B signed:");
        AddField("P_WIDTH", "Product width (bits):").DeriveFrom({"A_WIDTH", "B_WIDTH"}, [](const Olm_FieldValues& v) {
            return std::to_string(v.Int("A_WIDTH") + v.Int("B_WIDTH"));
        });
        AddPort("A", "Operand A port name:").BusWidthFrom("A_WIDTH");
        AddPort("B", "Operand B port name:").BusWidthFrom("B_WIDTH");
        AddPort("P", "Product port name:").BusWidthFrom("P_WIDTH");
        AddCheck({"P_WIDTH"}, [](const Olm_FieldValues& v) {
            const int a = v.Int("A_WIDTH"), b = v.Int("B_WIDTH"), p = v.Int("P_WIDTH");
            if (p <= a + b) return std::string();
            return "The product width " + std::to_string(p) + " is larger than the full product of " +
                   std::to_string(a) + " x " + std::to_string(b) + " bits (" + std::to_string(a + b) + " bits).";
        });
    }
};

bool Clocked(const Olm_FieldValues& values) { return MultWizard::Latency(values) > 0; }

}  // namespace

MultWizard::MultWizard(bool batchMode) : Olm_KitMain("dsp_mult", batchMode, "Olm Wizard - DSP Multiplier") {
    SetBlockType("DSP");
    AddPage<SetupPage>();

    Olm_KitPage& pipeline = AddPage("Pipelining",
                                    "Choose the register stages of the multiplier. With no register at all the "
                                    "multiplier needs no clock, clock enable or reset.");
    pipeline.AddField("A_PIPE", "Operand A registers:");
    pipeline.AddField("B_PIPE", "Operand B registers:");
    pipeline.AddField("M_PIPE", "Multiplier register:");
    pipeline.AddField("P_PIPE", "Product register:");
    pipeline.AddField("RESET_TYPE", "Reset type:").EnabledWhen(Clocked);
    pipeline.AddPort("CLK", "Clock port name:").EnabledWhen(Clocked).WhenDisabled(Olm_Field::Tie::Ground);
    pipeline.AddField("OLMW_ONLY_USE_CE", "Clock enable:")
        .Default("TRUE")
        .Allow(Olm_AllowedValues::Boolean())
        .EnabledWhen(Clocked);
    pipeline.AddPort("CE", "Clock enable port name:")
        .EnabledWhen([](const Olm_FieldValues& v) { return Clocked(v) && v.IsOn("OLMW_ONLY_USE_CE"); })
        .WhenDisabled(Olm_Field::Tie::Vcc);
    pipeline.AddField("OLMW_ONLY_USE_RST", "Reset:")
        .Default("TRUE")
        .Allow(Olm_AllowedValues::Boolean())
        .EnabledWhen(Clocked);
    pipeline.AddPort("RST", "Reset port name:")
        .EnabledWhen([](const Olm_FieldValues& v) { return Clocked(v) && v.IsOn("OLMW_ONLY_USE_RST"); })
        .WhenDisabled(Olm_Field::Tie::Ground);
    pipeline.AddNote([](const Olm_FieldValues& v) {
        return Latency(v) > 0 ? "Latency: " + LatencyText(v) + " from the operands to the product."
                              : std::string("Latency: none, the multiplier is combinational.");
    });
    // Unequal input registers take the operands at different cycles: say so.
    pipeline.AddNote([](const Olm_FieldValues& v) {
        const int a = v.Int("A_PIPE"), b = v.Int("B_PIPE");
        if (a == b) return std::string();
        const bool aLonger = a > b;
        const int lag = aLonger ? a - b : b - a;
        return "Operand A passes " + std::to_string(a) + " and operand B " + std::to_string(b) +
               " input registers: present operand " + (aLonger ? "B " : "A ") + std::to_string(lag) + " clock cycle" +
               (lag > 1 ? "s" : "") + " after operand " + (aLonger ? "A" : "B") + " so that they are multiplied together.";
    });
}

int MultWizard::Latency(const Olm_FieldValues& values) {
    return std::max(values.Int("A_PIPE"), values.Int("B_PIPE")) + values.Int("M_PIPE") + values.Int("P_PIPE");
}

std::string MultWizard::LatencyText(const Olm_FieldValues& values) {
    const int common = values.Int("M_PIPE") + values.Int("P_PIPE");
    const int a = values.Int("A_PIPE") + common, b = values.Int("B_PIPE") + common;
    // Operands with registers of their own each reach the product on their
    // own clock cycle: the product of A at cycle t is with B of cycle t + a - b.
    if (a == b) return std::to_string(a) + " clock cycles";
    return std::to_string(a) + " clock cycles from A and " + std::to_string(b) + " from B";
}

bool MultWizard::Apply() {
    Olm_ModelEdit::SetValue(Block(), "OPERATION_MODE", "MULTIPLY");
    Olm_ModelEdit::SetValue(Block(), "OLMW_ONLY_LATENCY", std::to_string(Latency(ModelValues())));
    return true;
}

std::vector<std::string> MultWizard::FeatureLines() {
    const Olm_FieldValues& v = ModelValues();
    const auto sign = [&v](const char* attribute) { return v.IsOn(attribute) ? "signed" : "unsigned"; };
    return {"1 DSP configured as a multiplier: A " + v.Text("A_WIDTH") + " bits " + sign("A_SIGNED") + " x B " +
            v.Text("B_WIDTH") + " bits " + sign("B_SIGNED") + ", product " + v.Text("P_WIDTH") + " bits, latency " +
            LatencyText(v) + "."};
}

void MultWizard::AddConstraints(Olm_ConstraintTemplate& pkx) {
    Olm_KitMain::AddConstraints(pkx);
    // The multiplier does not know its clock: a line for the designer to fill in.
    if (Clocked(ModelValues())) pkx.AddClock(ModelValues().Text(Olm_Field::PortAttribute("CLK")), 0.0);
}

}  // namespace DspMult
