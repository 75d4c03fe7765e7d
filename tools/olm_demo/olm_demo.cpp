// Builds a small clock-manager model in code, converts the active RKO_BASE
// block to instance 1 of RKO_ADV and prints the container in the data-file
// format on standard output.

#include "OlmBase.h"

namespace {

void AddBasicClockBlock(Olm_WizData& data) {
    Olm_Block* base = data.AddBlock("RKO_BASE", "RKO_BASE");
    base->AddAttribute("OLMW_ONLY_INST_NUM", "1");  // this block is instance 1
    base->AddPin("CLKIN", "IN")->SetSigName("clk_in");
    base->AddPin("CLKFBIN", "IN")->SetSigName("clk_fb");
    base->AddPin("CLKOUT0", "OUT")->SetSigName("clk_out0");
    data.AddSignal("clk_in", true, "CLK_IN");
    data.AddSignal("clk_fb", false, "");
    data.AddSignal("clk_out0", true, "CLK_OUT0");

    Olm_Attribute* mult = base->AddAttribute("FBCLKOUT_MULT", "8");
    mult->SetDefaultValue("5");
    mult->AddPossibleValue("OLMRANGE=2:64");
    base->AddAttribute("FBCLKOUT_PHASE", "0.0");
    base->AddAttribute("CLKOUT0_DIVIDE", "4");
}

// The template of the advanced primitive, as an installed data file lists it.
void AddAdvancedTemplate(Olm_WizData& data) {
    Olm_Block* adv = data.AddBlock("RKO_ADV", "RKO_ADV");
    adv->SetIsActive(false);
    adv->AddPin("CLKIN1", "IN");
    adv->AddPin("CLKIN2", "IN")->SetIsGrounded(true);
    adv->AddPin("CLKFBIN", "IN");
    adv->AddPin("CLKOUT0", "OUT");
    Olm_Attribute* mult = adv->AddAttribute("CLKFBOUT_MULT", "5");
    mult->SetDefaultValue("5");
    adv->AddAttribute("CLKFBOUT_PHASE", "0.0");
    adv->AddAttribute("CLKOUT0_DIVIDE", "1");
}

}  // namespace

int main() {
    Olm_WizData data("tkl_demo");
    data.SetVersion("1.0");
    AddBasicClockBlock(data);
    AddAdvancedTemplate(data);

    Pal::Stream* out = Pal::File::getCout();
    Olm_Block* converted = data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 1);
    if (!converted) {
        out->writeline("Conversion of RKO_BASE to RKO_ADV failed.");
        return 1;
    }
    Pal::String heading;
    heading.Format("Clock-manager model after converting RKO_BASE to %s:", converted->GetName().c_str());
    out->writeline(heading);
    data.DumpToFile(out, true);
    return 0;
}
