#include "SsioNetlist.h"

#include "OlmBase.h"

#include <set>

namespace Ssio {

namespace {

constexpr const char* kBitPropPrefix = "OLMW_ONLY_PIN_SIG_BIT_";

}  // namespace

std::string SsioNetlist::InstanceName(const std::string& primType, int instNum) {
    return Olm_InstanceCopy::Name(primType, instNum);
}

bool SsioNetlist::IsInstanceName(const std::string& name, const std::string& primType) {
    const std::string prefix = primType + Olm_InstanceCopy::kInstInfix;
    if (name.size() <= prefix.size() || !Pal::StrUtil::StartsWithNoCase(name, prefix)) return false;
    return name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

void SsioNetlist::RemoveInstances(const std::string& primType) {
    Olm_Block* templ = m_data.GetPrimitiveBlock(primType.c_str());
    for (bool removed = true; removed;) {
        removed = false;
        for (Olm_Block* block : m_data.GetBlkList()) {
            if (block == templ || block->GetPrimType().Compare(primType.c_str(), Pal::String::kNoCase) != 0) continue;
            m_data.DeleteBlock(block);
            removed = true;
            break;
        }
    }
}

Olm_Block* SsioNetlist::NewInstance(Olm_Block& templ, int instNum) {
    return Olm_InstanceCopy::Make(m_data, templ, InstanceName(templ.GetPrimType().str(), instNum), instNum);
}

Olm_Signal* SsioNetlist::Net(const std::string& name, int width, const std::string& port) {
    Olm_Signal* signal = m_data.AddSignal(name.c_str(), !port.empty(), port.c_str());
    signal->SetIsBus(width > 0, width);
    return signal;
}

void SsioNetlist::ConnectBits(Olm_Block& block, const char* pin, int pinHi, int pinLo, const std::string& net,
                              int netHi) {
    Olm_Pin* p = block.GetNamedPin(pin);
    if (!p) return;
    p->SetIsActive(true);
    p->ClearAllConnections();  // no tie, and no net as a whole, which SetPinSigBitProp would give it
    p->SetPinSigBitProp(net.c_str(), pinHi, pinLo, netHi, netHi - (pinHi - pinLo));
    p->SetSigName("");
}

void SsioNetlist::Disconnect(Olm_Block& block, const char* pin) {
    if (Olm_Pin* p = block.GetNamedPin(pin)) {
        p->ClearAllConnections();
        p->RemoveAllPinSigBitProps();
        p->SetIsActive(false);
    }
}

void SsioNetlist::Tie(Olm_Block& block, const char* pin, bool vcc) {
    if (Olm_Pin* p = block.GetNamedPin(pin)) {
        p->RemoveAllPinSigBitProps();
        p->SetIsActive(true);
        if (vcc) p->SetIsVcc(true);
        else p->SetIsGrounded(true);
    }
}

std::string SsioNetlist::CascadeNet(const std::string& primType, int k) {
    return primType + "_CASC" + std::to_string(k);
}

void SsioNetlist::Cascade(Olm_Block& master, Olm_Block& slave, int bit, int busWidth) {
    const bool masterFeeds = Olm_ModelEdit::Value(&master, "OLMW_ONLY_CASCADE_FEED") != "SLAVE_TO_MASTER";
    Olm_Block& from = masterFeeds ? master : slave;
    Olm_Block& to = masterFeeds ? slave : master;
    for (int k = 1; k <= 2; ++k) {
        const std::string net = CascadeNet(master.GetPrimType().str(), k);
        Net(net, busWidth);
        const std::string out = "CASC_DOUT" + std::to_string(k), in = "CASC_DIN" + std::to_string(k);
        ConnectBits(from, out.c_str(), 0, 0, net, bit);
        ConnectBits(to, in.c_str(), 0, 0, net, bit);
    }
}

void SsioNetlist::ActivateBitNets() {
    std::set<std::string> named;
    for (Olm_Block* block : m_data.GetBlkList()) {
        if (!block->IsActive()) continue;
        for (Olm_Pin* pin : block->GetPinList()) {
            if (!pin->IsActive()) continue;
            for (Olm_Attribute* attribute : pin->GetAttributeList()) {
                if (!attribute->IsActive() || !attribute->GetName().str().starts_with(kBitPropPrefix)) continue;
                const std::string value = attribute->GetCurrentValue().str();
                named.insert(value.substr(0, value.find('[')));
            }
        }
    }
    for (Olm_Signal* signal : m_data.GetSigList())
        if (named.count(signal->GetName().str())) signal->SetIsActive(true);
}

}  // namespace Ssio
