#pragma once

#include "SsioWizard.h"

namespace Ssio {

// The source-synchronous transmitter (type ssio_tx): a bus of serial lines,
// each shifted out of words by an OSER (a master and a slave above 8 bits
// per word), and an optional tristate path that serialises a word of output
// enables along with the data. Pages "Transmitter Setup" and "Tristate
// Output", then the summary.
//
// Requests beyond SsioWizard's (option file: BlockProp: OSER.*.<NAME>=...):
//   OLMW_ONLY_USE_TRISTATE      TRUE or FALSE (default FALSE)
//   DATA_RATE_TRI, TRI_WIDTH    the tristate path's data rate and bits per word
//   port names OLMW_ONLY_<PIN>_PORT: D (the words, [N*R-1:0]), DOUT (the
//   serial lines, [N-1:0]), CLK, CLKWORD, RST, T (the tristate words,
//   [N*TRI_WIDTH-1:0]) and TOUT (a tristate control per line, [N-1:0]).
class SsioTxWizard : public SsioWizard {
public:
    explicit SsioTxWizard(bool batchMode);

    bool Apply() override;
    std::vector<std::string> FeatureLines() override;

protected:
    void WireBit(SsioNetlist& netlist, int bit, Olm_Block& master, Olm_Block* slave) override;

private:
    bool m_tristate = false;
    int m_triWidth = 1;
};

}  // namespace Ssio
