#include "model/Olm_InstanceCopy.h"

#include "model/Olm_WizData.h"

std::string Olm_InstanceCopy::Name(const std::string& primType, int n, const char* infix) {
    return primType + infix + std::to_string(n);
}

void Olm_InstanceCopy::Number(Olm_Block& block, int n) {
    block.SetAttributeValue(kInstNumAttr, std::to_string(n).c_str());
}

Olm_Block* Olm_InstanceCopy::Make(Olm_WizData& data, Olm_Block& templ, const std::string& name, int n) {
    Olm_Block* copy = data.CopyBlock(&templ, name.c_str());
    if (!copy) return nullptr;
    copy->SetIsActive(true);
    Number(*copy, n);
    return copy;
}
