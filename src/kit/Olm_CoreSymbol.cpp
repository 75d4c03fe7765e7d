#include "kit/Olm_CoreSymbol.h"

#include "translator/Olm_HdlDesign.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool Has(const std::string& upper, const char* word) { return upper.find(word) != std::string::npos; }

bool EndsWith(const std::string& upper, const std::string& tail) {
    return upper.size() >= tail.size() && upper.compare(upper.size() - tail.size(), tail.size(), tail) == 0;
}

bool NamesReset(const std::string& upper) { return Has(upper, "RST") || Has(upper, "RESET"); }

bool NamesClock(const std::string& upper) { return Has(upper, "CLK") || Has(upper, "CLOCK"); }

bool IsEnablePin(const std::string& upper) {
    return upper == "S" || EndsWith(upper, "CE") || EndsWith(upper, "EN") || EndsWith(upper, "SEL");
}

bool IsEnablePort(const std::string& upper) {
    return EndsWith(upper, "_CE") || EndsWith(upper, "_EN") || EndsWith(upper, "_SEL");
}

bool IsClockPin(const std::string& upper) { return NamesClock(upper) && !IsEnablePin(upper); }

// The serial lines of a transceiver lane, which leave the device on pins.
bool IsSerialPin(const std::string& upper) {
    return upper == "TXP" || upper == "TXN" || upper == "RXP" || upper == "RXN";
}

bool OnNet(const Olm_HdlConnection& connection, const std::string& net) {
    return std::any_of(connection.bits.begin(), connection.bits.end(),
                       [&](const Olm_HdlBit& bit) { return bit.kind == Olm_HdlBit::kNet && bit.net == net; });
}

// Whether a clock output pin of an instance other than skip drives a net.
bool NetFromClockOutput(const Olm_HdlDesign& view, const std::string& net, const Olm_HdlInstance& skip) {
    for (const Olm_HdlInstance& instance : view.instances) {
        if (&instance == &skip) continue;
        for (const Olm_HdlConnection& connection : instance.connections)
            if (connection.pin.dir == Olm_HdlDir::kOut && IsClockPin(Upper(connection.pin.name)) &&
                OnNet(connection, net))
                return true;
    }
    return false;
}

Olm_CoreSymbol::Group GroupOf(const Olm_HdlDesign& view, const Olm_HdlPort& port) {
    using Group = Olm_CoreSymbol::Group;
    const std::string name = Upper(port.name);
    std::vector<std::string> pins;
    bool clockBuffer = false;
    for (const Olm_HdlInstance& instance : view.instances) {
        for (const Olm_HdlConnection& connection : instance.connections) {
            if (!OnNet(connection, port.name)) continue;
            pins.push_back(Upper(connection.pin.name));
            // A one-bit output port that an instance drives from a clock it
            // takes in on a pin that is no clock input of its own (a buffer).
            if (port.dir != Olm_HdlDir::kOut || port.width > 1 || connection.pin.dir != Olm_HdlDir::kOut ||
                clockBuffer)
                continue;
            for (const Olm_HdlConnection& input : instance.connections) {
                const std::string pin = Upper(input.pin.name);
                if (input.pin.dir != Olm_HdlDir::kIn || IsEnablePin(pin) || IsClockPin(pin)) continue;
                for (const Olm_HdlBit& bit : input.bits) {
                    if (bit.kind == Olm_HdlBit::kNet && bit.net != port.name &&
                        NetFromClockOutput(view, bit.net, instance)) {
                        clockBuffer = true;
                        break;
                    }
                }
            }
        }
    }
    if (NamesReset(name) || std::any_of(pins.begin(), pins.end(), NamesReset)) return Group::Reset;
    if (clockBuffer || std::any_of(pins.begin(), pins.end(), IsClockPin) || (NamesClock(name) && !IsEnablePort(name)))
        return Group::Clock;
    if (std::any_of(pins.begin(), pins.end(), IsSerialPin)) return Group::Serial;
    if (port.width <= 1 && !port.isVector) return Group::Control;
    return port.dir == Olm_HdlDir::kIn ? Group::DataIn : Group::DataOut;
}

}  // namespace

Olm_CoreSymbol Olm_CoreSymbol::FromDesign(const Olm_HdlDesign& view) {
    Olm_CoreSymbol symbol;
    symbol.m_name = view.name;
    for (const Olm_HdlPort& port : view.ports)
        symbol.m_ports.push_back({port.name, port.dir, port.width, port.isVector, GroupOf(view, port)});
    return symbol;
}

const char* Olm_CoreSymbol::GroupName(Group group) {
    switch (group) {
    case Group::Clock: return "Clocks";
    case Group::Reset: return "Resets";
    case Group::Serial: return "Serial lines";
    case Group::Control: return "Control/status";
    case Group::DataIn: return "Data in";
    case Group::DataOut: return "Data out";
    }
    return "";
}
