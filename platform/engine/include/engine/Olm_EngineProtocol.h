#pragma once

// The text-command vocabulary of the design-file engine: the command words,
// subjects, result words and reserved property keys of Olm_Engine::Execute.
// The engine answers these words and the wizards' bridge sends them; both
// take them from here, so that the two sides cannot drift apart.
namespace OlmProtocol {

// Command words.
inline constexpr const char* kGet = "get";
inline constexpr const char* kGetFirst = "getfirst";
inline constexpr const char* kGetNext = "getnext";
inline constexpr const char* kSet = "set";
inline constexpr const char* kAdd = "add";
inline constexpr const char* kConnect = "connect";

// Subjects (the first argument).
inline constexpr const char* kKfzVersion = "kfzVersion";
inline constexpr const char* kFamily = "family";
inline constexpr const char* kBlock = "block";
inline constexpr const char* kPrimtype = "primtype";
inline constexpr const char* kBlkProp = "blkprop";
inline constexpr const char* kPin = "pin";
inline constexpr const char* kPinDir = "pindir";
inline constexpr const char* kSignal = "signal";
inline constexpr const char* kPinProp = "pinprop";
inline constexpr const char* kSigProp = "sigprop";
inline constexpr const char* kPinWidth = "pinwidth";
inline constexpr const char* kVccPin = "vccpin";
inline constexpr const char* kGndPin = "gndpin";
inline constexpr const char* kHasBus = "hasbus";
inline constexpr const char* kExternalSig = "externalsig";
inline constexpr const char* kBus = "bus";
inline constexpr const char* kGndSig = "gndsig";
inline constexpr const char* kVccSig = "vccsig";

// Results. A write has failed only when its status is exactly kFalse; a
// boolean property is true only when its value is exactly kTrue.
inline constexpr const char* kTrue = "TRUE";
inline constexpr const char* kFalse = "FALSE";

// Pin directions as the design file writes them.
inline constexpr const char* kDirInput = "input";
inline constexpr const char* kDirOutput = "output";
inline constexpr const char* kDirBidir = "bidir";

// Reserved property keys: how the engine reports the primitive type of a
// block and what the pin and signal writes recorded. They are read, never
// written as ordinary properties.
inline constexpr const char* kKeyPrimType = "PRIMTYPE";
inline constexpr const char* kKeyPinWidth = "PINWIDTH";
inline constexpr const char* kKeyPinHasBus = "PINHASBUS";
inline constexpr const char* kKeyPinIsVcc = "PINISVCC";
inline constexpr const char* kKeyPinIsGnded = "PINISGNDED";
inline constexpr const char* kKeySigExternal = "SIGEXTERNAL";
inline constexpr const char* kKeySigIsBus = "SIGISBUS";
inline constexpr const char* kKeySigIsGnded = "SIGISGNDED";
inline constexpr const char* kKeySigIsVcc = "SIGISVCC";

}  // namespace OlmProtocol
