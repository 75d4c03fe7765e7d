#include "translator/Olm_DesignRules.h"

#include "translator/Olm_HdlDesign.h"

#include <map>

namespace {

using Rule = Olm_DesignFinding::Rule;

// "pin 'P' of block 'B'"
std::string PinText(const Olm_HdlInstance& inst, const Olm_HdlConnection& conn) {
    return "pin '" + conn.pin.name + "' of block '" + inst.name + "'";
}


// A name with the bits hi down to lo of it; the bare name for a single-bit
// signal or pin.
std::string Slice(const std::string& name, bool isVector, int hi, int lo) {
    if (!isVector) return name;
    return name + "[" + std::to_string(hi) + (hi == lo ? "" : ":" + std::to_string(lo)) + "]";
}

// A join whose widths lose bits: a whole signal wider than its pin (a
// narrower one fills the pin's low bits by design), or a bit property whose
// two ranges differ.
bool Mismatched(const Olm_HdlJoin& join) {
    return join.whole ? join.netBits > join.pinBits : join.netBits != join.pinBits;
}

// What reaches one bit of a net: its drivers and the input pins it feeds,
// as numbers of their names (Checker::m_who), so that wide nets stay cheap.
struct BitUse {
    std::vector<int> drivers;
    std::vector<int> readers;
};

struct NetUse {
    std::string name;
    bool isVector = false;
    Olm_HdlDir portDir = Olm_HdlDir::kIn;
    bool isPort = false;
    std::vector<BitUse> bits;
};

class Checker {
public:
    explicit Checker(const Olm_HdlDesign& design) : m_design(design) {}

    std::vector<Olm_DesignFinding> Run();

private:
    void CollectNets();
    // Groups consecutive bits of a net whose key is the same and not empty,
    // and adds a finding for each group.
    template <typename Key, typename Text>
    void Groups(const NetUse& net, Rule rule, Key key, Text text);
    void CheckDefaulted(const Olm_HdlInstance& inst, const Olm_HdlConnection& conn);
    void Add(Rule rule, std::string text) { m_found[rule].push_back(Olm_DesignFinding{rule, std::move(text)}); }
    int Who(std::string name) {
        m_who.push_back(std::move(name));
        return static_cast<int>(m_who.size()) - 1;
    }
    std::string Listed(const std::vector<int>& ids) const {
        std::string text;
        for (std::size_t i = 0; i < ids.size(); ++i) text += (i ? ", " : "") + m_who[static_cast<std::size_t>(ids[i])];
        return text;
    }

    const Olm_HdlDesign& m_design;
    std::vector<NetUse> m_nets;
    std::map<std::string, std::size_t> m_byName;
    std::map<Rule, std::vector<Olm_DesignFinding>> m_found;
    std::vector<std::string> m_who;  // the drivers and readers named in BitUse
};

void Checker::CollectNets() {
    for (const auto& port : m_design.ports) {
        NetUse use{port.name, port.isVector, port.dir, true, std::vector<BitUse>(static_cast<std::size_t>(port.width))};
        if (port.dir == Olm_HdlDir::kIn) {
            const int who = Who("input port '" + port.name + "'");
            for (auto& bit : use.bits) bit.drivers.push_back(who);
        }
        m_byName.emplace(port.name, m_nets.size());
        m_nets.push_back(std::move(use));
    }
    for (const auto& net : m_design.nets) {
        m_byName.emplace(net.name, m_nets.size());
        m_nets.push_back(NetUse{net.name, net.isVector, Olm_HdlDir::kIn, false,
                                std::vector<BitUse>(static_cast<std::size_t>(net.width))});
    }
    for (const auto& inst : m_design.instances) {
        for (const auto& conn : inst.connections) {
            int who = -1;
            for (const auto& bit : conn.bits) {
                if (bit.kind != Olm_HdlBit::kNet) continue;
                const auto it = m_byName.find(bit.net);
                if (it == m_byName.end()) continue;
                NetUse& net = m_nets[it->second];
                const std::size_t index = static_cast<std::size_t>(bit.bit < 0 ? 0 : bit.bit);
                if (index >= net.bits.size()) continue;
                auto& list = conn.pin.dir == Olm_HdlDir::kIn ? net.bits[index].readers : net.bits[index].drivers;
                if (who < 0) who = Who(PinText(inst, conn));
                // A pin that joins several of its bits to one net bit counts once.
                if (list.empty() || list.back() != who) list.push_back(who);
            }
        }
    }
}

template <typename Key, typename Text>
void Checker::Groups(const NetUse& net, Rule rule, Key key, Text text) {
    const int width = static_cast<int>(net.bits.size());
    int bit = 0;
    while (bit < width) {
        const std::vector<int> first = key(net.bits[static_cast<std::size_t>(bit)]);
        int last = bit;
        while (last + 1 < width && key(net.bits[static_cast<std::size_t>(last + 1)]) == first) ++last;
        if (!first.empty()) Add(rule, text(Slice(net.name, net.isVector, last, bit), first));
        bit = last + 1;
    }
}

void Checker::CheckDefaulted(const Olm_HdlInstance& inst, const Olm_HdlConnection& conn) {
    if (!conn.placed || conn.pin.dir != Olm_HdlDir::kIn) return;
    // A pin joined in part (a narrower signal, bit properties for some of
    // its bits) leaves its other bits at zero by design.
    for (const bool defaulted : conn.defaulted)
        if (!defaulted) return;
    Add(Rule::kUndrivenInput, "input pin '" + conn.pin.name + "' of block '" + inst.name +
                                  "' has no driver: the design neither connects nor ties it");
}

std::vector<Olm_DesignFinding> Checker::Run() {
    CollectNets();
    for (const NetUse& net : m_nets) {
        Groups(net, Rule::kMultipleDrivers,
               [](const BitUse& use) { return use.drivers.size() > 1 ? use.drivers : std::vector<int>(); },
               [this](const std::string& slice, const std::vector<int>& drivers) {
                   return "net '" + slice + "' has " + std::to_string(drivers.size()) + " drivers: " + Listed(drivers);
               });
        // The world outside drives a bidirectional port.
        const bool outsideDrives = net.isPort && net.portDir == Olm_HdlDir::kInout;
        if (!outsideDrives) {
            Groups(net, Rule::kUndrivenInput,
                   [](const BitUse& use) { return use.drivers.empty() ? use.readers : std::vector<int>(); },
                   [this](const std::string& slice, const std::vector<int>& readers) {
                       return "net '" + slice + "' has no driver but feeds " + Listed(readers);
                   });
        }
        if (net.isPort && net.portDir == Olm_HdlDir::kOut) {
            Groups(net, Rule::kUndrivenOutput,
                   [](const BitUse& use) {
                       return use.drivers.empty() ? std::vector<int>{-1} : std::vector<int>();
                   },
                   [](const std::string& slice, const std::vector<int>&) {
                       return "output port '" + slice + "' has no driver";
                   });
        }
    }
    for (const auto& inst : m_design.instances) {
        for (const auto& conn : inst.connections) {
            CheckDefaulted(inst, conn);
            for (const auto& join : conn.joins) {
                if (!Mismatched(join)) continue;
                Add(Rule::kWidthMismatch, PinText(inst, conn) + " has " + std::to_string(join.pinBits) +
                                              (join.pinBits == 1 ? " bit" : " bits") + " but is joined to " +
                                              std::to_string(join.netBits) + (join.netBits == 1 ? " bit" : " bits") +
                                              " of net '" + join.net + "'");
            }
        }
    }
    std::vector<Olm_DesignFinding> out;
    for (auto& [rule, findings] : m_found) out.insert(out.end(), findings.begin(), findings.end());
    return out;
}

}  // namespace

std::vector<Olm_DesignFinding> Olm_DesignRules::Check(const Olm_HdlDesign& design) {
    return Checker(design).Run();
}

std::string Olm_DesignRules::Report(const std::vector<Olm_DesignFinding>& findings) {
    std::string text = "The design breaks the design rules (" + std::to_string(findings.size()) +
                       (findings.size() == 1 ? " finding):" : " findings):");
    for (const auto& finding : findings) text += "\n" + finding.text;
    return text;
}
