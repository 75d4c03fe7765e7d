#pragma once

#include "translator/TranslatorExport.h"

#include <string>
#include <vector>

class Olm_HdlDesign;

// One place where a netlist breaks a design rule, as one line of text that
// names the net, the blocks and the pins.
struct Olm_DesignFinding {
    enum class Rule {
        kMultipleDrivers,  // a net bit with more than one driver
        kUndrivenInput,    // an input that nothing drives and the design does not tie
        kWidthMismatch,    // a pin joined to signal bits it cannot carry
        kUndrivenOutput,   // a bit of an output port of the wrapper that nothing drives
    };
    Rule rule = Rule::kMultipleDrivers;
    std::string text;
};

// The design rules of a wrapper's netlist, checked before any file of a
// design is written, so that a design that would not work in hardware is
// refused instead of written:
//
// - every bit of a net has at most one driver: an output or bidirectional
//   pin of a block, or an input port of the wrapper;
// - every net bit that feeds an input of a block has a driver, and every
//   input pin that the design uses (marks active or connects) is connected
//   or tied, at least in part: to a net, to VCC or ground, or to a tie
//   signal. A pin joined in part has its other bits at zero by design;
//   input pins that the design leaves out or saves as unused (pins the data
//   marks as unused) take the primitive's own default and are fine;
// - no bit of a signal joined to a pin is lost: a signal joined to a whole
//   pin is at most as wide as the pin (a narrower one fills the pin's low
//   bits, the upper input bits are zero and the upper output bits unused,
//   by design), and a bit property joins as many signal bits as pin bits;
// - every bit of an output port of the wrapper is driven.
//
// Bits are grouped: consecutive bits of one net that break the same rule in
// the same way give one finding.
class OLM_TRANSLATOR_API Olm_DesignRules {
public:
    // The findings of a netlist built by Olm_HdlDesign::Build, in a fixed
    // order: by rule as listed above, then by the order of ports, blocks and
    // pins in the netlist. Empty for a clean netlist.
    static std::vector<Olm_DesignFinding> Check(const Olm_HdlDesign& design);

    // The findings as one message: a first line saying how many rules the
    // design breaks, then each finding's text on a line of its own.
    static std::string Report(const std::vector<Olm_DesignFinding>& findings);
};
