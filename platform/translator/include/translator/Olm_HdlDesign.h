#pragma once

#include "translator/Olm_HdlPrimitive.h"
#include "translator/TranslatorExport.h"

#include <string>
#include <vector>

class Olm_KfzDesign;

// What drives (for an input) or receives (for an output) one bit of a pin.
struct Olm_HdlBit {
    enum Kind { kOpen, kZero, kOne, kNet };
    Kind kind = kOpen;
    std::string net;  // kNet: the HDL name of the net
    int bit = -1;     // kNet: the bit of a vector net; -1 for a single-bit net
};

// Consecutive bits of a pin with one kind of source, MSB first: a slice of
// one net (bits netMsb down to netLsb), constant bits, or open bits.
struct Olm_HdlRun {
    enum Kind { kOpen, kConst, kNet };
    Kind kind = kOpen;
    std::string net;
    int netMsb = -1;        // -1 for a single-bit net
    int netLsb = -1;
    std::string constBits;  // kConst: '0' and '1', MSB first
    int posHi = 0;          // positions in the pin, counted from its LSB
    int posLo = 0;

    int Width() const { return posHi - posLo + 1; }
};

// A port of the wrapper: one external signal.
struct Olm_HdlPort {
    std::string name;
    Olm_HdlDir dir = Olm_HdlDir::kIn;
    int width = 1;
    bool isVector = false;
};

// An internal net of the wrapper.
struct Olm_HdlNet {
    std::string name;
    int width = 1;
    bool isVector = false;
};

// A signal, or a slice of one, that the design joins to a pin or to a slice
// of it, with how many bits each side of the join has.
struct Olm_HdlJoin {
    std::string net;     // the HDL name of the net
    int pinBits = 0;     // bits of the pin the join names
    int netBits = 0;     // bits of the net the join names
    bool whole = false;  // the pin's signal as a whole (else a bit property)
};

// One pin of an instance: the pin as the primitive declares it and its bits,
// indexed by position from the LSB. The fields after bits record how the
// design connected the pin, for the design rules; the writers use bits only.
struct Olm_HdlConnection {
    Olm_HdlPrimitivePin pin;
    std::vector<Olm_HdlBit> bits;
    // The design uses the pin: it holds it marked active or connected to a
    // signal. False for a pin that only the primitive declares or that the
    // design holds as unused.
    bool placed = false;
    // Per bit of an input pin: tied to 0 only because nothing in the design
    // drives it (no signal, no tie to VCC or ground, no bit property). The
    // upper bits of a pin whose signal is narrower are zero by design, not
    // defaulted.
    std::vector<bool> defaulted;
    // The joins of signals to the pin: the pin's signal as a whole (unless
    // bit properties name the bits instead) and each bit property.
    std::vector<Olm_HdlJoin> joins;
};

struct Olm_HdlParam {
    std::string name;
    std::string value;
    Olm_HdlParamKind kind = Olm_HdlParamKind::kString;
};

// One block of the design as an instance of its primitive. The connections
// follow the pins of the primitive, so every pin is named.
struct Olm_HdlInstance {
    std::string name;
    std::string primitive;
    std::vector<Olm_HdlParam> params;
    std::vector<Olm_HdlConnection> connections;
};

// The netlist view of a design file that the HDL writers print: the wrapper's
// name, its ports, internal nets and instances, and the declarations of the
// primitives it uses. Language-neutral; the writers check the names against
// their language.
class OLM_TRANSLATOR_API Olm_HdlDesign {
public:
    std::string name;
    std::vector<Olm_HdlPort> ports;
    std::vector<Olm_HdlNet> nets;
    std::vector<Olm_HdlInstance> instances;
    // Every primitive used, in the order of first use: the description from
    // the library given to Build, completed by the pins and parameters that
    // the design uses and the library lacks.
    std::vector<Olm_HdlPrimitive> primitives;
    // Things Build handled on its own way (a pin bit outside its pin, a tie
    // on an output, ...), one sentence each.
    std::vector<std::string> warnings;

    // Builds the view of a design. library holds the known primitives (may be
    // empty). Each block becomes an instance, except internal blocks (type
    // beginning with "OLM_"); each block property that
    // Olm_Translator::IsBlkPropIgnored keeps becomes a parameter; external
    // signals become ports (an output pin on the signal makes it an output, a
    // bidirectional pin an inout, otherwise it is an input) and the other
    // signals that reach a pin become nets. Signals tied to VCC or ground (and
    // the tie signals "VCCa" and "GNDa") become constants. Input bits that
    // nothing drives are tied to 0 (and marked as defaulted); output bits that
    // reach nothing stay open.
    // False with error set when a parameter value does not fit the kind of
    // the primitive's parameter.
    bool Build(const Olm_KfzDesign& kfz, const std::string& designName,
               const std::vector<Olm_HdlPrimitive>& library, std::string& error);

    // The design name of a design-file path: its last component without a
    // final ".kfz" (letter case ignored).
    static std::string DesignNameFromPath(const std::string& path);

    // Width and shape of a port or net; false when there is none of that name.
    bool NetShape(const std::string& netName, int& width, bool& isVector) const;
    const Olm_HdlPrimitive* FindPrimitive(const std::string& primName) const;

    // The runs of a pin's bits, MSB first.
    static std::vector<Olm_HdlRun> Runs(const std::vector<Olm_HdlBit>& bits);
};
