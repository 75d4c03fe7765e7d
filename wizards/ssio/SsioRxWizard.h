#pragma once

#include "SsioWizard.h"

namespace Ssio {

// The source-synchronous receiver (type ssio_rx): a bus of serial lines, each
// turned into words by an ISER (a master and a slave above 8 bits per word),
// and an optional input delay of the same number of taps on every line: an
// IDLY per line and one IDLYCTRL that calibrates them all. Pages "Receiver
// Setup" and "Input Delay", then the summary.
//
// Requests beyond SsioWizard's (option file: BlockProp: <TYPE>.*.<NAME>=...):
//   ISER.OLMW_ONLY_USE_DELAY    TRUE or FALSE (default FALSE)
//   IDLY.OLMW_ONLY_DELAY_PS     the delay of every line (ps)
//   IDLY.REF_FREQ               the reference clock of the delay (MHz)
//   port names: IDLY.OLMW_ONLY_I_PORT (the serial lines, [N-1:0]),
//   ISER.OLMW_ONLY_<PIN>_PORT for Q (the words, [N*R-1:0]), CLK, CLKWORD and
//   RST, IDLYCTRL.OLMW_ONLY_<PIN>_PORT for REFCLK and READY.
class SsioRxWizard : public SsioWizard {
public:
    explicit SsioRxWizard(bool batchMode);

    // The taps of the requested delay.
    TapPlan Taps(const Olm_FieldValues& values) const;

    bool Apply() override;
    std::vector<std::string> FeatureLines() override;
    void AddConstraints(Olm_ConstraintTemplate& pkx) override;

protected:
    void WireBit(SsioNetlist& netlist, int bit, Olm_Block& master, Olm_Block* slave) override;

private:
    bool m_delay = false;
    int m_taps = 0;
};

}  // namespace Ssio
