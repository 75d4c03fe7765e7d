#pragma once

#include "kit/Olm_AllowedValues.h"
#include "shared/OlmBaseExport.h"

#include <functional>
#include <string>
#include <string_view>

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
    // A port's bus width: the value of another field (a whole number; no bus
    // when it is not one above 0).
    Olm_Field& BusWidthFrom(std::string attribute);
    // The net a port field connects its pin to.
    Olm_Field& Net(std::string name);

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

    // Takes the rule, the default and a port's net from the block of the
    // installed data (null: nothing to take), where Default, Allow and Net
    // did not set them. The kit's wizard main does this before the run.
    void Bind(Olm_Block* installed);
    // A field declared without a label takes the one the installed data
    // gives its attribute on the primitive ("Input clock period (ns):").
    void TakeLabel(const Olm_AttributeLabels& labels, const std::string& primType);
    // The value in the model (see the class comment).
    std::string Read(Olm_WizData& data, Olm_Block& block) const;
    // Writes a value into the model: the attribute in the data's spelling,
    // and a port field's connection (enabled) or tie (disabled). A disabled
    // attribute field writes nothing.
    void Write(Olm_WizData& data, Olm_Block& block, const std::string& value, bool enabled,
               const Olm_FieldValues& values) const;
    // Empty when the value is allowed; else a message naming the value, the
    // field and what is allowed.
    std::string Problem(const std::string& value) const;

private:
    std::string m_attribute;
    std::string m_label;
    std::string m_pin;
    std::string m_blockType;
    std::string m_default;
    std::string m_net;
    std::string m_busWidthFrom;
    Olm_AllowedValues m_allowed;
    Condition m_enabled;
    Tie m_tie = Tie::Keep;
    bool m_defaultSet = false;
    bool m_allowedSet = false;
};
