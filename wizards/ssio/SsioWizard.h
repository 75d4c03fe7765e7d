#pragma once

#include "SsioPage.h"
#include "SsioTiming.h"

#include "OlmKit.h"

#include <string>
#include <vector>

namespace Ssio {

class SsioNetlist;

// What tells the receiver and the transmitter apart for their common part.
struct Role {
    const char* wizType;     // "ssio_rx"
    const char* title;       // of the window
    const char* primType;    // the block of a bit: "ISER"
    const char* rateAttr;    // its data rate attribute: "DATA_RATE"
    const char* verb;        // in the feature line: "receive"
    const char* wordPin;     // the pin of the parallel word: "Q"
    const char* serialPin;   // the port field of the serial data: "I" (of IDLY), "DOUT"
    const char* serialType;  // the primitive of that port field: "IDLY", "OSER"
    std::vector<std::string> internalNets;  // nets the wizard makes that no port may be named
};

// The common part of the source-synchronous I/O wizards (types ssio_*): a
// bus of 1 to 64 bits with one block of the role's primitive a bit, or a
// master and a slave where the ratio exceeds what one block handles.
//
// The requests are attributes of the primitive's installed template, which
// stays switched off: OLMW_ONLY_BUS_WIDTH, OLMW_ONLY_BIT_RATE, the data rate
// and DATA_WIDTH (the ratio), and the port names OLMW_ONLY_<PIN>_PORT. Apply
// makes the instances <TYPE>_INST<n> from the template: n = b + 1 for bit b
// (its master), n = N + b + 1 for its slave, N being the bus width. The
// word of bit b lies at bits [b*R+R-1 : b*R] of the parallel port (R the
// ratio); the master carries its bits from 0 up to the largest one block
// handles, the slave the rest. Instance 1 carries the requests into the
// design file, and a design file gives them back from there.
//
// The first page ("<role> Setup", SetupPage) holds the bus, the data rate,
// the ratio and the bit rate, and shows the clocks; the wizard adds its
// ports and pages.
class SsioWizard : public Olm_KitMain {
public:
    SsioWizard(Role role, bool batchMode, const std::string& setupTitle, const std::string& setupIntro);

    const Role& GetRole() const { return m_role; }
    const SsioTiming& Timing() const { return m_timing; }
    // The clocks the values ask for.
    ClockPlan Plan(const Olm_FieldValues& values) const;
    int BusWidth(const Olm_FieldValues& values) const { return values.Int("OLMW_ONLY_BUS_WIDTH"); }
    int Ratio(const Olm_FieldValues& values) const { return values.Int("DATA_WIDTH"); }
    bool Ddr(const Olm_FieldValues& values) const;
    // "a block" or "a net" when the wizard makes a block or net of that name
    // (letter case folded), else empty.
    std::string MadeName(const std::string& name) const;
    // The port name of a port field's pin.
    std::string Port(const char* pin) const { return ModelValues().Text(Olm_Field::PortAttribute(pin)); }

    // Reads the limits of the installed data into a timing; false with the
    // attribute that gives no usable limit.
    static bool ReadLimits(Olm_WizData& data, const std::string& primType, Limits& limits, std::string& missing);

    bool Prepare() override;
    bool Apply() override;
    bool DoFinishAtSummaryStart() override;
    std::vector<std::string> FeatureLines() override;
    void AddConstraints(Olm_ConstraintTemplate& pkx) override;

protected:
    SsioPage& SetupPage() const { return *m_setup; }
    // The net of the serial lines, a bus of a bit per line (set by Apply).
    const std::string& SerialNet() const { return m_serialNet; }
    // Wires what a bit adds to its master (and slave): the serial side, a
    // delay, a tristate path. The parallel word and the cascade are wired.
    virtual void WireBit(SsioNetlist& netlist, int bit, Olm_Block& master, Olm_Block* slave) = 0;
    // For a design file: the requests of a type, from its instance 1 into
    // its template.
    void RequestsFromDesign(const std::string& primType);

private:
    Role m_role;
    SsioTiming m_timing;
    SsioPage* m_setup;
    std::string m_serialNet;
};

}  // namespace Ssio
