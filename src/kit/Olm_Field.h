#pragma once

#include "kit/Olm_AllowedValues.h"
#include "shared/OlmBaseExport.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class Olm_AttributeLabels;
class Olm_Block;
class Olm_FieldValues;
class Olm_WizData;

// A bound field: one setting of a page, bound to a block attribute of the
// model, or to the port name of a block pin. The page builds its widget from
// what the installed data allows (TRUE/FALSE: a check box, choices: a combo
// box, an OLMRANGE range: a checked entry, text and port names: an entry),
// moves the value between the model and the widget, and checks it in the
// window and in batch mode alike.
//
//   page.AddField("A_WIDTH", "Operand A width (bits):");
//   page.AddPort("CE", "Clock enable port:")
//       .EnabledWhen([](const Olm_FieldValues& v) { return v.IsOn("OLMW_ONLY_USE_CE"); })
//       .WhenDisabled(Olm_Field::Tie::Vcc);
//
// The value lives in the block attribute (an option file sets it with
// "BlockProp: TYPE.*.ATTRIBUTE=value;"). An attribute that the installed data
// lists takes its default and its rule from there; a wizard-only attribute
// (named OLMW_ONLY_..., kept out of the HDL) takes them from Default and
// Allow, and is added to the block only once its value differs from the
// default.
//
// A port field keeps the port name in the attribute OLMW_ONLY_<PIN>_PORT.
// Without it, the name is the external name of the net on the pin, else the
// net's own name. An enabled port field connects the pin to its net (the
// pin's net in the installed data, else <PIN>_IN, <PIN>_OUT or <PIN>_IO), and
// the net leaves the design under the port name; BusWidthFrom makes it a bus
// as wide as another field's value. A disabled port field ties or switches
// off its pin as WhenDisabled says.
class OLM_BASE_EXPORT Olm_Field {
public:
    // What a port field's pin does while the field is disabled.
    enum class Tie {
        Keep,    // nothing changes
        Ground,  // the pin is used and tied to ground
        Vcc,     // the pin is used and tied to VCC
        Off      // the pin is switched off and connected to nothing
    };
    using Condition = std::function<bool(const Olm_FieldValues&)>;
    // Works out a derived field's value from the other values on the page.
    using Derivation = std::function<std::string(const Olm_FieldValues&)>;
    // Whether a choice is offered with the other values on the page.
    using ChoiceFilter = std::function<bool(const std::string& choice, const Olm_FieldValues&)>;

    // A field of a block attribute, with the label shown in front of it.
    Olm_Field(std::string attribute, std::string label);
    // A field of the port name of a block pin.
    static Olm_Field Port(std::string pin, std::string label);
    // The attribute that keeps a pin's port name: "OLMW_ONLY_<PIN>_PORT".
    static std::string PortAttribute(std::string_view pin);

    // The block of another primitive type than the page's (its active block).
    Olm_Field& OnBlock(std::string primType);
    // The default of an attribute that the installed data does not list.
    Olm_Field& Default(std::string value);
    // The rule of an attribute that the installed data does not list, or a
    // narrower one than the data's.
    Olm_Field& Allow(Olm_AllowedValues rule);
    // The field is used only while the condition holds; otherwise its widget
    // is disabled, its value is neither checked nor written, and a port
    // field's pin follows WhenDisabled.
    Olm_Field& EnabledWhen(Condition condition);
    Olm_Field& WhenDisabled(Tie tie);
    // A port's bus width: the value of another attribute of the block (a
    // whole number; no bus when it is not one above 0). A field of a page, or
    // an attribute that Apply works out: after Apply the port takes the
    // width Apply left.
    Olm_Field& BusWidthFrom(std::string attribute);
    // The net a port field connects its pin to.
    Olm_Field& Net(std::string name);

    // The unit of the value ("MHz", "bits"), for the designer's messages.
    Olm_Field& WithUnit(std::string unit);
    // The label and unit the installed data gives the attribute; they take
    // the place of the declared ones in Label and Unit (empty: keep those).
    void SetDataLabel(std::string label, std::string unit);
    // A value worked out from other fields (inputs: their attributes): in a
    // window the field follows them as they change and is read-only until the
    // designer unlocks it; a value typed over it then stays. A page opens it
    // unlocked when the model's value differs from the derived one. Batch
    // mode takes the model's value as it is, derived or not.
    //   page.AddField("P_WIDTH", "Product width (bits):")
    //       .DeriveFrom({"A_WIDTH", "B_WIDTH"}, [](const Olm_FieldValues& v) {
    //           return std::to_string(v.Int("A_WIDTH") + v.Int("B_WIDTH")); });
    Olm_Field& DeriveFrom(std::vector<std::string> inputs, Derivation derive);
    // Offers only the choices (of a Choice rule) that the filter passes with
    // the other values on the page. The window lists only those and marks a
    // value that is not offered; batch mode leaves the judgement to the
    // page's checks, which the filter must agree with.
    Olm_Field& OfferWhen(ChoiceFilter filter);
    // The value is a number that the page judges itself (its rule may be any
    // text, so that the page's checks name a wrong value): in a window its
    // entry takes what a number entry takes and reads a decimal comma as
    // number fields do. Batch mode and option files are not affected.
    Olm_Field& TypedAsNumber();

    bool IsPort() const { return !m_pin.empty(); }
    // The attribute the value lives in (a port field's PortAttribute).
    const std::string& GetAttribute() const { return m_attribute; }
    const std::string& GetPin() const { return m_pin; }
    const std::string& GetLabel() const { return m_label; }
    // The primitive type of OnBlock; empty for the page's block.
    const std::string& GetBlockType() const { return m_blockType; }
    const Olm_AllowedValues& GetAllowed() const { return m_allowed; }
    const std::string& GetDefault() const { return m_default; }
    const std::string& GetBusWidthFrom() const { return m_busWidthFrom; }
    // A port field's net (after Bind; empty: <PIN>_IN, _OUT or _IO).
    const std::string& GetNet() const { return m_net; }
    bool IsEnabled(const Olm_FieldValues& values) const;
    // The field in messages: the attribute (or port pin) and the label.
    std::string Describe() const;
    // The field's name for the designer: the data's label (SetDataLabel),
    // else the declared label without its colon and without a trailing unit
    // in parentheses ("Bit rate per line (Mb/s):" -> "Bit rate per line"),
    // else the attribute (a port field: its pin).
    std::string Label() const;
    // The unit: the data's, else WithUnit's, else the declared label's
    // trailing parenthesis when it reads as a unit (one word of at most 8
    // characters: "Mb/s", "bits"); else empty.
    std::string Unit() const;

    bool IsDerived() const { return static_cast<bool>(m_derive); }
    bool FiltersChoices() const { return static_cast<bool>(m_offered); }
    // Whether the window's entry is a number entry: a range rule, or
    // TypedAsNumber.
    bool IsNumberEntry() const { return !IsPort() && (m_number || m_allowed.IsRange()); }
    const std::vector<std::string>& DerivedFrom() const { return m_inputs; }
    // The derived value (empty for a field that is not derived).
    std::string Derive(const Olm_FieldValues& values) const;
    // The choices offered with these values: all of a Choice rule's without
    // OfferWhen; empty for other rules.
    std::vector<std::string> OfferedChoices(const Olm_FieldValues& values) const;

    // Takes the rule, the default and a port's net from the block of the
    // installed data (null: nothing to take), where Default, Allow and Net
    // did not set them. The kit's wizard main does this before the run.
    void Bind(Olm_Block* installed);
    // A field declared without a label takes the one the installed data
    // gives its attribute on the primitive ("Input clock period (ns):"), for
    // the form and for its messages (SetDataLabel).
    void TakeLabel(const Olm_AttributeLabels& labels, const std::string& primType);
    // The value in the model (see the class comment).
    std::string Read(Olm_WizData& data, Olm_Block& block) const;
    // Writes a value into the model: the attribute in the data's spelling,
    // and a port field's connection (enabled) or tie (disabled). A disabled
    // attribute field writes nothing.
    void Write(Olm_WizData& data, Olm_Block& block, const std::string& value, bool enabled,
               const Olm_FieldValues& values) const;
    // Empty when the value is allowed; else a message naming the value, the
    // field and what is allowed (for an option file's reader: it names the
    // attribute).
    std::string Problem(const std::string& value) const;
    // The same check in plain words for the designer, naming Label and
    // Unit: "Bit rate per line must be 10 to 1600 Mb/s."; empty when the
    // value is allowed. A comma left in a number says that it is no decimal
    // separator here.
    std::string Reason(const std::string& value) const;
    // Reason with the values on the page: a choice that is not offered
    // (OfferWhen) is a problem too.
    std::string Reason(const std::string& value, const Olm_FieldValues& values) const;

private:
    std::string m_attribute;
    std::string m_label;
    std::string m_pin;
    std::string m_blockType;
    std::string m_default;
    std::string m_net;
    std::string m_busWidthFrom;
    Olm_AllowedValues m_allowed;
    std::string m_unit;
    std::string m_dataLabel;
    std::string m_dataUnit;
    std::vector<std::string> m_inputs;
    Derivation m_derive;
    ChoiceFilter m_offered;
    Condition m_enabled;
    Tie m_tie = Tie::Keep;
    bool m_defaultSet = false;
    bool m_allowedSet = false;
    bool m_number = false;
};
