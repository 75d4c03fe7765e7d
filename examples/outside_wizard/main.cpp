// A concrete wizard written outside the project, on the installed package
// alone: an adder/subtractor (wizard type dsp_add) on the DSP block of the
// installed DSP data. One page of bound fields; the toolkit does the rest.
//
//   outside_wizard --design NAME [--family F] [--options FILE] [--outdir DIR]
//                  [--hdl verilog|vhdl] [--batch] ... (olmwiz run's options)
#include "OlmKit.h"

#include <cstdio>
#include <string>

namespace {

bool Clocked(const Olm_FieldValues& values) { return values.Int("P_PIPE") > 0; }

// P = C + A or C - A (or either, chosen by the ADDSUB input while it runs).
class AdderWizard : public Olm_KitMain {
public:
    explicit AdderWizard(bool batch) : Olm_KitMain("dsp_add", batch, "Olm Wizard - DSP Adder") {
        SetDSPSupport(true);
        SetBlockType("DSP");
        Olm_KitPage& page = AddPage("General Setup", "Add or subtract two operands in a DSP block.");
        page.AddField("ADD_SUB_MODE", "Operation:");
        page.AddField("A_WIDTH", "Operand A width (bits):");
        page.AddField("C_WIDTH", "Operand C width (bits):");
        page.AddField("P_WIDTH", "Result width (bits):");
        page.AddField("P_PIPE", "Result register:");
        page.AddPort("A", "Operand A port:").BusWidthFrom("A_WIDTH");
        page.AddPort("C", "Operand C port:").BusWidthFrom("C_WIDTH");
        page.AddPort("P", "Result port:").BusWidthFrom("P_WIDTH");
        page.AddPort("ADDSUB", "Add/subtract port:")
            .EnabledWhen([](const Olm_FieldValues& v) { return v.Text("ADD_SUB_MODE") == "DYNAMIC"; })
            .WhenDisabled(Olm_Field::Tie::Ground);
        page.AddPort("CLK", "Clock port:").EnabledWhen(Clocked).WhenDisabled(Olm_Field::Tie::Ground);
    }

    bool Apply() override {
        Olm_ModelEdit::SetValue(Block(), "OPERATION_MODE", "ADD_SUBTRACT");
        // No multiplier stage in this use: operand B, the multiplier register,
        // clock enable and reset are not used.
        Olm_ModelEdit::SetValue(Block(), "M_PIPE", "0");
        Olm_ModelEdit::SetValue(Block(), "A_PIPE", "0");
        Olm_ModelEdit::SetValue(Block(), "C_PIPE", "0");
        for (Olm_Pin* pin : Block()->GetPinList()) {
            if (pin->GetName() == "B" || pin->GetName() == "RST") pin->SetIsGrounded(true);
            if (pin->GetName() == "CE") pin->SetIsVcc(true);
        }
        return true;
    }

    std::vector<std::string> FeatureLines() override {
        const Olm_FieldValues& v = ModelValues();
        return {"1 DSP configured as an adder/subtractor (" + v.Text("ADD_SUB_MODE") + "): " + v.Text("P_WIDTH") +
                "-bit result of " + v.Text("C_WIDTH") + " and " + v.Text("A_WIDTH") + " bits."};
    }

    void AddConstraints(Olm_ConstraintTemplate& pkx) override {
        Olm_KitMain::AddConstraints(pkx);
        if (Clocked(ModelValues())) pkx.AddClock(ModelValues().Text(Olm_Field::PortAttribute("CLK")), 0.0);
    }
};

}  // namespace

int main(int argc, char** argv) {
    Olm_RunRequest defaults;
    defaults.wizType = "dsp_add";
    defaults.family = "korvo5";
    const Olm_RunArguments args = Olm_RunRequest::FromArguments(argc, argv, defaults);
    if (!args.Ok()) {
        if (!args.help) std::fprintf(stderr, "outside_wizard: %s\n", args.problem.c_str());
        std::fprintf(args.help ? stdout : stderr, "usage: outside_wizard --design NAME [options]\n%s",
                     Olm_RunRequest::UsageText().c_str());
        return args.help ? 0 : 2;
    }
    Olm_RunSession session;
    const Olm_RunOutcome outcome = session.Run<AdderWizard>(args.request);
    if (!outcome.Succeeded()) {
        std::fprintf(stderr, "outside_wizard: %s\n", outcome.failure.c_str());
        return 1;
    }
    std::fputs(outcome.Report().c_str(), stdout);
    return 0;
}
