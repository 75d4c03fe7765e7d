#include "GenericWizard.h"

#include "SsioTiming.h"
#include "SsioWizard.h"

#include "kit/Olm_KitGui.h"

#include <QFormLayout>
#include <QLabel>
#include <QWidget>

#include <cctype>
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

// A pin used by default and connected to a net by the data.
bool IsNetPin(const Olm_Pin& pin) { return pin.IsActive() && !pin.GetSigName().IsEmpty(); }

// A used pin that drives its net.
bool IsDrivingPin(const Olm_Pin& pin) {
    return IsNetPin(pin) && (pin.GetDirection() == "OUT" || pin.GetDirection() == "INOUT");
}

// The pins a port field is offered for: net pins whose net leaves the
// design, or that the data's pins do not both drive and read. A net the
// data keeps inside between pins of its own (IDLY.O to ISER.D) is no port.
bool IsPortPin(Olm_WizData& data, const Olm_Pin& pin) {
    if (!IsNetPin(pin)) return false;
    const Olm_Signal* net = data.GetNamedSignal(pin.GetSigName());
    if (!net || net->IsExternal()) return true;
    bool driven = false, read = false;
    for (Olm_Block* block : data.GetBlkList())
        for (Olm_Pin* other : block->GetPinList()) {
            if (!IsNetPin(*other) || other->GetSigName() != pin.GetSigName()) continue;
            (IsDrivingPin(*other) ? driven : read) = true;
        }
    return !(driven && read);
}

// A wizard-only frequency that the device bounds rather than the designer
// requests: OLMW_ONLY_<NODE>_FREQ that the designer cannot set, or whose
// node is no pin of the block (the phase detector, the VCO, the fabric
// clocks). The frequency of a pin (CLKIN1, CLKOUT0, CLKSYN) is a request.
// Only the range of a limit means something; its value is a placeholder.
bool IsDeviceLimit(Olm_Block& block, const Olm_Attribute& attribute) {
    static constexpr std::string_view kPrefix = "OLMW_ONLY_", kSuffix = "_FREQ";
    const std::string name = attribute.GetName().str();
    if (name.size() <= kPrefix.size() + kSuffix.size() || !Pal::StrUtil::StartsWithNoCase(name, kPrefix) ||
        !Pal::StrUtil::EqualNoCase(name.substr(name.size() - kSuffix.size()), kSuffix))
        return false;
    const std::string node = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    return !attribute.IsModifiable() || !block.GetNamedPin(node.c_str());
}

// What a device limit allows, for the designer: "400 to 1000".
std::string LimitText(const Olm_Attribute& attribute) {
    const Olm_AllowedValues rule = Olm_AllowedValues::Of(attribute);
    if (!rule.IsRange()) return rule.Describe();
    return Pal::StrUtil::FormatNumber(rule.GetMin()) + " to " + Pal::StrUtil::FormatNumber(rule.GetMax());
}

// A page of one block type; its fields carry the data's help line, before
// what the field allows, as their tooltip. The device limits of the block
// stand below the fields, read-only: they are no setting of the design.
class GenericPage : public Olm_KitPage {
public:
    GenericPage(Olm_KitMain* main, std::string title, std::string intro, const Olm_AttributeLabels& labels)
        : Olm_KitPage(main, std::move(title), std::move(intro)), m_labels(labels) {}

    struct Limit {
        std::string attribute;
        std::string label;
        std::string allowed;
    };
    void AddLimit(Limit limit) { m_limits.push_back(std::move(limit)); }

    void BuildGui(Olm_KitGui& gui) override {
        for (const Olm_Field* field : Fields()) {
            const std::string help = m_labels.Help(GetBlockType(), field->GetAttribute());
            QWidget* widget = help.empty() ? nullptr : gui.FieldWidget(field->GetAttribute());
            if (!widget) continue;
            const QString shown = widget->toolTip();
            widget->setToolTip(QString::fromStdString(help) + (shown.isEmpty() ? QString() : "\n" + shown));
        }
        if (m_limits.empty()) return;
        // Below the settings, in their form so that the columns line up, as
        // text: nothing to type into.
        QFormLayout* form = nullptr;
        for (int i = 0; i < gui.Column()->count() && !form; ++i)
            form = qobject_cast<QFormLayout*>(gui.Column()->itemAt(i)->layout());
        if (!form) {
            form = new QFormLayout;
            form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
            gui.Column()->addLayout(form);
        }
        auto* heading = new QLabel(QStringLiteral("Device limits:"));
        heading->setObjectName(QStringLiteral("deviceLimits"));
        heading->setContentsMargins(0, 8, 0, 0);
        form->addRow(heading);
        for (const Limit& limit : m_limits) {
            auto* value = new QLabel(QString::fromStdString(limit.allowed));
            value->setObjectName(QString::fromStdString(limit.attribute));
            value->setToolTip(QString::fromStdString(m_labels.Help(GetBlockType(), limit.attribute)));
            form->addRow(QString::fromStdString(limit.label), value);
        }
    }

private:
    const Olm_AttributeLabels& m_labels;
    std::vector<Limit> m_limits;
};

// A value with its unit for the summary: "10 ns", "DDR", "4 bits per word".
std::string WithUnit(const std::string& value, const std::string& unit) {
    return unit.empty() ? value : value + " " + unit;
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

std::string GenericWizard::FieldLabel(const Olm_AttributeLabels& labels, const std::string& primType,
                                      const std::string& attribute) {
    std::string label = labels.FieldLabel(primType, attribute);
    if (!label.empty()) return label;
    std::string name = attribute;
    for (const char* prefix : {"OLMW_ONLY_", "OLM_"})
        if (Pal::StrUtil::StartsWithNoCase(name, prefix)) name.erase(0, std::char_traits<char>::length(prefix));
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        name[i] = name[i] == '_' ? ' ' : static_cast<char>(i == 0 ? std::toupper(c) : std::tolower(c));
    }
    return name + ":";
}

void GenericWizard::DeclareFromData(Olm_WizData& installed) {
    m_labels = Olm_AttributeLabels::Installed(GetWizType(), GetFamily());
    std::set<std::string> seen;
    for (Olm_Block* block : installed.GetBlkList()) {
        const std::string type = block->GetPrimType().str();
        if (type.empty() || Pal::StrUtil::StartsWithNoCase(type, "OLM_") || !seen.insert(type).second) continue;
        if (Pages().size() >= static_cast<std::size_t>(kMaxPages)) break;
        GenericPage& page =
            AddPage<GenericPage>(type, "The settings of the " + type + " blocks of the design.", m_labels);
        page.SetBlockType(type);
        page.AddField(kCount, "Number of instances:")
            .Default("1")
            .Allow(Olm_AllowedValues::Integers(0, MaxInstances(*block)));
        const auto used = [](const Olm_FieldValues& v) { return v.Int(kCount) > 0; };
        for (Olm_Attribute* attribute : block->GetAttributeList()) {
            // The instance numbers are the wizard's to give; the device
            // limits are shown, not set.
            const std::string name = attribute->GetName().str();
            if (IsDeviceLimit(*block, *attribute))
                page.AddLimit({name, FieldLabel(m_labels, type, name), LimitText(*attribute)});
            else if (attribute->IsModifiable() && !Pal::StrUtil::EqualNoCase(name, "OLMW_ONLY_INST_NUM"))
                page.AddField(name, FieldLabel(m_labels, type, name)).EnabledWhen(used);
        }
        for (Olm_Pin* pin : block->GetPinList()) {
            if (IsPortPin(installed, *pin))
                page.AddPort(pin->GetName().str(), pin->GetName().str() + " port:").EnabledWhen(used);
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
            if (count <= 0 || !IsNetPin(*pin) || pin->HasPinSigBitProp()) continue;
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
                if (IsNetPin(*pin) && !pin->HasPinSigBitProp()) OwnNet(data, *pin, suffix);
            }
        }
    }
    return true;
}

std::vector<std::string> GenericWizard::FeatureLines() {
    std::string blocks;
    std::vector<std::string> settings;
    for (const auto& page : Pages()) {
        const int count = page->ModelValues().Int(kCount, 1);
        const std::string& type = page->GetBlockType();
        if (count <= 0) continue;
        blocks += (blocks.empty() ? "" : ", ") + std::to_string(count) + " " + type;
        // The settings that differ from the data's defaults, as the page
        // labels them.
        std::string changed;
        Olm_Block* block = GetWizDataPtr() ? GetWizDataPtr()->GetPrimitiveBlock(type.c_str()) : nullptr;
        for (const Olm_Field* field : page->Fields()) {
            const std::string& name = field->GetAttribute();
            if (field->IsPort() || name == kCount || !block) continue;
            const Olm_Attribute* attribute = block->GetNamedAttribute(name.c_str());
            if (!attribute || !attribute->DiffersFromDefault()) continue;
            std::string label = FieldLabel(m_labels, type, name);
            label.pop_back();  // the ":"
            if (const std::size_t unit = label.find(" ("); unit != std::string::npos) label.erase(unit);
            changed += (changed.empty() ? "" : ", ") + label + " " +
                       WithUnit(attribute->GetCurrentValue().str(), m_labels.Unit(type, name));
        }
        settings.push_back(std::to_string(count) + " " + type + ": " +
                           (changed.empty() ? std::string("the data's defaults") : changed) + ".");
    }
    std::vector<std::string> lines{"From the installed data of " + GetWizType().str() + ": " +
                                   (blocks.empty() ? "no block" : blocks) + "."};
    lines.insert(lines.end(), settings.begin(), settings.end());
    return lines;
}

double GenericWizard::ClockPeriodNs(Olm_Block& block, const std::string& pin) {
    const auto number = [&](const char* attribute) {
        double value = 0.0;
        Olm_Attribute* found = block.GetNamedAttribute(attribute);
        return found && Pal::StrUtil::ParseNumber(found->GetCurrentValue().str(), value) && value > 0.0 ? value : 0.0;
    };
    // CLKIN: INCLK_PERIOD, CLKIN1: INCLK1_PERIOD.
    if (pin.starts_with("CLKIN")) return number(("INCLK" + pin.substr(5) + "_PERIOD").c_str());
    if (pin == "REFCLK") {
        // The frequency lives on the block, or on the blocks it serves (the
        // delay controller's on the delays).
        std::vector<Olm_Block*> sources{&block};
        for (Olm_Block* other : GetWizDataPtr()->GetBlkList())
            if (other != &block && other->IsActive()) sources.push_back(other);
        for (Olm_Block* source : sources) {
            for (const char* attribute : {"REFCLK_FREQ", "REF_FREQ"}) {
                double mhz = 0.0;
                Olm_Attribute* found = source->GetNamedAttribute(attribute);
                if (found && Pal::StrUtil::ParseNumber(found->GetCurrentValue().str(), mhz) && mhz > 0.0)
                    return 1000.0 / mhz;
            }
        }
        return 0.0;
    }
    if (pin != "CLK" && pin != "CLKWORD") return 0.0;
    // The clocks of a serializer or deserializer, as its wizards work them out.
    Ssio::Limits limits;
    std::string missing;
    const std::string type = block.GetPrimType().str();
    if (!Ssio::SsioWizard::ReadLimits(*GetWizDataPtr(), type, limits, missing)) return 0.0;
    Olm_Attribute* rate = block.GetNamedAttribute("DATA_RATE");
    if (!rate) rate = block.GetNamedAttribute("DATA_RATE_OUT");
    const bool ddr = rate && Pal::StrUtil::EqualNoCase(rate->GetCurrentValue().str(), "DDR");
    int ratio = 0;
    Olm_Attribute* width = block.GetNamedAttribute("DATA_WIDTH");
    if (!width || !Pal::StrUtil::ParseInt(width->GetCurrentValue().str(), ratio)) return 0.0;
    const Ssio::ClockPlan plan = Ssio::SsioTiming(limits).Clocks(number("OLMW_ONLY_BIT_RATE"), ddr, ratio);
    if (!plan.ok) return 0.0;
    return 1000.0 / (pin == "CLK" ? plan.fastMHz : plan.wordMHz);
}

void GenericWizard::AddConstraints(Olm_ConstraintTemplate& pkx) {
    Olm_KitMain::AddConstraints(pkx);
    Olm_WizData& data = *GetWizDataPtr();
    std::set<std::string> clocked;
    for (Olm_Block* block : data.GetBlkList()) {
        if (!block->IsActive()) continue;
        for (Olm_Pin* pin : block->GetPinList()) {
            const std::string name = pin->GetName().str();
            if (!IsNetPin(*pin) || pin->GetDirection() != "IN" || name.find("CLK") == std::string::npos ||
                name.starts_with("CLKFB"))
                continue;
            const Olm_Signal* net = data.GetNamedSignal(pin->GetSigName());
            if (!net || !net->IsExternal() || net->GetDirection().IsEmpty()) continue;
            const std::string port = net->GetDirection().str();
            if (clocked.insert(port).second) pkx.AddClock(port, ClockPeriodNs(*block, name));
        }
    }
}

}  // namespace Generic
