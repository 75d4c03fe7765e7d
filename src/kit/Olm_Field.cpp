#include "kit/Olm_Field.h"

#include "datafiles/Olm_AttributeLabels.h"
#include "kit/Olm_FieldValues.h"
#include "kit/Olm_ModelEdit.h"
#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_Signal.h"
#include "model/Olm_WizData.h"
#include "pal/StrUtil.h"

namespace {

std::string NetOfDirection(const std::string& pin, const Pal::String& direction) {
    if (direction == "OUT") return pin + "_OUT";
    if (direction == "INOUT") return pin + "_IO";
    return pin + "_IN";
}

}  // namespace

Olm_Field::Olm_Field(std::string attribute, std::string label)
    : m_attribute(std::move(attribute)), m_label(std::move(label)) {}

Olm_Field Olm_Field::Port(std::string pin, std::string label) {
    Olm_Field field(PortAttribute(pin), std::move(label));
    field.m_pin = std::move(pin);
    field.m_allowedSet = true;  // any text; the port-name checks judge it
    return field;
}

std::string Olm_Field::PortAttribute(std::string_view pin) { return "OLMW_ONLY_" + std::string(pin) + "_PORT"; }

Olm_Field& Olm_Field::OnBlock(std::string primType) {
    m_blockType = std::move(primType);
    return *this;
}

Olm_Field& Olm_Field::Default(std::string value) {
    m_default = std::move(value);
    m_defaultSet = true;
    return *this;
}

Olm_Field& Olm_Field::Allow(Olm_AllowedValues rule) {
    m_allowed = std::move(rule);
    m_allowedSet = true;
    return *this;
}

Olm_Field& Olm_Field::EnabledWhen(Condition condition) {
    m_enabled = std::move(condition);
    return *this;
}

Olm_Field& Olm_Field::TypedAsNumber() {
    m_number = true;
    return *this;
}

Olm_Field& Olm_Field::WhenDisabled(Tie tie) {
    m_tie = tie;
    return *this;
}

Olm_Field& Olm_Field::BusWidthFrom(std::string attribute) {
    m_busWidthFrom = std::move(attribute);
    return *this;
}

Olm_Field& Olm_Field::Net(std::string name) {
    m_net = std::move(name);
    return *this;
}

Olm_Field& Olm_Field::WithUnit(std::string unit) {
    m_unit = std::move(unit);
    return *this;
}

void Olm_Field::SetDataLabel(std::string label, std::string unit) {
    m_dataLabel = std::move(label);
    m_dataUnit = std::move(unit);
}

Olm_Field& Olm_Field::DeriveFrom(std::vector<std::string> inputs, Derivation derive) {
    m_inputs = std::move(inputs);
    m_derive = std::move(derive);
    return *this;
}

Olm_Field& Olm_Field::OfferWhen(ChoiceFilter filter) {
    m_offered = std::move(filter);
    return *this;
}

bool Olm_Field::IsEnabled(const Olm_FieldValues& values) const { return !m_enabled || m_enabled(values); }

std::string Olm_Field::Describe() const {
    std::string label = m_label;
    while (!label.empty() && (label.back() == ':' || label.back() == ' ')) label.pop_back();
    const std::string& name = IsPort() ? m_pin : m_attribute;
    if (label.empty()) return name;
    return IsPort() ? "the port of pin " + name + " (" + label + ")" : name + " (" + label + ")";
}

namespace {

// The declared label without its colon, and its trailing "(unit)" apart.
struct DeclaredLabel {
    std::string name;
    std::string unit;
};

DeclaredLabel SplitLabel(std::string label) {
    while (!label.empty() && (label.back() == ':' || label.back() == ' ')) label.pop_back();
    const auto open = label.rfind(" (");
    if (label.empty() || label.back() != ')' || open == std::string::npos) return {label, {}};
    std::string unit = label.substr(open + 2, label.size() - open - 3);
    if (unit.empty() || unit.size() > 8 || unit.find(' ') != std::string::npos) return {label, {}};
    return {label.substr(0, open), unit};
}

}  // namespace

std::string Olm_Field::Label() const {
    if (!m_dataLabel.empty()) return m_dataLabel;
    std::string name = SplitLabel(m_label).name;
    if (!name.empty()) return name;
    return IsPort() ? m_pin : m_attribute;
}

std::string Olm_Field::Unit() const {
    if (!m_dataLabel.empty() || !m_dataUnit.empty()) return m_dataUnit;
    return m_unit.empty() ? SplitLabel(m_label).unit : m_unit;
}

std::string Olm_Field::Derive(const Olm_FieldValues& values) const { return m_derive ? m_derive(values) : std::string(); }

std::vector<std::string> Olm_Field::OfferedChoices(const Olm_FieldValues& values) const {
    if (m_allowed.GetKind() != Olm_AllowedValues::Kind::Choice) return {};
    std::vector<std::string> offered;
    for (const std::string& choice : m_allowed.GetChoices())
        if (!m_offered || m_offered(choice, values)) offered.push_back(choice);
    return offered;
}

void Olm_Field::Bind(Olm_Block* installed) {
    if (!installed) return;
    if (IsPort()) {
        const Olm_Pin* pin = installed->GetNamedPin(m_pin.c_str());
        if (m_net.empty() && pin)
            m_net = pin->GetSigName().IsEmpty() ? NetOfDirection(m_pin, pin->GetDirection()) : pin->GetSigName().str();
        return;
    }
    const Olm_Attribute* attribute = installed->GetNamedAttribute(m_attribute.c_str());
    if (!attribute) return;
    if (!m_defaultSet) m_default = attribute->GetDefaultValue().str();
    if (!m_allowedSet) m_allowed = Olm_AllowedValues::Of(*attribute);
}

void Olm_Field::TakeLabel(const Olm_AttributeLabels& labels, const std::string& primType) {
    if (IsPort()) return;
    const Olm_AttributeLabel* label = labels.Find(primType, m_attribute);
    if (!label || label->label.empty() || !m_label.empty()) return;
    // The form and the designer's messages name the field and its unit as
    // the data does.
    m_label = labels.FieldLabel(primType, m_attribute);
    SetDataLabel(label->label, label->unit == "-" ? std::string() : label->unit);
}

std::string Olm_Field::Read(Olm_WizData& data, Olm_Block& block) const {
    if (const Olm_Attribute* attribute = block.GetNamedAttribute(m_attribute.c_str()))
        return attribute->GetCurrentValue().str();
    if (!IsPort()) return m_default;
    if (const Olm_Pin* pin = block.GetNamedPin(m_pin.c_str()); pin && !pin->GetSigName().IsEmpty()) {
        const Olm_Signal* net = data.GetNamedSignal(pin->GetSigName());
        if (net && net->IsExternal() && !net->GetDirection().IsEmpty()) return net->GetDirection().str();
        return pin->GetSigName().str();
    }
    if (m_defaultSet) return m_default;
    return m_net.empty() ? NetOfDirection(m_pin, "IN") : m_net;
}

void Olm_Field::Write(Olm_WizData& data, Olm_Block& block, const std::string& value, bool enabled,
                      const Olm_FieldValues& values) const {
    if (!enabled && !IsPort()) return;
    if (enabled) {
        // An attribute keeps its flags; a wizard-only one is added when its
        // value is not the default (a port's name lives on its net until then).
        const std::string stored = m_allowed.Canonical(value);
        if (Olm_Attribute* attribute = block.GetNamedAttribute(m_attribute.c_str()))
            attribute->SetCurrentValue(stored);
        else if (!IsPort() && stored != m_default)
            block.AddAttribute(m_attribute.c_str(), stored.c_str());
    }
    if (!IsPort()) return;
    Olm_Pin* pin = block.GetNamedPin(m_pin.c_str());
    if (!pin) return;
    if (!enabled) {
        switch (m_tie) {
        case Tie::Keep: break;
        case Tie::Ground: pin->SetIsActive(true); pin->SetIsGrounded(true); break;
        case Tie::Vcc: pin->SetIsActive(true); pin->SetIsVcc(true); break;
        case Tie::Off: pin->SetIsActive(false); pin->SetSigName(""); break;
        }
        return;
    }
    const std::string net = m_net.empty() ? NetOfDirection(m_pin, pin->GetDirection()) : m_net;
    int width = 0;
    if (!m_busWidthFrom.empty()) Pal::StrUtil::ParseInt(values.Text(m_busWidthFrom), width);
    Olm_ModelEdit::ConnectPort(data, block, m_pin.c_str(), net.c_str(), value, width);
}

std::string Olm_Field::Problem(const std::string& value) const { return m_allowed.Problem(Describe(), value); }

std::string Olm_Field::Reason(const std::string& value) const {
    if (m_allowed.IsAllowed(value)) return {};
    if (m_allowed.IsRange() && value.find(',') != std::string::npos)
        return Label() + ": the comma in '" + value + "' is no decimal separator here; write the number with a point.";
    return Label() + " must be " + m_allowed.Plain(value, Unit()) + ".";
}

namespace {

bool NotOffered(const Olm_Field& field, const std::string& value, const Olm_FieldValues& values) {
    if (!field.FiltersChoices() || field.GetAllowed().GetKind() != Olm_AllowedValues::Kind::Choice ||
        !field.GetAllowed().IsAllowed(value))
        return false;
    for (const std::string& choice : field.OfferedChoices(values))
        if (Olm_AllowedValues::Meets(value, choice)) return false;
    return true;
}

std::string OfferedList(const Olm_Field& field, const Olm_FieldValues& values) {
    std::string list;
    for (const std::string& choice : field.OfferedChoices(values)) list += (list.empty() ? "" : ", ") + choice;
    return list;
}

}  // namespace

std::string Olm_Field::Reason(const std::string& value, const Olm_FieldValues& values) const {
    if (std::string reason = Reason(value); !reason.empty()) return reason;
    if (!NotOffered(*this, value, values)) return {};
    const std::string offered = OfferedList(*this, values);
    if (offered.empty()) return Label() + ": no choice goes with the other settings.";
    return Label() + " must be one of " + offered + " with these settings.";
}
