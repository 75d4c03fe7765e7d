#include "proof/Olm_TbDesign.h"

#include "pal/StrUtil.h"

namespace {

bool Same(const std::string& a, const std::string& b) { return Pal::StrUtil::EqualNoCase(a, b); }

const Olm_HdlConnection* FindConnection(const Olm_HdlInstance& instance, const std::string& pin) {
    for (const Olm_HdlConnection& connection : instance.connections)
        if (Same(connection.pin.name, pin)) return &connection;
    return nullptr;
}

}  // namespace

bool Olm_TbDesign::Build(const Olm_KfzDesign& kfz, const std::string& designName, std::string& error) {
    m_kfz = kfz;
    m_view = Olm_HdlDesign();
    // Without the installed primitives: the design file alone names every
    // pin and parameter the wrapper connects and sets.
    return m_view.Build(m_kfz, designName, {}, error);
}

std::vector<const Olm_HdlInstance*> Olm_TbDesign::Instances(const std::string& primitive) const {
    std::vector<const Olm_HdlInstance*> found;
    for (const Olm_HdlInstance& instance : m_view.instances)
        if (Same(instance.primitive, primitive)) found.push_back(&instance);
    return found;
}

const Olm_KfzBlock* Olm_TbDesign::BlockOf(const Olm_HdlInstance& instance) const {
    if (const Olm_KfzBlock* block = m_kfz.FindBlock(instance.name.c_str())) return block;
    // The writer may have made the block's name legal; the blocks keep the order.
    std::size_t index = 0;
    for (const Olm_HdlInstance& other : m_view.instances) {
        if (&other == &instance) break;
        ++index;
    }
    std::size_t seen = 0;
    for (const Olm_KfzBlock& block : m_kfz.blocks) {
        if (Pal::StrUtil::StartsWithNoCase(block.primType.str(), "OLM_")) continue;
        if (seen++ == index) return &block;
    }
    return nullptr;
}

std::string Olm_TbDesign::Value(const Olm_HdlInstance& instance, const std::string& name,
                                const std::string& fallback) const {
    if (const Olm_KfzBlock* block = BlockOf(instance))
        if (const Olm_KfzProperty* property = Olm_KfzDesign::FindProperty(block->properties, name.c_str()))
            return property->value.str();
    for (const Olm_HdlParam& param : instance.params)
        if (Same(param.name, name)) return param.value;
    return fallback;
}

double Olm_TbDesign::Number(const Olm_HdlInstance& instance, const std::string& name, double fallback) const {
    double value = 0.0;
    return Pal::StrUtil::ParseNumber(Value(instance, name, ""), value) ? value : fallback;
}

bool Olm_TbDesign::Flag(const Olm_HdlInstance& instance, const std::string& name, bool fallback) const {
    const std::string value = Value(instance, name, "");
    return value.empty() ? fallback : Same(value, "TRUE");
}

const Olm_HdlPort* Olm_TbDesign::FindPort(const std::string& name) const {
    for (const Olm_HdlPort& port : m_view.ports)
        if (port.name == name) return &port;
    return nullptr;
}

bool Olm_TbDesign::HasPort(const std::string& name, int width, bool wider) const {
    const Olm_HdlPort* found = name.empty() ? nullptr : FindPort(name);
    return found && (wider ? found->width >= width : found->width == width);
}

int Olm_TbDesign::PinWidth(const Olm_HdlInstance& instance, const std::string& pin) const {
    const Olm_HdlConnection* connection = FindConnection(instance, pin);
    return connection ? static_cast<int>(connection->bits.size()) : 0;
}

// The net that the low bits of the pin reach, bit i on bit i (or a
// single-bit pin on a single-bit net); the bits above may be tied or go
// elsewhere, as a port narrower than its pin is padded. "" otherwise.
std::string Olm_TbDesign::NetOfPin(const Olm_HdlInstance& instance, const std::string& pin) const {
    const Olm_HdlConnection* connection = FindConnection(instance, pin);
    if (!connection || connection->bits.empty() || connection->bits.front().kind != Olm_HdlBit::kNet) return {};
    const std::string net = connection->bits.front().net;
    bool above = false;  // past the bits on the net
    for (std::size_t i = 0; i < connection->bits.size(); ++i) {
        const Olm_HdlBit& bit = connection->bits[i];
        const bool onNet = bit.kind == Olm_HdlBit::kNet && bit.net == net;
        if (!onNet) {
            above = true;
            continue;
        }
        const bool single = connection->bits.size() == 1 && bit.bit <= 0;
        if (above || (!single && bit.bit != static_cast<int>(i))) return {};
    }
    return net;
}

// Follows a net through buffers (an instance with one input and one output
// pin on nets) towards the ports: forward from a buffer's input to its
// output, backward from its output to its input.
std::string Olm_TbDesign::ThroughBuffers(std::string net, bool forward, int depth) const {
    if (net.empty() || FindPort(net) || depth > 4) return FindPort(net) ? net : std::string();
    for (const Olm_HdlInstance& instance : m_view.instances) {
        std::string in, out, clockIn;
        int ins = 0, outs = 0;
        for (const Olm_HdlConnection& connection : instance.connections) {
            const std::string reached = NetOfPin(instance, connection.pin.name);
            if (reached.empty()) continue;
            if (connection.pin.dir == Olm_HdlDir::kOut) {
                ++outs, out = reached;
            } else {
                ++ins, in = reached;
                // A buffer with an enable or a select passes its clock input.
                if (Olm_HdlPrimitive::SameName(connection.pin.name, "I") ||
                    Olm_HdlPrimitive::SameName(connection.pin.name, "I0"))
                    clockIn = reached;
            }
        }
        if (outs != 1 || ins == 0) continue;
        if (ins > 1) {
            if (clockIn.empty()) continue;
            in = clockIn;
        }
        if (forward && in == net) return ThroughBuffers(out, forward, depth + 1);
        if (!forward && out == net) return ThroughBuffers(in, forward, depth + 1);
    }
    return {};
}

std::string Olm_TbDesign::PortOf(const Olm_HdlInstance& instance, const std::string& pin) const {
    const Olm_HdlConnection* connection = FindConnection(instance, pin);
    if (!connection) return {};
    return ThroughBuffers(NetOfPin(instance, pin), connection->pin.dir == Olm_HdlDir::kOut, 0);
}
