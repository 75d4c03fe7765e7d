#pragma once

#include <string>

class Olm_Block;
class Olm_Signal;
class Olm_WizData;

namespace Ssio {

// The model edits of a design with one block (or two) per bit of a bus:
// numbered instance blocks made from the installed template, and pins wired
// to single bits of bus nets. A pin reaches its bits through pin-signal-bit
// properties ("OLMW_ONLY_PIN_SIG_BIT_3:0" = "RXDATA_OUT[11:8]"), which the
// HDL writer turns into bit selections; such a pin has no net of its own, so
// that bits it does not name stay open (an output) or 0 (an input) instead
// of reaching the bus from bit 0 up.
class SsioNetlist {
public:
    explicit SsioNetlist(Olm_WizData& data) : m_data(data) {}

    // The name of instance n of a primitive: "<TYPE>_INST<n>".
    static std::string InstanceName(const std::string& primType, int instNum);
    // Whether a name (letter case folded) has the form of an instance name
    // of the type: "iser_inst12" for ISER.
    static bool IsInstanceName(const std::string& name, const std::string& primType);

    // Deletes every block of the type but its installed template, the first
    // block of the type.
    void RemoveInstances(const std::string& primType);
    // Instance n of a type: an active copy of the template, with the instance
    // number, replacing any block of its name.
    Olm_Block* NewInstance(Olm_Block& templ, int instNum);

    // A net of the design: a bus of `width` bits (a width of 0: one bit),
    // leaving the design under its port name when that is not empty.
    Olm_Signal* Net(const std::string& name, int width, const std::string& port = {});

    // Connects bits pinHi down to pinLo of a pin to the bits of a bus net
    // from netHi down; the pin is used and loses any net of its own.
    static void ConnectBits(Olm_Block& block, const char* pin, int pinHi, int pinLo, const std::string& net,
                            int netHi);
    // A pin neither used nor connected (an input reads 0, an output is open).
    static void Disconnect(Olm_Block& block, const char* pin);
    // A used pin tied to VCC or to ground.
    static void Tie(Olm_Block& block, const char* pin, bool vcc);

    // The cascade of one bit: CASC_DOUT<k> of the feeding block to
    // CASC_DIN<k> of the other, k = 1, 2, through bit `bit` of the nets
    // "<TYPE>_CASC<k>". Which block feeds the other the master's attribute
    // OLMW_ONLY_CASCADE_FEED says (MASTER_TO_SLAVE or SLAVE_TO_MASTER).
    void Cascade(Olm_Block& master, Olm_Block& slave, int bit, int busWidth);
    // The nets Cascade uses for a type.
    static std::string CascadeNet(const std::string& primType, int k);

    // Switches on every net that a bit property of an active pin of an
    // active block names (Olm_ModelEdit::ActivateUsedNets knows a pin's own
    // net only).
    void ActivateBitNets();

private:
    Olm_WizData& m_data;
};

}  // namespace Ssio
