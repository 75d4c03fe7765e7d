#pragma once

#include "shared/OlmBaseExport.h"
#include "translator/Olm_HdlPrimitive.h"

#include <string>
#include <utility>
#include <vector>

class Olm_HdlDesign;

// One output clock of a core as it runs: its period, its phase (degrees of
// its own period, the rising edge at phase/360 of a period after time 0) and
// its duty cycle (the share of a period it is high, 0 to 1).
struct Olm_ClockWave {
    std::string name;
    double periodNs = 0.0;
    double phaseDeg = 0.0;
    double duty = 0.5;

    bool operator==(const Olm_ClockWave&) const = default;
};

// The picture of a core as its HDL wrapper has it: the wrapper's name and
// every port (name, direction, width), each in a group by its purpose, and
// for a clock manager the waveforms of its output clocks. Plain data without
// Qt; Olm_SymbolDrawing lays it out, Olm_SymbolSvg and the window's symbol
// panel draw it.
//
// The ports come from the netlist view the wrapper is printed from
// (Olm_HdlGenerator::View), in the wrapper's order. A port's group follows
// from its own name and the names of the block pins its net reaches, letter
// case folded, the first rule that holds:
//   1. Reset: one of these names contains "RST" or "RESET".
//   2. Clock: a pin's name contains "CLK" or "CLOCK" and is no enable or
//      select pin (the name is "S" or ends in "CE", "EN" or "SEL"); or the
//      port's name contains "CLK" or "CLOCK" and does not end in "_CE",
//      "_EN" or "_SEL"; or the port is a one-bit output of a block that
//      takes, on an input pin that is no clock or enable pin, what a clock
//      output pin of another block drives (a clock buffer).
//   3. Serial lines: a pin's name is a transceiver's serial line (TXP, TXN,
//      RXP, RXN).
//   4. Control/status: a port of one bit.
//   5. Data in (an input) or data out (an output or bidirectional port): a
//      vector.
class OLM_BASE_EXPORT Olm_CoreSymbol {
public:
    enum class Group { Clock, Reset, Serial, Control, DataIn, DataOut };

    struct Port {
        std::string name;
        Olm_HdlDir dir = Olm_HdlDir::kIn;
        int width = 1;
        bool isVector = false;
        Group group = Group::Control;

        bool operator==(const Port&) const = default;
    };

    // The symbol of a wrapper's netlist view, without waveforms.
    static Olm_CoreSymbol FromDesign(const Olm_HdlDesign& view);
    // "Clocks", "Resets", "Serial lines", "Control/status", "Data in",
    // "Data out".
    static const char* GroupName(Group group);

    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    const std::vector<Port>& Ports() const { return m_ports; }
    void AddPort(Port port) { m_ports.push_back(std::move(port)); }
    // The output clocks drawn below the symbol (empty: no drawing).
    const std::vector<Olm_ClockWave>& Waves() const { return m_waves; }
    void SetWaves(std::vector<Olm_ClockWave> waves) { m_waves = std::move(waves); }

    bool operator==(const Olm_CoreSymbol&) const = default;

private:
    std::string m_name;
    std::vector<Port> m_ports;
    std::vector<Olm_ClockWave> m_waves;
};
