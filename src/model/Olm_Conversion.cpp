// Primitive conversion and instance numbers of Olm_WizData.

#include "model/Olm_WizData.h"
#include "model/Olm_InstanceCopy.h"

#include "pal/StrUtil.h"

namespace {

constexpr const char* kInstNumAttr = Olm_InstanceCopy::kInstNumAttr;

// Attributes whose value moves to another name when a block is converted
// (from the old block's name to the new block's name, one way only).
struct AttrRename {
    const char* oldName;
    const char* newName;
};
constexpr AttrRename kAttrRenames[] = {
    {"OLMW_ONLY_PLL_FB_SOURCE", "OLMW_ONLY_PLL_FBSRC_CLKOUT"},
    {"FBCLKOUT_MULT", "CLKFBOUT_MULT"},
    {"FBCLKOUT_PHASE", "CLKFBOUT_PHASE"},
};

bool SamePrim(const Olm_Block* block, const Pal::String& primType) {
    return block->GetPrimType().Compare(primType, Pal::String::kNoCase) == 0;
}

Pal::String InstNumText(int instNum) {
    Pal::String text;
    text.Format("%d", instNum);
    return text;
}

// Blocks of primType carrying the instance number as exactly this text.
Olm_Block* FindInstBlock(Olm_BlockList& blocks, const Pal::String& primType, int instNum, bool activeOnly) {
    const Pal::String wanted = InstNumText(instNum);
    for (Olm_Block* block : blocks) {
        if (!SamePrim(block, primType) || (activeOnly && !block->IsActive())) continue;
        const Olm_Attribute* inst = block->GetNamedAttribute(kInstNumAttr);
        if (inst && inst->GetCurrentValue() == wanted) return block;
    }
    return nullptr;
}

void CarryAttributes(const Olm_Block& from, Olm_Block& to) {
    for (const Olm_Attribute* attribute : from.GetAttributeList()) {
        const Pal::String& name = attribute->GetName();
        const Pal::String& value = attribute->GetCurrentValue();
        if (Olm_Attribute* same = to.GetNamedAttribute(name)) same->SetCurrentValue(value);
        for (const AttrRename& rename : kAttrRenames) {
            if (name.Compare(rename.oldName, Pal::String::kNoCase) != 0) continue;
            if (Olm_Attribute* renamed = to.GetNamedAttribute(rename.newName)) renamed->SetCurrentValue(value);
        }
    }
}

void CarryPins(const Olm_Block& from, const Pal::String& oldPrim, Olm_Block& to) {
    const bool fromBase = oldPrim.Compare("RKO_BASE", Pal::String::kNoCase) == 0;
    for (const Olm_Pin* pin : from.GetPinList()) {
        if (!pin->IsActive()) continue;
        Pal::String name = pin->GetName();
        if (fromBase && name.Compare("CLKIN", Pal::String::kNoCase) == 0) name = "CLKIN1";
        Olm_Pin* target = to.GetNamedPin(name);
        if (!target) continue;
        target->SetIsActive(true);
        target->SetSigName(pin->GetSigName());
        for (const Olm_Attribute* attribute : pin->GetAttributeList()) {
            target->SetAttributeValue(attribute->GetName(), attribute->GetCurrentValue());
        }
    }
}

}  // namespace

Olm_Block* Olm_WizData::GetActiveBlockInstNum(Pal::String primType, int instNum) {
    return FindInstBlock(m_blocks, primType, instNum, true);
}

Olm_Block* Olm_WizData::GetBlockInstNum(Pal::String primType, int instNum) {
    return FindInstBlock(m_blocks, primType, instNum, false);
}

Olm_Block* Olm_WizData::ConvertActiveBlk(Pal::String oldPrim, Pal::String newPrim, int instNum) {
    Olm_Block* oldBlock = nullptr;
    for (Olm_Block* block : m_blocks) {
        if (!block->IsActive() || !SamePrim(block, oldPrim)) continue;
        if (instNum != 0) {
            const Pal::String inst = block->GetAttributeValue(kInstNumAttr);
            if (inst.IsEmpty() || Pal::StrUtil::AToI(inst) != instNum) continue;
        }
        oldBlock = block;
        break;
    }
    if (!oldBlock) return nullptr;

    Olm_Block* templ = GetPrimitiveBlock(newPrim);
    if (!templ) return nullptr;

    // The values are carried over from a snapshot of the old block: making an
    // instance block may delete the old block when it bears the instance name
    // (a numbered block converted to its own type and number).
    const Olm_Block oldData(*oldBlock);

    Olm_Block* target = templ;
    if (instNum != 0) {
        const std::string name = Olm_InstanceCopy::Name(newPrim.c_str(), instNum);
        if (GetNamedBlock(name.c_str()) == oldBlock) oldBlock = nullptr;  // replaced by the copy below
        target = Olm_InstanceCopy::Make(*this, *templ, name, instNum);
        if (!target) return nullptr;
    }

    target->SetIsActive(true);
    if (oldBlock) oldBlock->SetIsActive(false);

    CarryAttributes(oldData, *target);
    CarryPins(oldData, oldPrim, *target);
    return target;
}
