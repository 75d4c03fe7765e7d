#include "SsioTxWizard.h"

#include "SsioNetlist.h"

#include "OlmBase.h"

namespace Ssio {

namespace {

constexpr const char* kUseTristate = "OLMW_ONLY_USE_TRISTATE";
// The nets of the tristate ports: the words in, a control per line out.
constexpr const char* kTriNet = "TRI_IN";
constexpr const char* kTriOutNet = "TRI_OUT";

bool TristateOn(const Olm_FieldValues& values) { return values.IsOn(kUseTristate); }

Role TxRole() {
    return {"ssio_tx", "Olm Wizard - Source-Synchronous Transmitter", "OSER", "DATA_RATE_OUT", "transmit", "D",
            "DOUT", "OSER", {SsioNetlist::CascadeNet("OSER", 1), SsioNetlist::CascadeNet("OSER", 2)}};
}

}  // namespace

SsioTxWizard::SsioTxWizard(bool batchMode)
    : SsioWizard(TxRole(), batchMode, "Transmitter Setup",
                 "Transmit a bus of serial lines: an OSER per line takes a parallel word on the word clock and "
                 "shifts its bits out on the fast clock. The clocks follow from the bit rate.") {
    SsioPage& setup = SetupPage();
    setup.AddPort("D", "Parallel data port:");
    setup.AddPort("DOUT", "Serial data port:");
    setup.AddPort("CLK", "Fast clock port:");
    setup.AddPort("CLKWORD", "Word clock port:");
    setup.AddPort("RST", "Reset port:");

    SsioPage& tristate = AddPage<SsioPage>(this, "Tristate Output",
                                           "Serialise the output enables of the lines along with the data, so that "
                                           "the drivers turn on and off in step with the bits they send.");
    tristate.AddField(kUseTristate, "Tristate control:").Default("FALSE").Allow(Olm_AllowedValues::Boolean());
    tristate.AddField("DATA_RATE_TRI", "Tristate data rate:").EnabledWhen(TristateOn);
    // The tristate word fits the data word; an unregistered path passes one bit.
    tristate.AddField("TRI_WIDTH", "Tristate bits per word:")
        .EnabledWhen(TristateOn)
        .OfferWhen([this](const std::string& choice, const Olm_FieldValues& values) {
            int width = 0;
            Pal::StrUtil::ParseInt(choice, width);
            if (Pal::StrUtil::EqualNoCase(values.Text("DATA_RATE_TRI"), "BUF")) return width == 1;
            return width <= Ratio(values);
        });
    tristate.AddPort("T", "Tristate word port:")
        .Net(kTriNet)
        .Default("TRI")
        .EnabledWhen(TristateOn)
        .WhenDisabled(Olm_Field::Tie::Ground);
    tristate.AddPort("TOUT", "Tristate control port:")
        .Net(kTriOutNet)
        .Default("TQ")
        .EnabledWhen(TristateOn)
        .WhenDisabled(Olm_Field::Tie::Off);
    tristate.AddRule([this](const Olm_FieldValues& values) {
        const int width = values.Int("TRI_WIDTH"), ratio = Ratio(values);
        if (!TristateOn(values)) return std::string();
        if (Pal::StrUtil::EqualNoCase(values.Text("DATA_RATE_TRI"), "BUF") && width != 1)
            return "An unregistered tristate path (DATA_RATE_TRI=BUF) passes 1 bit per word, not " +
                   std::to_string(width) + ".";
        if (width > ratio)
            return "The tristate word of " + std::to_string(width) + " bits is longer than the data word of " +
                   std::to_string(ratio) + " bits.";
        return std::string();
    }, {"TRI_WIDTH"});
    tristate.AddNote([this](const Olm_FieldValues& values) {
        if (!TristateOn(values)) return std::string("No tristate control: the serial lines always drive.");
        const int width = values.Int("TRI_WIDTH"), lines = BusWidth(values);
        const std::string w = std::to_string(width), port = values.Text(Olm_Field::PortAttribute("T"));
        return "Line b takes its tristate word from " + port + "[" + w + "b+" + std::to_string(width - 1) + ":" + w +
               "b] (" + port + "[" + std::to_string(lines * width - 1) + ":0] in all) and drives its output enable " +
               "on " + values.Text(Olm_Field::PortAttribute("TOUT")) + "[b].";
    });
}

bool SsioTxWizard::Apply() {
    const Olm_FieldValues& values = ModelValues();
    m_tristate = TristateOn(values);
    m_triWidth = values.Int("TRI_WIDTH", 1);
    if (!SsioWizard::Apply()) return false;
    if (m_tristate) {
        SsioNetlist netlist(*GetWizDataPtr());
        netlist.Net(kTriNet, BusWidth(values) * m_triWidth, Port("T"));
        netlist.Net(kTriOutNet, BusWidth(values), Port("TOUT"));
    }
    return true;
}

void SsioTxWizard::WireBit(SsioNetlist&, int bit, Olm_Block& master, Olm_Block* slave) {
    SsioNetlist::ConnectBits(master, "DOUT", 0, 0, SerialNet(), bit);
    if (m_tristate) {
        SsioNetlist::Tie(master, "TOUT_EN", true);
        SsioNetlist::ConnectBits(master, "T", m_triWidth - 1, 0, kTriNet, bit * m_triWidth + m_triWidth - 1);
        SsioNetlist::ConnectBits(master, "TOUT", 0, 0, kTriOutNet, bit);
    }
    if (!slave) return;
    // The slave only feeds the master its part of the word.
    SsioNetlist::Disconnect(*slave, "DOUT");
    SsioNetlist::Disconnect(*slave, "TOUT");
    SsioNetlist::Tie(*slave, "T", false);
    SsioNetlist::Tie(*slave, "TOUT_EN", false);
}

std::vector<std::string> SsioTxWizard::FeatureLines() {
    std::vector<std::string> lines = SsioWizard::FeatureLines();
    const Olm_FieldValues& values = ModelValues();
    if (TristateOn(values))
        lines.push_back("Tristate control per line: " + values.Text("TRI_WIDTH") + " bits per word from " + Port("T") +
                        " (" + values.Text("DATA_RATE_TRI") + "), output enables on " + Port("TOUT") + ".");
    return lines;
}

}  // namespace Ssio
