#include "wizard/Olm_SummaryRules.h"

#include "model/Olm_Attribute.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "pal/StrUtil.h"
#include "translator/Olm_Translator.h"

bool Olm_SummaryRules::ListsBlock(const Olm_Block& block) {
    return block.IsActive() && !Pal::StrUtil::StartsWithNoCase(block.GetPrimType().str(), "OLM_");
}

bool Olm_SummaryRules::ListsAttribute(Olm_Block& block, Olm_Attribute& attribute, bool onlyChanged) {
    if (!attribute.IsActive() || !attribute.IsModifiable()) return false;
    const bool hsx = block.SupportsHSX10() || block.SupportsHSX11();
    if (Olm_Translator::IsBlkPropIgnored(attribute.GetName(), block.GetPrimType(), hsx)) return false;
    return !onlyChanged || attribute.DiffersFromDefault() || attribute.GetName().Compare("LOC", Pal::String::kNoCase) == 0;
}

std::vector<std::string> Olm_SummaryRules::ChangedSettings(Olm_WizData& data) {
    std::vector<std::string> lines;
    for (Olm_Block* block : data.GetBlkList()) {
        if (!block || !ListsBlock(*block)) continue;
        for (Olm_Attribute* attribute : block->GetAttributeList()) {
            if (!attribute || !ListsAttribute(*block, *attribute, true)) continue;
            lines.push_back(block->GetName().str() + "." + attribute->GetName().str() + " = " +
                            attribute->GetCurrentValue().str() + "  (default " + attribute->GetDefaultValue().str() +
                            ")");
        }
    }
    return lines;
}
