#pragma once

#include "OlmKit.h"

namespace DspMult {

// The multiplier wizard (type dsp_mult): the DSP block of olm_dsp.dev used
// as a multiplier. Pages "General Setup - Multiplier" (operand and product
// widths, signedness, ports) and "Pipelining - Multiplier" (register stages,
// clock, clock enable and reset), then the summary.
//
// Besides the data file's attributes, an option file may set:
//   OLMW_ONLY_A_PORT, OLMW_ONLY_B_PORT, OLMW_ONLY_P_PORT, OLMW_ONLY_CLK_PORT,
//   OLMW_ONLY_CE_PORT, OLMW_ONLY_RST_PORT   port names
//   OLMW_ONLY_USE_CE, OLMW_ONLY_USE_RST     TRUE or FALSE (default TRUE)
class MultWizard : public Olm_KitMain {
public:
    explicit MultWizard(bool batchMode);

    // Register stages from the operands to the product: the slower input
    // path, the multiplier and the output.
    static int Latency(const Olm_FieldValues& values);
    // The latency as the summary says it: "N clock cycles" when both
    // operands go through as many registers, else "N clock cycles from A
    // and M from B" (each operand's own path to the product).
    static std::string LatencyText(const Olm_FieldValues& values);

    bool Apply() override;
    std::vector<std::string> FeatureLines() override;
    void AddConstraints(Olm_ConstraintTemplate& pkx) override;
};

}  // namespace DspMult
