#include "GenericWizard.h"

#include <map>
#include <set>

namespace Generic {

namespace {

// The most instances the data allows of a block: the top of its instance
// number range, else one.
int MaxInstances(Olm_Block& block) {
    Olm_Attribute* number = block.GetNamedAttribute(Olm_InstanceCopy::kInstNumAttr);
    const Olm_AllowedValues rule = number ? Olm_AllowedValues::Of(*number) : Olm_AllowedValues();
    return rule.GetKind() == Olm_AllowedValues::Kind::Integer ? static_cast<int>(rule.GetMax()) : 1;
}

// The pins a port field is offered for: used by default and connected to a
// net by the data.
bool IsPortPin(const Olm_Pin& pin) { return pin.IsActive() && !pin.GetSigName().IsEmpty(); }

// A used pin that drives its net.
bool IsDrivingPin(const Olm_Pin& pin) {
    return IsPortPin(pin) && (pin.GetDirection() == "OUT" || pin.GetDirection() == "INOUT");
}

// Connects the pin to a net of its own, named after its net with the suffix
// added, made like that net (a port named with the same suffix, as wide).
void OwnNet(Olm_WizData& data, Olm_Pin& pin, const std::string& suffix) {
    const Olm_Signal* net = data.GetNamedSignal(pin.GetSigName());
    const std::string own = pin.GetSigName().str() + suffix;
    pin.SetSigName(own.c_str());
    if (!net) return;
    const bool external = net->IsExternal();
    const std::string port = external ? net->GetDirection().str() + suffix : std::string();
    const bool bus = net->IsBus();
    const int width = net->GetWidth();
    Olm_Signal* copied = data.AddSignal(own.c_str(), external, port.c_str());
    if (bus) copied->SetIsBus(true, width);
}

}  // namespace

GenericWizard::GenericWizard(const std::string& wizType, bool batchMode)
    : Olm_KitMain(wizType, batchMode, "Olm Wizard - " + wizType) {}

void GenericWizard::DeclareFromData(Olm_WizData& installed) {
    std::set<std::string> seen;
    for (Olm_Block* block : installed.GetBlkList()) {
        const std::string type = block->GetPrimType().str();
        if (type.empty() || Pal::StrUtil::StartsWithNoCase(type, "OLM_") || !seen.insert(type).second) continue;
        if (Pages().size() >= static_cast<std::size_t>(kMaxPages)) break;
        Olm_KitPage& page = AddPage(type, "The settings of the " + type + " blocks of the design.");
        page.SetBlockType(type);
        page.AddField(kCount, "Number of instances:")
            .Default("1")
            .Allow(Olm_AllowedValues::Integers(0, MaxInstances(*block)));
        const auto used = [](const Olm_FieldValues& v) { return v.Int(kCount) > 0; };
        for (Olm_Attribute* attribute : block->GetAttributeList()) {
            if (attribute->IsModifiable()) page.AddField(attribute->GetName().str(), attribute->GetName().str() + ":").EnabledWhen(used);
        }
        for (Olm_Pin* pin : block->GetPinList()) {
            if (IsPortPin(*pin)) page.AddPort(pin->GetName().str(), pin->GetName().str() + " port:").EnabledWhen(used);
        }
    }
}

// Instance 1 is the data's block; the others are copies of it, each on nets
// and ports of its own. The data may connect pins of several block types to
// one net (each type is a choice of its own there). A used block gets a net
// of its own, named with "_<TYPE>" added, for a pin whose net an earlier used
// block drives (when the pin drives it too) or made another width, so that
// no net has two drivers and no pin drops bits of its net.
bool GenericWizard::Apply() {
    Olm_WizData& data = *GetWizDataPtr();
    std::set<std::string> driven;
    std::map<std::string, int> widths;  // the nets of used blocks, by name, with the width they were given
    for (const auto& page : Pages()) {
        Olm_Block* first = data.GetPrimitiveBlock(page->GetBlockType().c_str());
        if (!first) continue;
        const int count = page->ModelValues().Int(kCount, 1);
        first->SetIsActive(count > 0);
        for (Olm_Pin* pin : first->GetPinList()) {
            if (count <= 0 || !IsPortPin(*pin) || pin->HasPinSigBitProp()) continue;
            const bool drives = IsDrivingPin(*pin);
            const int width = pin->GetWidth();
            const auto sized = widths.find(pin->GetSigName().str());
            if ((drives && driven.count(pin->GetSigName().str())) ||
                (sized != widths.end() && width > 1 && sized->second != width))
                OwnNet(data, *pin, "_" + page->GetBlockType());
            const std::string net = pin->GetSigName().str();
            if (drives) driven.insert(net);
            Olm_Signal* signal = data.GetNamedSignal(net.c_str());
            if (signal && width > 1) signal->SetIsBus(true, width);
            widths.emplace(net, signal ? signal->GetWidth() : width);
        }
        for (int n = 2; n <= MaxInstances(*first); ++n) {
            const std::string name = Olm_InstanceCopy::Name(page->GetBlockType(), n);
            if (n > count) {
                if (Olm_Block* stale = data.GetNamedBlock(name.c_str())) data.DeleteBlock(stale);
                continue;
            }
            Olm_Block* copy = Olm_InstanceCopy::Make(data, *first, name, n);
            const std::string suffix = "_" + std::to_string(n);
            for (Olm_Pin* pin : copy->GetPinList()) {
                // Bits tied one by one stay on their tie signals.
                if (IsPortPin(*pin) && !pin->HasPinSigBitProp()) OwnNet(data, *pin, suffix);
            }
        }
    }
    return true;
}

std::vector<std::string> GenericWizard::FeatureLines() {
    std::string blocks;
    for (const auto& page : Pages()) {
        const int count = page->ModelValues().Int(kCount, 1);
        if (count > 0) blocks += (blocks.empty() ? "" : ", ") + std::to_string(count) + " " + page->GetBlockType();
    }
    return {"From the installed data of " + GetWizType().str() + ": " + (blocks.empty() ? "no block" : blocks) + "."};
}

}  // namespace Generic
