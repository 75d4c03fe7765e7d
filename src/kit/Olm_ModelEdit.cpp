#include "kit/Olm_ModelEdit.h"

#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_Signal.h"
#include "model/Olm_WizData.h"

#include <set>

std::string Olm_ModelEdit::Value(Olm_Block* block, const char* attribute, const std::string& fallback) {
    Olm_Attribute* attr = block ? block->GetNamedAttribute(attribute) : nullptr;
    return attr ? attr->GetCurrentValue().str() : fallback;
}

void Olm_ModelEdit::SetValue(Olm_Block* block, const char* attribute, const std::string& value) {
    if (!block) return;
    if (Olm_Attribute* attr = block->GetNamedAttribute(attribute)) {
        attr->SetCurrentValue(value);
        return;
    }
    block->AddAttribute(attribute, value);
}

void Olm_ModelEdit::ConnectPort(Olm_WizData& data, Olm_Block& block, const char* pin, const char* net,
                                const std::string& port, int busWidth) {
    Olm_Pin* p = block.GetNamedPin(pin);
    if (!p) return;
    p->SetIsActive(true);
    p->SetSigName(net);
    Olm_Signal* signal = data.AddSignal(net, true, port);
    if (signal && busWidth > 0) signal->SetIsBus(true, busWidth);
}

void Olm_ModelEdit::ActivateUsedNets(Olm_WizData& data) {
    std::set<std::string> used;
    for (Olm_Block* block : data.GetBlkList()) {
        if (!block || !block->IsActive()) continue;
        for (Olm_Pin* pin : block->GetPinList()) {
            if (pin && pin->IsActive() && !pin->GetSigName().IsEmpty()) used.insert(pin->GetSigName().str());
        }
    }
    for (Olm_Signal* signal : data.GetSigList()) {
        if (!signal) continue;
        if (signal->GetName() == "VCCa" || signal->GetName() == "GNDa") continue;
        signal->SetIsActive(used.count(signal->GetName().str()) != 0);
    }
}
