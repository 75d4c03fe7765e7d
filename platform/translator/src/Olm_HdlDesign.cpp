#include "translator/Olm_HdlDesign.h"

#include "engine/Olm_KfzDesign.h"
#include "pal/StrUtil.h"
#include "translator/Olm_Translator.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

namespace {

constexpr const char* kPinSigBitPrefix = "OLMW_ONLY_PIN_SIG_BIT_";
constexpr const char* kInternalBlockPrefix = "OLM_";
constexpr const char* kPinActiveProperty = "PROP_PINISACTIVE";

std::string Folded(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = Pal::StrUtil::FoldCase(c);
    return out;
}

// A whole decimal number within a million either way; nullopt for anything else.
std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    if (!Pal::StrUtil::ParseInt(text, value) || value < -1000000 || value > 1000000) return std::nullopt;
    return value;
}

// "[a:b]" into two numbers; nullopt when the text has another form.
std::optional<std::pair<int, int>> ParseRange(const std::string& text) {
    if (text.size() < 5 || text.front() != '[' || text.back() != ']') return std::nullopt;
    const std::string inner = text.substr(1, text.size() - 2);
    const std::size_t colon = inner.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto a = ParseInt(inner.substr(0, colon));
    const auto b = ParseInt(inner.substr(colon + 1));
    if (!a || !b) return std::nullopt;
    return std::make_pair(*a, *b);
}

Olm_HdlDir DirOfText(const std::string& text, bool& known) {
    known = true;
    const std::string dir = Folded(text);
    if (dir == "INPUT" || dir == "IN") return Olm_HdlDir::kIn;
    if (dir == "OUTPUT" || dir == "OUT") return Olm_HdlDir::kOut;
    if (dir == "BIDIR" || dir == "INOUT") return Olm_HdlDir::kInout;
    known = false;
    return Olm_HdlDir::kIn;
}

// A signal of the design as the wrapper sees it.
struct SignalInfo {
    std::string hdlName;
    int width = 1;
    bool isVector = false;
    Olm_HdlBit::Kind tie = Olm_HdlBit::kNet;  // kOne / kZero for tie signals
};

class Builder {
public:
    Builder(const Olm_KfzDesign& kfz, Olm_HdlDesign& out) : m_kfz(kfz), m_out(out) {}

    bool Run(const std::vector<Olm_HdlPrimitive>& library, std::string& error);

private:
    static bool IsInternalBlock(const Olm_KfzBlock& block) {
        return Pal::StrUtil::StartsWithNoCase(block.primType.str(), kInternalBlockPrefix);
    }
    static bool IsHsxBlock(const Olm_KfzBlock& block);
    // The block properties that become parameters, in the block's order.
    static std::vector<const Olm_KfzProperty*> ParamProperties(const Olm_KfzBlock& block);

    void Warn(std::string text) { m_out.warnings.push_back(std::move(text)); }
    Olm_HdlPrimitivePin PinFromDesign(const Olm_KfzBlock& block, const Olm_KfzPin& pin);
    void CollectPrimitive(const Olm_KfzBlock& block, const std::vector<Olm_HdlPrimitive>& library);
    bool BuildInstance(const Olm_KfzBlock& block, std::string& error);
    Olm_HdlConnection BuildConnection(const Olm_KfzBlock& block, const Olm_HdlPrimitivePin& pin,
                                      const Olm_KfzPin* kfzPin);
    void ApplyBitProperty(const Olm_KfzBlock& block, const Olm_KfzPin& kfzPin, const Olm_KfzProperty& prop,
                          Olm_HdlConnection& conn);
    const SignalInfo* FindSignal(const std::string& name) const {
        const auto it = m_signals.find(Folded(name));
        return it == m_signals.end() ? nullptr : &it->second;
    }
    void BuildPortsAndNets();

    const Olm_KfzDesign& m_kfz;
    Olm_HdlDesign& m_out;
    std::map<std::string, SignalInfo> m_signals;  // by folded design name
};

bool Builder::IsHsxBlock(const Olm_KfzBlock& block) {
    for (const char* flag : {"PROP_HSX10", "PROP_HSX11"}) {
        const Olm_KfzProperty* prop = Olm_KfzDesign::FindProperty(block.properties, flag);
        if (prop && prop->value == "TRUE") return true;
    }
    return false;
}

std::vector<const Olm_KfzProperty*> Builder::ParamProperties(const Olm_KfzBlock& block) {
    std::vector<const Olm_KfzProperty*> out;
    const bool hsx = IsHsxBlock(block);
    for (const auto& prop : block.properties) {
        Pal::String name = prop.name;
        if (!Olm_Translator::IsBlkPropIgnored(name, block.primType, hsx)) out.push_back(&prop);
    }
    return out;
}

Olm_HdlPrimitivePin Builder::PinFromDesign(const Olm_KfzBlock& block, const Olm_KfzPin& pin) {
    Olm_HdlPrimitivePin out;
    out.name = pin.name.str();
    bool known = false;
    out.dir = DirOfText(pin.direction.str(), known);
    if (!known) {
        Warn("pin '" + out.name + "' of block '" + block.name.str() + "' has the direction '" +
             pin.direction.str() + "'; it is taken as an input");
    }
    if (pin.hasWidth) {
        if (const auto range = ParseRange(pin.width.str())) {
            out.left = range->first;
            out.right = range->second;
        } else if (const auto count = ParseInt(pin.width.str()); count && *count >= 1) {
            out.left = *count - 1;
        } else {
            Warn("pin '" + out.name + "' of block '" + block.name.str() + "' has the width '" + pin.width.str() +
                 "'; it is taken as one bit");
        }
    }
    out.isVector = pin.hasBus || out.Width() > 1;
    return out;
}

void Builder::CollectPrimitive(const Olm_KfzBlock& block, const std::vector<Olm_HdlPrimitive>& library) {
    Olm_HdlPrimitive* prim = nullptr;
    for (auto& known : m_out.primitives) {
        if (Olm_HdlPrimitive::SameName(known.name, block.primType.str())) prim = &known;
    }
    if (!prim) {
        const Olm_HdlPrimitive* fromLibrary = Olm_FindHdlPrimitive(library, block.primType.str());
        if (fromLibrary) {
            m_out.primitives.push_back(*fromLibrary);
        } else {
            Olm_HdlPrimitive fresh;
            fresh.name = block.primType.str();
            m_out.primitives.push_back(fresh);
            if (!library.empty()) {
                Warn("primitive '" + fresh.name + "' is not among the known primitives; its declaration is built "
                     "from the design");
            }
        }
        prim = &m_out.primitives.back();
    }
    const bool known = Olm_FindHdlPrimitive(library, prim->name) != nullptr;
    for (const auto& pin : block.pins) {
        if (prim->AddPin(PinFromDesign(block, pin)) && known) {
            Warn("pin '" + pin.name.str() + "' of block '" + block.name.str() + "' is not a pin of primitive '" +
                 prim->name + "'; it is added to its declaration");
        }
    }
    for (const Olm_KfzProperty* prop : ParamProperties(block)) {
        Olm_HdlPrimitiveParam param;
        param.name = prop->name.str();
        param.defaultValue = prop->value.str();
        param.kind = Olm_HdlPrimitive::KindOfValue(param.defaultValue);
        prim->AddParam(param);
    }
}

void Builder::ApplyBitProperty(const Olm_KfzBlock& block, const Olm_KfzPin& kfzPin, const Olm_KfzProperty& prop,
                               Olm_HdlConnection& conn) {
    const std::string where = "pin '" + kfzPin.name.str() + "' of block '" + block.name.str() + "'";
    const std::string bits = prop.name.str().substr(std::string(kPinSigBitPrefix).size());
    const std::string value = prop.value.str();
    const std::size_t open = value.rfind('[');
    const auto pinBits = ParseRange("[" + bits + "]");
    const auto sigBits = open == std::string::npos ? std::nullopt : ParseRange(value.substr(open));
    if (!pinBits || !sigBits) {
        Warn(where + ": the bit property '" + prop.name.str() + "' = '" + value + "' is not understood; ignored");
        return;
    }
    const std::string sigName = value.substr(0, open);
    const SignalInfo* sig = FindSignal(sigName);
    SignalInfo fallback;
    if (!sig) {
        if (Folded(sigName) == "VCCA") {
            fallback.tie = Olm_HdlBit::kOne;
        } else if (Folded(sigName) == "GNDA") {
            fallback.tie = Olm_HdlBit::kZero;
        } else {
            Warn(where + ": the bit property '" + prop.name.str() + "' names the unknown signal '" + sigName +
                 "'; ignored");
            return;
        }
        sig = &fallback;
    }
    const Olm_HdlPrimitivePin& pin = conn.pin;
    const int pinStep = pinBits->second >= pinBits->first ? 1 : -1;
    const int sigStep = sigBits->second >= sigBits->first ? 1 : -1;
    const int count = std::min(std::abs(pinBits->second - pinBits->first), std::abs(sigBits->second - sigBits->first)) + 1;
    for (int i = 0; i < count; ++i) {
        const int pinBit = pinBits->first + i * pinStep;
        const int sigBit = sigBits->first + i * sigStep;
        const int lo = std::min(pin.left, pin.right);
        const int hi = std::max(pin.left, pin.right);
        if (pinBit < lo || pinBit > hi) {
            Warn(where + ": bit " + std::to_string(pinBit) + " of the bit property '" + prop.name.str() +
                 "' is outside the pin; ignored");
            continue;
        }
        const int pos = pin.left >= pin.right ? pinBit - pin.right : pin.right - pinBit;
        Olm_HdlBit& target = conn.bits[static_cast<std::size_t>(pos)];
        if (sig->tie != Olm_HdlBit::kNet) {
            target = Olm_HdlBit{sig->tie, {}, -1};
            conn.defaulted[static_cast<std::size_t>(pos)] = false;
        } else if (sigBit < 0 || sigBit >= sig->width) {
            Warn(where + ": bit " + std::to_string(sigBit) + " of signal '" + sigName + "' does not exist; ignored");
        } else {
            target = Olm_HdlBit{Olm_HdlBit::kNet, sig->hdlName, sig->isVector ? sigBit : -1};
            conn.defaulted[static_cast<std::size_t>(pos)] = false;
        }
    }
    if (sig->tie == Olm_HdlBit::kNet) {
        conn.joins.push_back(Olm_HdlJoin{sig->hdlName, std::abs(pinBits->second - pinBits->first) + 1,
                                         std::abs(sigBits->second - sigBits->first) + 1, false});
    }
}

Olm_HdlConnection Builder::BuildConnection(const Olm_KfzBlock& block, const Olm_HdlPrimitivePin& pin,
                                           const Olm_KfzPin* kfzPin) {
    Olm_HdlConnection conn;
    conn.pin = pin;
    const int width = pin.Width();
    const Olm_HdlBit idle{pin.dir == Olm_HdlDir::kIn ? Olm_HdlBit::kZero : Olm_HdlBit::kOpen, {}, -1};
    conn.bits.assign(static_cast<std::size_t>(width), idle);
    conn.defaulted.assign(static_cast<std::size_t>(width), pin.dir == Olm_HdlDir::kIn);
    if (!kfzPin) return conn;
    // A pin the design saved as unused (no active mark, no signal) is left
    // to the primitive's default, as a pin the design leaves out.
    const Olm_KfzProperty* active = Olm_KfzDesign::FindProperty(kfzPin->properties, kPinActiveProperty);
    conn.placed = (active && active->value == "TRUE") || !kfzPin->signal.IsEmpty();

    auto fill = [&](Olm_HdlBit::Kind kind) {
        for (auto& bit : conn.bits) bit = Olm_HdlBit{kind, {}, -1};
        conn.defaulted.assign(conn.defaulted.size(), false);
    };
    bool bitProperties = false;
    for (const auto& prop : kfzPin->properties) {
        if (prop.name.str().rfind(kPinSigBitPrefix, 0) == 0) bitProperties = true;
    }
    if (kfzPin->isVcc) {
        fill(Olm_HdlBit::kOne);
    } else if (kfzPin->isGnded) {
        fill(Olm_HdlBit::kZero);
    } else if (!kfzPin->signal.IsEmpty()) {
        const SignalInfo* sig = FindSignal(kfzPin->signal.str());
        if (!sig) {
            Warn("pin '" + pin.name + "' of block '" + block.name.str() + "' is connected to the unknown signal '" +
                 kfzPin->signal.str() + "'; left unconnected");
        } else if (sig->tie != Olm_HdlBit::kNet) {
            fill(sig->tie);
        } else {
            // Bit by bit from the LSB: a narrower signal leaves the upper pin
            // bits idle, a wider one leaves its upper bits unused.
            const int shared = std::min(width, sig->width);
            for (int pos = 0; pos < shared; ++pos) {
                conn.bits[static_cast<std::size_t>(pos)] =
                    Olm_HdlBit{Olm_HdlBit::kNet, sig->hdlName, sig->isVector ? pos : -1};
            }
            conn.defaulted.assign(conn.defaulted.size(), false);
            // With bit properties the signal name only records the signal
            // they take their bits from; the properties are the joins.
            if (!bitProperties) conn.joins.push_back(Olm_HdlJoin{sig->hdlName, width, sig->width, true});
        }
    }
    for (const auto& prop : kfzPin->properties) {
        if (prop.name.str().rfind(kPinSigBitPrefix, 0) == 0) ApplyBitProperty(block, *kfzPin, prop, conn);
    }
    if (pin.dir != Olm_HdlDir::kIn) {
        bool tied = false;
        for (auto& bit : conn.bits) {
            if (bit.kind == Olm_HdlBit::kZero || bit.kind == Olm_HdlBit::kOne) {
                bit = Olm_HdlBit{};
                tied = true;
            }
        }
        if (tied) {
            Warn("pin '" + pin.name + "' of block '" + block.name.str() +
                 "' drives the design, so its tie to a constant is left out");
        }
    }
    return conn;
}

bool Builder::BuildInstance(const Olm_KfzBlock& block, std::string& error) {
    const Olm_HdlPrimitive* prim = m_out.FindPrimitive(block.primType.str());
    Olm_HdlInstance inst;
    inst.name = block.name.str();
    inst.primitive = prim->name;
    for (const Olm_KfzProperty* prop : ParamProperties(block)) {
        const Olm_HdlPrimitiveParam* decl = prim->FindParam(prop->name.str());
        Olm_HdlParam param{decl->name, prop->value.str(), decl->kind};
        if (!Olm_HdlPrimitive::ValueFitsKind(param.value, param.kind)) {
            error = "block '" + inst.name + "': parameter '" + param.name + "' has the value '" + param.value +
                    "', but primitive '" + prim->name + "' takes " +
                    (param.kind == Olm_HdlParamKind::kInteger ? "an integer" : "a real number") + " there";
            return false;
        }
        inst.params.push_back(param);
    }
    for (const auto& pin : prim->pins) {
        inst.connections.push_back(BuildConnection(block, pin, Olm_KfzDesign::FindPin(block, pin.name.c_str())));
    }
    m_out.instances.push_back(std::move(inst));
    return true;
}

void Builder::BuildPortsAndNets() {
    // How each net is used by the pins: any bidirectional pin makes an inout,
    // else any output pin an output.
    std::map<std::string, Olm_HdlDir> use;
    for (const auto& inst : m_out.instances) {
        for (const auto& conn : inst.connections) {
            for (const auto& bit : conn.bits) {
                if (bit.kind != Olm_HdlBit::kNet) continue;
                auto it = use.find(bit.net);
                if (it == use.end()) {
                    use.emplace(bit.net, conn.pin.dir);
                } else if (conn.pin.dir == Olm_HdlDir::kInout ||
                           (conn.pin.dir == Olm_HdlDir::kOut && it->second == Olm_HdlDir::kIn)) {
                    it->second = conn.pin.dir;
                }
            }
        }
    }
    for (const auto& signal : m_kfz.nets) {
        const SignalInfo* info = FindSignal(signal.name.str());
        if (signal.isExternal) {
            const auto it = use.find(info->hdlName);
            m_out.ports.push_back(
                Olm_HdlPort{info->hdlName, it == use.end() ? Olm_HdlDir::kIn : it->second, info->width, info->isVector});
        } else if (info->tie == Olm_HdlBit::kNet && use.count(info->hdlName)) {
            m_out.nets.push_back(Olm_HdlNet{info->hdlName, info->width, info->isVector});
        }
    }
}

bool Builder::Run(const std::vector<Olm_HdlPrimitive>& library, std::string& error) {
    for (const auto& signal : m_kfz.nets) {
        SignalInfo info;
        info.hdlName = signal.isExternal ? signal.externalName.str() : signal.name.str();
        info.isVector = signal.isBus;
        info.width = signal.isBus ? std::max(signal.busWidth, 1) : 1;
        if (!signal.isExternal) {
            const std::string folded = Folded(signal.name.str());
            if (signal.isVcc || (folded == "VCCA" && !signal.isGnded)) info.tie = Olm_HdlBit::kOne;
            if (signal.isGnded || (folded == "GNDA" && !signal.isVcc)) info.tie = Olm_HdlBit::kZero;
        }
        m_signals.emplace(Folded(signal.name.str()), info);
    }
    for (const auto& block : m_kfz.blocks) {
        if (!IsInternalBlock(block)) CollectPrimitive(block, library);
    }
    for (const auto& block : m_kfz.blocks) {
        if (!IsInternalBlock(block) && !BuildInstance(block, error)) return false;
    }
    BuildPortsAndNets();
    return true;
}

}  // namespace

bool Olm_HdlDesign::Build(const Olm_KfzDesign& kfz, const std::string& designName,
                          const std::vector<Olm_HdlPrimitive>& library, std::string& error) {
    *this = Olm_HdlDesign();
    name = designName;
    Builder builder(kfz, *this);
    return builder.Run(library, error);
}

std::string Olm_HdlDesign::DesignNameFromPath(const std::string& path) {
    std::string base = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    if (base.size() > 4 && Folded(base.substr(base.size() - 4)) == ".KFZ") base.resize(base.size() - 4);
    return base;
}

bool Olm_HdlDesign::NetShape(const std::string& netName, int& width, bool& isVector) const {
    for (const auto& port : ports) {
        if (port.name == netName) {
            width = port.width;
            isVector = port.isVector;
            return true;
        }
    }
    for (const auto& net : nets) {
        if (net.name == netName) {
            width = net.width;
            isVector = net.isVector;
            return true;
        }
    }
    return false;
}

const Olm_HdlPrimitive* Olm_HdlDesign::FindPrimitive(const std::string& primName) const {
    return Olm_FindHdlPrimitive(primitives, primName);
}

std::vector<Olm_HdlRun> Olm_HdlDesign::Runs(const std::vector<Olm_HdlBit>& bits) {
    std::vector<Olm_HdlRun> runs;
    for (int pos = static_cast<int>(bits.size()) - 1; pos >= 0; --pos) {
        const Olm_HdlBit& bit = bits[static_cast<std::size_t>(pos)];
        Olm_HdlRun* last = runs.empty() ? nullptr : &runs.back();
        switch (bit.kind) {
        case Olm_HdlBit::kOpen:
            if (last && last->kind == Olm_HdlRun::kOpen) {
                last->posLo = pos;
                continue;
            }
            runs.push_back(Olm_HdlRun{Olm_HdlRun::kOpen, {}, -1, -1, {}, pos, pos});
            break;
        case Olm_HdlBit::kZero:
        case Olm_HdlBit::kOne: {
            const char digit = bit.kind == Olm_HdlBit::kOne ? '1' : '0';
            if (last && last->kind == Olm_HdlRun::kConst) {
                last->constBits += digit;
                last->posLo = pos;
                continue;
            }
            runs.push_back(Olm_HdlRun{Olm_HdlRun::kConst, {}, -1, -1, std::string(1, digit), pos, pos});
            break;
        }
        case Olm_HdlBit::kNet:
            if (last && last->kind == Olm_HdlRun::kNet && last->net == bit.net && bit.bit >= 0 &&
                last->netLsb >= 0 && bit.bit == last->netLsb - 1) {
                last->netLsb = bit.bit;
                last->posLo = pos;
                continue;
            }
            runs.push_back(Olm_HdlRun{Olm_HdlRun::kNet, bit.net, bit.bit, bit.bit, {}, pos, pos});
            break;
        }
    }
    return runs;
}
