#include "SsioWizard.h"

#include "SsioNetlist.h"

#include "OlmBase.h"

#include <algorithm>
#include <limits>

namespace Ssio {

namespace {

std::string Plural(int count, const std::string& what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// The rule of an attribute of a block, or none when either is missing.
Olm_AllowedValues RuleOf(Olm_Block* block, const char* attribute) {
    Olm_Attribute* attr = block ? block->GetNamedAttribute(attribute) : nullptr;
    return attr ? Olm_AllowedValues::Of(*attr) : Olm_AllowedValues();
}

bool ReadRange(Olm_Block* block, const char* attribute, Range& range) {
    const Olm_AllowedValues rule = RuleOf(block, attribute);
    if (!rule.IsRange() || !(rule.GetMin() > 0.0) || rule.GetMax() < rule.GetMin()) return false;
    range = {rule.GetMin(), rule.GetMax()};
    return true;
}

bool ReadWholeRange(Olm_Block* block, const char* attribute, int& min, int& max) {
    const Olm_AllowedValues rule = RuleOf(block, attribute);
    if (rule.GetKind() != Olm_AllowedValues::Kind::Integer || rule.GetMin() < 0 || rule.GetMax() < rule.GetMin())
        return false;
    min = static_cast<int>(rule.GetMin());
    max = static_cast<int>(rule.GetMax());
    return true;
}

bool ReadChoices(Olm_Block* block, const char* attribute, std::vector<int>& values) {
    values.clear();
    const Olm_AllowedValues rule = RuleOf(block, attribute);
    for (const std::string& choice : rule.GetChoices()) {
        int value = 0;
        if (!Pal::StrUtil::ParseInt(choice, value) || value < 1) return false;
        values.push_back(value);
    }
    return !values.empty();
}

}  // namespace

SsioWizard::SsioWizard(Role role, bool batchMode, const std::string& setupTitle, const std::string& setupIntro)
    : Olm_KitMain(role.wizType, batchMode, role.title), m_role(std::move(role)), m_timing(Limits{}) {
    SetBlockType(m_role.primType);
    m_setup = &AddPage<SsioPage>(this, setupTitle, setupIntro);
    m_setup->AddField("OLMW_ONLY_BUS_WIDTH", "Bus width (bits):");
    m_setup->AddField(m_role.rateAttr, "Data rate:");
    // The ratios the data rate allows (the data's OLMW_ONLY_SDR_WIDTHS and
    // _DDR_WIDTHS, which the clock plan checks too).
    m_setup->AddField("DATA_WIDTH", "Ratio (bits per word):")
        .OfferWhen([this](const std::string& choice, const Olm_FieldValues& values) {
            const Limits& limits = m_timing.GetLimits();
            const std::vector<int>& ratios = Ddr(values) ? limits.ddrRatios : limits.sdrRatios;
            int ratio = 0;
            return ratios.empty() || (Pal::StrUtil::ParseInt(choice, ratio) &&
                                      std::find(ratios.begin(), ratios.end(), ratio) != ratios.end());
        });
    m_setup->AddField("OLMW_ONLY_BIT_RATE", "Bit rate per line (Mb/s):");
    m_setup->AddRule([this](const Olm_FieldValues& values) {
        const ClockPlan plan = Plan(values);
        return plan.ok ? std::string() : plan.message;
    }, {"OLMW_ONLY_BIT_RATE", "DATA_WIDTH"});
    // The clocks, or why there are none; then the blocks and the word layout.
    m_setup->AddNote([this](const Olm_FieldValues& values) {
        const ClockPlan plan = Plan(values);
        if (!plan.ok) return plan.message;
        return "Fast clock " + values.Text(Olm_Field::PortAttribute("CLK")) + ": " + SsioTiming::Number(plan.fastMHz) +
               " MHz, " + (Ddr(values) ? "two bits per cycle (DDR)." : "one bit per cycle (SDR).");
    });
    m_setup->AddNote([this](const Olm_FieldValues& values) {
        const ClockPlan plan = Plan(values);
        if (!plan.ok) return std::string();
        return "Word clock " + values.Text(Olm_Field::PortAttribute("CLKWORD")) + ": " +
               SsioTiming::Number(plan.wordMHz) + " MHz, a word of " + std::to_string(Ratio(values)) +
               " bits per cycle.";
    });
    m_setup->AddNote([this](const Olm_FieldValues& values) {
        const int lines = BusWidth(values), ratio = Ratio(values);
        const ClockPlan plan = Plan(values);
        if (lines < 1 || !plan.ok) return std::string();
        const std::string prim = m_role.primType;
        const std::string blocks =
            plan.cascade ? Plural(2 * lines, prim) + ": a master and a slave per line, as one " + prim +
                               " handles at most " + std::to_string(m_timing.GetLimits().blockRatio) +
                               " bits per word. "
                         : Plural(lines, prim) + ": one per line. ";
        const std::string r = std::to_string(ratio);
        return blocks + "Parallel data port " + values.Text(Olm_Field::PortAttribute(m_role.wordPin)) + "[" +
               std::to_string(lines * ratio - 1) + ":0]: the word of line b at [" + r + "b+" +
               std::to_string(ratio - 1) + ":" + r + "b].";
    });
}

bool SsioWizard::Ddr(const Olm_FieldValues& values) const {
    return Pal::StrUtil::EqualNoCase(values.Text(m_role.rateAttr), "DDR");
}

ClockPlan SsioWizard::Plan(const Olm_FieldValues& values) const {
    const double rate = values.Number("OLMW_ONLY_BIT_RATE", std::numeric_limits<double>::quiet_NaN());
    return m_timing.Clocks(rate, Ddr(values), Ratio(values));
}

std::string SsioWizard::MadeName(const std::string& name) const {
    for (const std::string& net : m_role.internalNets)
        if (Pal::StrUtil::EqualNoCase(net, name)) return "a net";
    if (Olm_WizData* data = GetWizDataPtr()) {
        for (Olm_Block* block : data->GetBlkList())
            if (SsioNetlist::IsInstanceName(name, block->GetPrimType().str())) return "a block";
    }
    return {};
}

bool SsioWizard::ReadLimits(Olm_WizData& data, const std::string& primType, Limits& limits, std::string& missing) {
    Olm_Block* block = data.GetPrimitiveBlock(primType.c_str());
    Olm_Block* delay = data.GetPrimitiveBlock("IDLY");
    int ignored = 0;
    int taps = 0;
    const Olm_AllowedValues tapsRule = RuleOf(delay, "OLMW_ONLY_TAPS_PER_PERIOD");
    const struct {
        const char* attribute;
        bool ok;
    } reads[] = {
        {"OLMW_ONLY_CLK_FREQ", ReadRange(block, "OLMW_ONLY_CLK_FREQ", limits.fastClock)},
        {"OLMW_ONLY_CLKWORD_FREQ", ReadRange(block, "OLMW_ONLY_CLKWORD_FREQ", limits.wordClock)},
        {"OLMW_ONLY_SDR_WIDTHS", ReadChoices(block, "OLMW_ONLY_SDR_WIDTHS", limits.sdrRatios)},
        {"OLMW_ONLY_DDR_WIDTHS", ReadChoices(block, "OLMW_ONLY_DDR_WIDTHS", limits.ddrRatios)},
        {"OLMW_ONLY_BLOCK_WIDTH", ReadWholeRange(block, "OLMW_ONLY_BLOCK_WIDTH", ignored, limits.blockRatio)},
        {"DELAY_TAPS", ReadWholeRange(delay, "DELAY_TAPS", limits.minTaps, limits.maxTaps)},
        {"REF_FREQ", ReadRange(delay, "REF_FREQ", limits.refClock)},
        {"OLMW_ONLY_TAPS_PER_PERIOD", tapsRule.GetChoices().size() == 1 &&
                                          Pal::StrUtil::ParseInt(tapsRule.GetChoices()[0], taps) && taps > 0},
    };
    for (const auto& read : reads) {
        if (read.ok) continue;
        missing = read.attribute;
        return false;
    }
    limits.block = primType;
    limits.tapsPerPeriod = taps;
    return true;
}

bool SsioWizard::Prepare() {
    Limits limits;
    std::string missing;
    if (!ReadLimits(*GetWizDataPtr(), m_role.primType, limits, missing)) {
        Error("The installed data gives no usable %s for the %s wizard.", missing.c_str(), m_role.wizType);
        return false;
    }
    m_timing = SsioTiming(limits);
    if (IsExistingKFZ()) {
        RequestsFromDesign(m_role.primType);
        RequestsFromDesign("IDLY");
    }
    return true;
}

void SsioWizard::RequestsFromDesign(const std::string& primType) {
    Olm_WizData* data = GetWizDataPtr();
    Olm_Block* templ = data->GetPrimitiveBlock(primType.c_str());
    Olm_Block* first = data->GetNamedBlock(SsioNetlist::InstanceName(primType, 1).c_str());
    if (!templ || !first || first == templ) return;
    for (Olm_Attribute* attribute : first->GetAttributeList()) {
        const std::string name = attribute->GetName().str();
        if (!attribute->IsActive() || name == "OLMW_ONLY_INST_NUM" || name == "CASCADE_ROLE") continue;
        Olm_ModelEdit::SetValue(templ, name.c_str(), attribute->GetCurrentValue().str());
    }
}

bool SsioWizard::Apply() {
    Olm_WizData* data = GetWizDataPtr();
    Olm_Block* templ = Block();
    const Olm_FieldValues& values = ModelValues();
    const ClockPlan plan = Plan(values);
    const int bits = BusWidth(values), ratio = Ratio(values);
    const Olm_Pin* wordPin = templ->GetNamedPin(m_role.wordPin);
    Olm_Block* serialBlock = data->GetPrimitiveBlock(m_role.serialType);
    const Olm_Pin* serialPin = serialBlock ? serialBlock->GetNamedPin(m_role.serialPin) : nullptr;
    if (!plan.ok || bits < 1 || !wordPin || !serialPin) {
        Error("%s", plan.ok ? "The bus has no bit, or the installed data lacks its data pins." : plan.message.c_str());
        return false;
    }
    // The port names go with the requests into every instance, and so into
    // the design file.
    for (const auto& page : Pages()) {
        for (const Olm_Field* field : page->Fields()) {
            if (Olm_Block* block = field->IsPort() ? page->BlockOf(*field) : nullptr)
                Olm_ModelEdit::SetValue(block, field->GetAttribute().c_str(), values.Text(field->GetAttribute()));
        }
    }
    SsioNetlist netlist(*data);
    netlist.RemoveInstances(m_role.primType);
    const std::string wordNet = wordPin->GetSigName().str();
    netlist.Net(wordNet, bits * ratio, Port(m_role.wordPin));
    m_serialNet = serialPin->GetSigName().str();
    netlist.Net(m_serialNet, bits, Port(m_role.serialPin));
    const int masterBits = std::min(ratio, m_timing.GetLimits().blockRatio);
    for (int bit = 0; bit < bits; ++bit) {
        Olm_Block* master = netlist.NewInstance(*templ, bit + 1);
        Olm_ModelEdit::SetValue(master, "CASCADE_ROLE", "MASTER");
        SsioNetlist::ConnectBits(*master, m_role.wordPin, masterBits - 1, 0, wordNet, bit * ratio + masterBits - 1);
        Olm_Block* slave = nullptr;
        if (plan.cascade) {
            slave = netlist.NewInstance(*templ, bits + bit + 1);
            Olm_ModelEdit::SetValue(slave, "CASCADE_ROLE", "SLAVE");
            SsioNetlist::ConnectBits(*slave, m_role.wordPin, ratio - masterBits - 1, 0, wordNet,
                                     bit * ratio + ratio - 1);
            netlist.Cascade(*master, *slave, bit, bits);
        }
        WireBit(netlist, bit, *master, slave);
    }
    templ->SetIsActive(false);
    return true;
}

bool SsioWizard::DoFinishAtSummaryStart() {
    if (!Olm_KitMain::DoFinishAtSummaryStart()) return false;
    SsioNetlist(*GetWizDataPtr()).ActivateBitNets();
    return true;
}

std::vector<std::string> SsioWizard::FeatureLines() {
    const Olm_FieldValues& values = ModelValues();
    const ClockPlan plan = Plan(values);
    const int bits = BusWidth(values);
    const std::string prim = m_role.primType;
    if (!plan.ok) return {plan.message};
    const int blocks = plan.cascade ? 2 * bits : bits;
    return {Plural(blocks, prim) + " " + m_role.verb + (blocks == 1 ? "s" : "") + " a bus of " + Plural(bits, "line") +
            " in " + (Ddr(values) ? "DDR" : "SDR") + ", " + std::to_string(Ratio(values)) + " bits per word" +
            (plan.cascade ? ", each line on a master and a slave " + prim : std::string()) + ": " +
            SsioTiming::Number(values.Number("OLMW_ONLY_BIT_RATE")) + " Mb/s per line, fast clock " + Port("CLK") +
            " " + SsioTiming::Number(plan.fastMHz) + " MHz, word clock " + Port("CLKWORD") + " " +
            SsioTiming::Number(plan.wordMHz) + " MHz."};
}

void SsioWizard::AddConstraints(Olm_ConstraintTemplate& pkx) {
    const Olm_FieldValues& values = ModelValues();
    const std::string serial = Port(m_role.serialPin);
    for (int bit = 0; bit < BusWidth(values); ++bit) pkx.AddSite(serial + "[" + std::to_string(bit) + "]");
    pkx.AddSite(Port("CLK"));
    pkx.AddSite(Port("CLKWORD"));
    const ClockPlan plan = Plan(values);
    if (!plan.ok) return;
    pkx.AddClock(Port("CLK"), 1000.0 / plan.fastMHz);
    pkx.AddClock(Port("CLKWORD"), 1000.0 / plan.wordMHz);
}

}  // namespace Ssio
