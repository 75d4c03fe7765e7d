#pragma once

#include "engine/EngineExport.h"
#include "engine/Olm_EngineProtocol.h"
#include "pal/String.h"

#include <vector>

// The in-memory form of one design file: device settings, design version,
// blocks with their pins, signals, and pin-to-signal connections (kept on the
// pins). Every list keeps the order in which its entries were first added.
// Names and property keys are matched with ASCII letter case folded, as the
// wizards' model matches them; each keeps the spelling it was first added with.

// One named text value of a block, a pin or a signal.
struct Olm_KfzProperty {
    Pal::String name;
    Pal::String value;
};
using Olm_KfzPropertyList = std::vector<Olm_KfzProperty>;

struct Olm_KfzPin {
    Pal::String name;
    Pal::String direction;  // "input", "output", "bidir" or any text given
    bool hasWidth = false;  // set pinwidth was given
    Pal::String width;      // the width text as given, normally "[start:end]"
    bool hasBus = false;
    bool isVcc = false;
    bool isGnded = false;
    Pal::String signal;     // connected signal; empty for none
    Olm_KfzPropertyList properties;
};

struct Olm_KfzBlock {
    Pal::String name;
    Pal::String primType;
    Pal::String count;  // third argument of the block-adding write, kept as given
    Olm_KfzPropertyList properties;
    std::vector<Olm_KfzPin> pins;
};

struct Olm_KfzSignal {
    Pal::String name;
    // False while the signal exists only because a pin was connected to it;
    // the first "add signal" then moves it to the end of the list, so that the
    // signals stand in the order in which they were added.
    bool declared = true;
    bool isExternal = false;
    Pal::String externalName;
    bool isBus = false;
    int busWidth = 1;
    bool isVcc = false;
    bool isGnded = false;
    Olm_KfzPropertyList properties;
};

struct Olm_KfzDevice {
    Pal::String family;
    Pal::String part;
    Pal::String device;
    Pal::String speed;
};

class OLM_ENGINE_API Olm_KfzDesign {
public:
    // Reserved property keys: how the design reports the primitive type of a
    // block and what the pin and signal writes recorded.
    static constexpr const char* kPrimType = OlmProtocol::kKeyPrimType;
    static constexpr const char* kPinWidth = OlmProtocol::kKeyPinWidth;
    static constexpr const char* kPinHasBus = OlmProtocol::kKeyPinHasBus;
    static constexpr const char* kPinIsVcc = OlmProtocol::kKeyPinIsVcc;
    static constexpr const char* kPinIsGnded = OlmProtocol::kKeyPinIsGnded;
    static constexpr const char* kSigExternal = OlmProtocol::kKeySigExternal;
    static constexpr const char* kSigIsBus = OlmProtocol::kKeySigIsBus;
    static constexpr const char* kSigIsGnded = OlmProtocol::kKeySigIsGnded;
    static constexpr const char* kSigIsVcc = OlmProtocol::kKeySigIsVcc;
    static constexpr const char* kTrue = OlmProtocol::kTrue;

    Olm_KfzDevice device;
    Pal::String version;
    std::vector<Olm_KfzBlock> blocks;
    // The design's signals (nets). Not called "signals", which Qt code
    // sees as a keyword macro.
    std::vector<Olm_KfzSignal> nets;

    // Empties version, blocks and signals; the device settings stay.
    void ClearDesign();

    // Lookups: null when there is no such entry.
    Olm_KfzBlock* FindBlock(const char* name);
    const Olm_KfzBlock* FindBlock(const char* name) const;
    Olm_KfzSignal* FindSignal(const char* name);
    const Olm_KfzSignal* FindSignal(const char* name) const;
    static Olm_KfzPin* FindPin(Olm_KfzBlock& block, const char* name);
    static const Olm_KfzPin* FindPin(const Olm_KfzBlock& block, const char* name);
    static const Olm_KfzProperty* FindProperty(const Olm_KfzPropertyList& list, const char* name);
    // Updates the value of an existing property or appends a new one.
    static void SetProperty(Olm_KfzPropertyList& list, const char* name, const char* value);

    // Whether a key is reserved for the kind (letter case ignored, so that a
    // reader folding case cannot mistake an ordinary property for one).
    static bool IsReservedBlockKey(const char* key);
    static bool IsReservedPinKey(const char* key);
    static bool IsReservedSignalKey(const char* key);

    // The property names an iteration reports, reserved keys first:
    //   block:  PRIMTYPE (always), then the properties;
    //   pin:    PINWIDTH (when a width was set), PINHASBUS, PINISVCC,
    //           PINISGNDED (each when set), then the properties;
    //   signal: SIGEXTERNAL (when external), SIGISBUS (when a bus),
    //           SIGISGNDED, SIGISVCC (each when set), then the properties.
    static std::vector<Pal::String> BlockPropertyNames(const Olm_KfzBlock& block);
    static std::vector<Pal::String> PinPropertyNames(const Olm_KfzPin& pin);
    static std::vector<Pal::String> SignalPropertyNames(const Olm_KfzSignal& signal);

    // The value reported for a property name, reserved keys included; ""
    // when the name is not reported.
    static Pal::String BlockPropertyValue(const Olm_KfzBlock& block, const char* key);
    static Pal::String PinPropertyValue(const Olm_KfzPin& pin, const char* key);
    static Pal::String SignalPropertyValue(const Olm_KfzSignal& signal, const char* key);
};

