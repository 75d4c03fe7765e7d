#include "HsxWizard.h"

#include "HsxPages.h"

#include "datafiles/Olm_Data.h"
#include "kit/Olm_ModelEdit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Hsx {

namespace {

constexpr const char* kDisplay = "HSX_DISPLAY_NAME";
constexpr const char* kLaneCount = "OLMW_ONLY_LANE_COUNT";

using Pal::StrUtil;

std::string Display(Olm_Block* block) { return block ? block->GetAttributeValue(kDisplay).str() : std::string(); }

bool SameType(const Olm_Block* a, const Olm_Block* b) {
    return StrUtil::EqualNoCase(a->GetPrimType().str(), b->GetPrimType().str());
}

Olm_AllowedValues RuleOf(Olm_Block* block, const char* attribute) {
    Olm_Attribute* attr = block ? block->GetNamedAttribute(attribute) : nullptr;
    return attr ? Olm_AllowedValues::Of(*attr) : Olm_AllowedValues();
}

std::vector<int> IntChoices(Olm_Block* block, const char* attribute) {
    std::vector<int> values;
    const Olm_AllowedValues rule = RuleOf(block, attribute);
    for (const std::string& choice : rule.GetChoices())
        if (int value = 0; StrUtil::ParseInt(choice, value)) values.push_back(value);
    return values;
}

Range RangeOf(Olm_Block* block, const char* attribute) {
    const Olm_AllowedValues rule = RuleOf(block, attribute);
    return rule.IsRange() ? Range{rule.GetMin(), rule.GetMax()} : Range{};
}

std::string LaneSite(int lane) { return lane == 0 ? "LOC" : "OLMW_ONLY_LANE" + std::to_string(lane) + "_LOC"; }

void SetActiveValue(Olm_Block& block, const std::string& attribute, const std::string& value, bool active) {
    Olm_ModelEdit::SetValue(&block, attribute.c_str(), value);
    if (Olm_Attribute* attr = block.GetNamedAttribute(attribute.c_str())) attr->SetIsActive(active);
}

bool Bonded(const Olm_FieldValues& v, int count) { return count > 1 && v.IsOn("OLMW_ONLY_BOND_LANES"); }

PllLimits LimitsOf(Olm_Block* ref) {
    PllLimits limits;
    const Olm_AllowedValues refClocks = RuleOf(ref, "REFCLK_FREQ");
    for (const std::string& choice : refClocks.GetChoices())
        if (double mhz = 0.0; StrUtil::ParseNumber(choice, mhz)) limits.refClocks.push_back(mhz);
    limits.multipliers = IntChoices(ref, "PLL_MULT");
    limits.refDividers = IntChoices(ref, "PLL_REFDIV");
    limits.rateDividers = IntChoices(ref, "PLL_RATEDIV");
    limits.vco = RangeOf(ref, "OLMW_ONLY_VCO_FREQ");
    limits.lineRate = RangeOf(ref, "LINE_RATE");
    limits.fabric = RangeOf(ref, "OLMW_ONLY_FABRIC_FREQ");
    return limits;
}

bool ClockCompensated(const Olm_FieldValues& v) {
    return CodingOf(v.Text("RX_DECODING")) == Coding::B8B10 && v.IsOn("CLK_COMP");
}

}  // namespace

HsxWizard::HsxWizard(bool batchMode) : Olm_KitMain("hsx", batchMode, "Olm Wizard - Transceiver") {
    m_lanePage = &AddPages(*this);
}

HsxWizard::~HsxWizard() = default;

bool HsxWizard::OneBlockType(const std::string& primType) const {
    int blocks = 0;
    if (!m_ref) return false;
    for (Olm_Block* block : m_ref->GetBlkList()) blocks += StrUtil::EqualNoCase(block->GetPrimType().str(), primType);
    return blocks == 1;
}

// The installed block a block of the model stands for: the one of its name,
// else the only one of its type (a lane copy).
Olm_Block* HsxWizard::RefBlockOf(Olm_Block* block) const {
    if (!block || !m_ref) return nullptr;
    Olm_Block* named = m_ref->GetNamedBlock(block->GetName());
    if (named && SameType(named, block)) return named;
    const std::string type = block->GetPrimType().str();
    return OneBlockType(type) ? m_ref->GetPrimitiveBlock(type.c_str()) : nullptr;
}

std::vector<Olm_Block*> HsxWizard::RefLanes(const std::string& display, int count) const {
    if (!m_ref || m_ref->GetBlkList().empty()) return {};
    Olm_Block* chosen = nullptr;
    for (Olm_Block* block : m_ref->GetBlkList())
        if (!chosen && StrUtil::EqualNoCase(Display(block), display)) chosen = block;
    if (!chosen) chosen = m_ref->GetPrimitiveBlock(m_primType.c_str());
    if (!chosen) chosen = m_ref->GetBlkList().front();
    std::vector<Olm_Block*> same;
    for (Olm_Block* block : m_ref->GetBlkList())
        if (SameType(block, chosen)) same.push_back(block);
    const std::vector<int> counts = IntChoices(chosen, kLaneCount);
    const int most = counts.empty() ? 1 : *std::max_element(counts.begin(), counts.end());
    count = std::clamp(count, 1, same.size() == 1 ? most : std::min<int>(most, same.size()));
    if (same.size() == 1) return std::vector<Olm_Block*>(count, chosen);
    if (count == 1) return {chosen};
    return {same.begin(), same.begin() + count};
}

std::vector<Olm_Block*> HsxWizard::RefLanes(const Olm_FieldValues& values) const {
    return RefLanes(values.Text(kDisplay), values.Int(kLaneCount, 1));
}

int HsxWizard::MaxLanes(const Olm_FieldValues& values) const {
    return static_cast<int>(RefLanes(values.Text(kDisplay), std::numeric_limits<int>::max()).size());
}

bool HsxWizard::ChoosesLane(const Olm_FieldValues& values) const {
    const std::vector<Olm_Block*> refs = RefLanes(values);
    return refs.empty() || refs.size() == 1 || OneBlockType(refs.front()->GetPrimType().str());
}

PllLimits HsxWizard::Limits(const Olm_FieldValues& values) const {
    const std::vector<Olm_Block*> refs = RefLanes(values);
    return LimitsOf(refs.empty() ? nullptr : refs.front());
}

std::vector<int> HsxWizard::SequenceLengths(const Olm_FieldValues& values) const {
    const std::vector<Olm_Block*> refs = RefLanes(values);
    return IntChoices(refs.empty() ? nullptr : refs.front(), "CLK_COMP_SEQ_LEN");
}

RateResult HsxWizard::SolveRate(const Olm_FieldValues& values) const {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return RateSolver(Limits(values)).Solve(values.Number("REFCLK_FREQ", nan), values.Number("LINE_RATE", nan));
}

bool HsxWizard::FabricClocks(const Olm_FieldValues& values, double& tx, double& rx, std::string& why) const {
    const PllLimits limits = Limits(values);
    const double rate = values.Number("LINE_RATE");
    const std::vector<Olm_Block*> refs = RefLanes(values);
    Olm_Block* ref = refs.empty() ? nullptr : refs.front();
    const FabricResult t = CheckFabricClock(limits, "TX", rate, CodingOf(values.Text("TX_ENCODING")),
                                            values.Int("TX_DATA_WIDTH"), IntChoices(ref, "TX_DATA_WIDTH"));
    const FabricResult r = CheckFabricClock(limits, "RX", rate, CodingOf(values.Text("RX_DECODING")),
                                            values.Int("RX_DATA_WIDTH"), IntChoices(ref, "RX_DATA_WIDTH"));
    tx = t.mhz;
    rx = r.mhz;
    why = !t.ok ? t.message : r.message;
    return t.ok && r.ok;
}

void HsxWizard::UpdateSiteRules(const Olm_FieldValues& values) {
    const std::vector<Olm_Block*> used = RefLanes(values);
    const std::vector<Olm_Block*> all = RefLanes(values.Text(kDisplay), std::numeric_limits<int>::max());
    for (const auto& field : m_lanePage->FormFields()) {
        for (std::size_t lane = 0; lane < all.size(); ++lane) {
            if (field->GetAttribute() != LaneSite(static_cast<int>(lane))) continue;
            Olm_Block* ref = lane < used.size() ? used[lane] : all[lane];
            if (Olm_Attribute* loc = ref->GetNamedAttribute("LOC")) field->Allow(Olm_AllowedValues::Of(*loc));
        }
    }
}

Olm_Block* HsxWizard::ActivateLanes(const std::vector<Olm_Block*>& refs) {
    Olm_WizData* data = GetWizDataPtr();
    if (!data || refs.empty()) return nullptr;
    m_primType = refs.front()->GetPrimType().str();
    std::vector<Olm_Block*> lanes;
    if (OneBlockType(m_primType)) {
        lanes.push_back(data->GetPrimitiveBlock(m_primType.c_str()));  // its copies come with Apply
    } else {
        for (Olm_Block* ref : refs)
            if (Olm_Block* lane = data->GetNamedBlock(ref->GetName()); lane && SameType(lane, ref))
                lanes.push_back(lane);
    }
    for (Olm_Block* block : data->GetBlkList())
        block->SetIsActive(std::find(lanes.begin(), lanes.end(), block) != lanes.end());
    for (const auto& page : Pages()) page->SetBlockType(m_primType);
    return lanes.empty() ? nullptr : lanes.front();
}

// Lives with the bridge's rename of a design read back (see the header).
void HsxWizard::RestoreLaneBlocks() {
    Olm_WizData* data = GetWizDataPtr();
    for (Olm_Block* block : data->GetBlkList()) {
        Olm_Block* named = m_ref->GetNamedBlock(block->GetName());
        if (block->IsActive() && named && SameType(named, block) &&
            !StrUtil::EqualNoCase(Display(named), Display(block))) {
            Olm_Block* original = nullptr;
            for (Olm_Block* ref : m_ref->GetBlkList())
                if (SameType(ref, block) && StrUtil::EqualNoCase(Display(ref), Display(block))) original = ref;
            Olm_Block* intended = nullptr;
            for (Olm_Block* other : data->GetBlkList())
                if (other != block && other->GetName() == block->GetName()) intended = other;
            if (original && intended) {
                for (Olm_Attribute* attr : block->GetAttributeList()) {
                    if (StrUtil::EqualNoCase(attr->GetName().str(), kDisplay)) continue;
                    SetActiveValue(*intended, attr->GetName().str(), attr->GetCurrentValue().str(), attr->IsActive());
                }
                intended->SetIsActive(true);
                block->SetIsActive(false);
                block->SetName(original->GetName());
            }
        }
        if (Olm_Block* ref = RefBlockOf(block)) Olm_ModelEdit::SetValue(block, kDisplay, Display(ref));
    }
}

bool HsxWizard::InitWizard() {
    Olm_WizData* data = GetWizDataPtr();
    if (!data) return Olm_KitMain::InitWizard();  // reports that there is nothing to work on
    Olm_Data loader;
    if (!loader.ReadDataFile(GetWizType(), GetFamily()) || !loader.GetWizData() ||
        loader.GetWizData()->GetBlkList().empty()) {
        Error("The installed transceiver data of the family %s cannot be read.", GetFamily().c_str());
        return false;
    }
    m_ref = std::make_unique<Olm_WizData>(*loader.GetWizData());
    RestoreLaneBlocks();
    // The first active lane says which transceiver and how many lanes.
    Olm_Block* first = nullptr;
    for (Olm_Block* block : data->GetBlkList())
        if (!first && block->IsActive() && RefBlockOf(block)) first = block;
    if (!first) first = data->GetNamedBlock(m_ref->GetBlkList().front()->GetName());
    if (!first) {
        Error("The design holds no transceiver lane of the installed data.");
        return false;
    }
    const std::vector<Olm_Block*> refs =
        RefLanes(Display(first), StrUtil::AToI(first->GetAttributeValue(kLaneCount).c_str()));
    // The site of a later lane may be given on that lane's own block (the
    // second HSX11 lane, or a lane of a design read back).
    const bool copies = OneBlockType(first->GetPrimType().str());
    for (std::size_t lane = 1; lane < refs.size(); ++lane) {
        const std::string name =
            copies ? first->GetPrimType().str() + "_LANE" + std::to_string(lane) : refs[lane]->GetName().str();
        Olm_Block* own = data->GetNamedBlock(name.c_str());
        Olm_Attribute* loc = own && own != first ? own->GetNamedAttribute("LOC") : nullptr;
        if (loc && loc->IsActive() && Olm_ModelEdit::Value(first, LaneSite(lane).c_str()).empty())
            SetActiveValue(*first, LaneSite(lane), loc->GetCurrentValue().str(), true);
    }
    if (!ActivateLanes(refs)) {
        Error("The design holds no block of the lanes of %s.", Display(refs.front()).c_str());
        return false;
    }
    return Olm_KitMain::InitWizard();
}

bool HsxWizard::Prepare() {
    std::vector<std::string> displays;
    for (Olm_Block* ref : m_ref->GetBlkList()) {
        displays.push_back(Display(ref));
        const PllLimits l = LimitsOf(ref);
        const char* missing = l.refClocks.empty()       ? "REFCLK_FREQ choices"
                              : l.multipliers.empty()   ? "PLL_MULT choices"
                              : l.refDividers.empty()   ? "PLL_REFDIV choices"
                              : l.rateDividers.empty()  ? "PLL_RATEDIV choices"
                              : !(l.vco.max > 0.0)      ? "OLMW_ONLY_VCO_FREQ range"
                              : !(l.lineRate.max > 0.0) ? "LINE_RATE range"
                              : !(l.fabric.max > 0.0)   ? "OLMW_ONLY_FABRIC_FREQ range"
                                                        : nullptr;
        if (missing) {
            Error("The installed data gives %s no usable %s.", ref->GetName().c_str(), missing);
            return false;
        }
    }
    for (const auto& field : m_lanePage->FormFields())
        if (field->GetAttribute() == kDisplay) field->Allow(Olm_AllowedValues::Choices(displays));
    UpdateSiteRules(ModelValues());
    return true;
}

void HsxWizard::UseChosenLanes() {
    Olm_Block* old = m_lanePage->Block();
    if (!old) return;
    const std::string display = Display(old);
    const int count = StrUtil::AToI(old->GetAttributeValue(kLaneCount).c_str());
    if (Olm_Block* ref = RefBlockOf(old)) Olm_ModelEdit::SetValue(old, kDisplay, Display(ref));
    Olm_Block* first = ActivateLanes(RefLanes(display, count));
    if (first && first != old) {
        for (const Olm_Field* field : m_lanePage->Fields()) {
            const std::string& name = field->GetAttribute();
            if (name != kDisplay) Olm_ModelEdit::SetValue(first, name.c_str(), Olm_ModelEdit::Value(old, name.c_str()));
        }
    }
    for (const auto& page : Pages()) page->Bind(*m_ref);
    UpdateSiteRules(ModelValues());
}

bool HsxWizard::Apply() {
    Olm_WizData* data = GetWizDataPtr();
    const Olm_FieldValues& v = ModelValues();
    const std::vector<Olm_Block*> refs = RefLanes(v);
    Olm_Block* first = ActivateLanes(refs);
    if (!first) {
        Error("The design holds no block of the chosen lanes.");
        return false;
    }
    const bool copies = OneBlockType(m_primType);
    if (copies) first->SetName(Olm_InstanceCopy::Name(m_primType, 0, "_LANE").c_str());
    m_lanes = {first};
    for (std::size_t lane = 1; lane < refs.size(); ++lane) {
        const int number = static_cast<int>(lane) + 1;
        Olm_Block* block =
            copies ? Olm_InstanceCopy::Make(*data, *first, Olm_InstanceCopy::Name(m_primType, lane, "_LANE"), number)
                   : data->GetNamedBlock(refs[lane]->GetName());
        if (!block) continue;
        // Every lane runs as the first one does.
        if (!copies)
            for (Olm_Attribute* attr : first->GetAttributeList())
                if (attr->GetName() != kDisplay && attr->GetName() != "LOC")
                    SetActiveValue(*block, attr->GetName().str(), attr->GetCurrentValue().str(), attr->IsActive());
        m_lanes.push_back(block);
    }
    const RateResult pll = SolveRate(v);
    for (std::size_t lane = 0; lane < m_lanes.size(); ++lane)
        SetUpLane(*m_lanes[lane], *refs[lane], static_cast<int>(lane), static_cast<int>(m_lanes.size()), pll);
    return true;
}

void HsxWizard::SetUpLane(Olm_Block& lane, Olm_Block& ref, int index, int count, const RateResult& pll) {
    Olm_WizData& data = *GetWizDataPtr();
    const Olm_FieldValues& v = ModelValues();
    lane.SetIsActive(true);
    Olm_InstanceCopy::Number(lane, index + 1);
    Olm_ModelEdit::SetValue(&lane, "LANE_BOND_MODE",
                            !Bonded(v, count)                         ? "NONE"
                            : index == v.Int("OLMW_ONLY_BOND_MASTER") ? "MASTER"
                                                                      : "SLAVE");
    // The lane's own site, and those of the lanes after the first as the
    // requests keep them: saved only where given, an empty site is no constraint.
    const std::string site = v.Text(LaneSite(index));
    SetActiveValue(lane, "LOC", site, !site.empty());
    for (int other = 1; Olm_Attribute* attr = lane.GetNamedAttribute(LaneSite(other).c_str()); ++other)
        attr->SetIsActive(other < count && !attr->GetCurrentValue().IsEmpty());
    if (pll.ok) {
        Olm_ModelEdit::SetValue(&lane, "PLL_MULT", std::to_string(pll.setting.mult));
        Olm_ModelEdit::SetValue(&lane, "PLL_REFDIV", std::to_string(pll.setting.refDiv));
        Olm_ModelEdit::SetValue(&lane, "PLL_RATEDIV", std::to_string(pll.setting.rateDiv));
    }
    // Clock compensation works on 8b/10b characters only (its page is skipped
    // otherwise); the sequence's length is the count of its characters.
    if (CodingOf(v.Text("RX_DECODING")) != Coding::B8B10) Olm_ModelEdit::SetValue(&lane, "CLK_COMP", "FALSE");
    else if (v.IsOn("CLK_COMP"))
        Olm_ModelEdit::SetValue(&lane, "CLK_COMP_SEQ_LEN",
                                std::to_string(SequenceCharacters(v.Text("CLK_COMP_SEQ")).size()));

    // Pins as installed, then sized, tied and connected for this lane.
    const bool txChars = CodingOf(v.Text("TX_ENCODING")) == Coding::B8B10;
    const bool rxChars = CodingOf(v.Text("RX_DECODING")) == Coding::B8B10;
    const bool ownNets = count > 1 && OneBlockType(m_primType);
    for (Olm_Pin* pin : lane.GetPinList()) {
        const Olm_Pin* refPin = ref.GetNamedPin(pin->GetName());
        if (!refPin) continue;
        *pin = *refPin;
        const std::string name = pin->GetName().str();
        if (pin->SupportsDataWidth()) {
            // The data bus is as wide as the data; its flags have a bit per byte.
            const int width = v.Int(name.rfind("RX", 0) == 0 ? "RX_DATA_WIDTH" : "TX_DATA_WIDTH");
            const int bits = name.size() > 4 && name.compare(name.size() - 4, 4, "DATA") == 0 ? width : width / 8;
            if (bits > 0) {
                pin->SetStartBit(bits - 1);
                pin->SetEndBit(0);
            }
        }
        // Without 8b/10b there are no control characters to flag.
        if (name == "TXISCTRL" && !txChars) {
            pin->SetIsGrounded(true);
            continue;
        }
        if (name == "RXISCTRL" && !rxChars) {
            pin->SetIsActive(false);
            pin->SetSigName("");
            continue;
        }
        Olm_Signal* refNet = pin->GetSigName().IsEmpty() ? nullptr : m_ref->GetNamedSignal(pin->GetSigName());
        if (!refNet) continue;
        const std::string suffix = ownNets ? "_" + std::to_string(index) : "";
        const std::string net = refNet->GetName().str() + suffix;
        pin->SetSigName(net.c_str());
        Olm_Signal* signal =
            data.AddSignal(net.c_str(), refNet->IsExternal(), (refNet->GetDirection().str() + suffix).c_str());
        signal->SetIsBus(refNet->IsBus(), refNet->IsBus() ? pin->GetWidth() : 1);
    }
    // Both clock inputs of a direction take the one fabric clock.
    for (const char* dir : {"TX", "RX"}) {
        Olm_Pin* clock = lane.GetNamedPin((std::string(dir) + "FABCLK").c_str());
        Olm_Pin* clock2 = lane.GetNamedPin((std::string(dir) + "FABCLK2").c_str());
        if (clock && clock2 && clock->IsActive()) clock2->SetSigName(clock->GetSigName());
    }
}

std::string HsxWizard::PortOf(Olm_Block& lane, const char* pinName) const {
    Olm_Pin* pin = lane.GetNamedPin(pinName);
    if (!pin || pin->GetSigName().IsEmpty()) return pinName;
    Olm_Signal* net = GetWizDataPtr()->GetNamedSignal(pin->GetSigName());
    return net && net->IsExternal() ? net->GetDirection().str() : pin->GetSigName().str();
}

std::vector<std::string> HsxWizard::FeatureLines() {
    const Olm_FieldValues& v = ModelValues();
    const std::vector<Olm_Block*> refs = RefLanes(v);
    const int count = static_cast<int>(refs.size());
    if (refs.empty()) return {};
    std::string lanes = std::to_string(count) + " " + m_primType + (count == 1 ? " lane" : " lanes");
    if (!OneBlockType(m_primType)) {
        std::string names;
        for (Olm_Block* ref : refs) names += (names.empty() ? "" : ", ") + Display(ref);
        lanes += " (" + names + ")";
    }
    if (count > 1)
        lanes += Bonded(v, count) ? ", bonded (master lane " + v.Text("OLMW_ONLY_BOND_MASTER") + ")," : ", not bonded,";
    const RateResult pll = SolveRate(v);
    const PllSetting& s = pll.setting;
    double tx = 0.0, rx = 0.0;
    std::string why;
    FabricClocks(v, tx, rx, why);
    const bool comma = CodingOf(v.Text("RX_DECODING")) != Coding::B64B66 && v.IsOn("COMMA_DETECT");
    std::string path = "TX " + v.Text("TX_DATA_WIDTH") + " bits " + v.Text("TX_ENCODING") + ", RX " +
                       v.Text("RX_DATA_WIDTH") + " bits " + v.Text("RX_DECODING");
    path += comma ? ", comma " + v.Text("COMMA_VALUE") : std::string(", no comma detection");
    path += ClockCompensated(v) ? ", clock compensation " + v.Text("CLK_COMP_SEQ") : std::string();
    if (v.Text("LOOPBACK_MODE") != "NONE") path += ", loopback " + v.Text("LOOPBACK_MODE");
    for (const char* buffer : {"TX_BUFFER_USE", "RX_BUFFER_USE"})
        if (!v.IsOn(buffer)) path += std::string(", ") + buffer[0] + "X buffer bypassed";
    return {lanes + " at " + v.Text("LINE_RATE") + " Gbit/s from " + v.Text("REFCLK_FREQ") + " MHz.",
            (pll.ok ? "PLL: VCO = " + v.Text("REFCLK_FREQ") + " MHz x " + std::to_string(s.mult) + " / " +
                          std::to_string(s.refDiv) + " = " + Num(s.vcoMHz) + " MHz, rate divider " +
                          std::to_string(s.rateDiv) + "; "
                    : std::string()) +
                "fabric clocks " +
                (Num(tx) == Num(rx) ? Num(tx) + " MHz." : "TX " + Num(tx) + " MHz, RX " + Num(rx) + " MHz."),
            path + "."};
}

void HsxWizard::AddConstraints(Olm_ConstraintTemplate& pkx) {
    const Olm_FieldValues& v = ModelValues();
    double tx = 0.0, rx = 0.0;
    std::string why;
    FabricClocks(v, tx, rx, why);
    const double ref = v.Number("REFCLK_FREQ");
    for (Olm_Block* lane : m_lanes) pkx.AddSite(lane->GetName().str(), Olm_ModelEdit::Value(lane, "LOC"));
    for (Olm_Block* lane : m_lanes) {
        pkx.AddClock(PortOf(*lane, "REFCLK"), ref > 0.0 ? 1000.0 / ref : 0.0);
        pkx.AddClock(PortOf(*lane, "TXFABCLK"), tx > 0.0 ? 1000.0 / tx : 0.0);
        pkx.AddClock(PortOf(*lane, "RXFABCLK"), rx > 0.0 ? 1000.0 / rx : 0.0);
    }
}

std::vector<std::string> SequenceCharacters(const std::string& sequence) {
    std::vector<std::string> characters;
    for (std::size_t at = 0; at < sequence.size();) {
        const std::size_t start = sequence.find_first_not_of(" \t", at);
        if (start == std::string::npos) break;
        const std::size_t end = std::min(sequence.find_first_of(" \t", start), sequence.size());
        characters.push_back(sequence.substr(start, end - start));
        at = end;
    }
    return characters;
}

std::string SequenceProblem(const std::string& sequence, const std::vector<int>& lengths) {
    const std::vector<std::string> characters = SequenceCharacters(sequence);
    for (const std::string& c : characters) {
        // Dx.y or Kx.y: x 0 to 31, y 0 to 7; of the K characters only K28.y,
        // K23.7, K27.7, K29.7 and K30.7 exist.
        int x = -1, y = -1;
        const std::size_t dot = c.find('.');
        const bool parsed = c.size() >= 4 && (c[0] == 'D' || c[0] == 'K') && dot != std::string::npos &&
                            StrUtil::ParseInt(c.substr(1, dot - 1), x) && StrUtil::ParseInt(c.substr(dot + 1), y) &&
                            x >= 0 && x <= 31 && y >= 0 && y <= 7 && c[1] != '+' && c[dot + 1] != '+';
        const bool valid = parsed && (c[0] == 'D' || x == 28 || (y == 7 && (x == 23 || x == 27 || x == 29 || x == 30)));
        if (!valid)
            return "'" + c +
                   "' in the clock-compensation sequence is no 8b/10b character (Dx.y, or K28.0 to K28.7, "
                   "K23.7, K27.7, K29.7, K30.7).";
    }
    const int count = static_cast<int>(characters.size());
    if (std::find(lengths.begin(), lengths.end(), count) == lengths.end()) {
        std::string allowed;
        for (std::size_t i = 0; i < lengths.size(); ++i)
            allowed += (i == 0 ? "" : i + 1 == lengths.size() ? " or " : ", ") + std::to_string(lengths[i]);
        return "The clock-compensation sequence '" + sequence + "' has " + std::to_string(count) +
               (count == 1 ? " character" : " characters") + "; the receiver takes sequences of " + allowed +
               " characters.";
    }
    return {};
}

}  // namespace Hsx
