#pragma once

// The command vocabulary of the design-file engine as the bridge uses it:
// command words, subjects, result words, reserved property keys and the
// formats of the texts it builds. Keys that are shared constants of the
// library are taken from there.

#include "engine/Olm_EngineProtocol.h"
#include "shared/Olm_Constants.h"

namespace OlmKfz {

// Command words and subjects: the engine's own vocabulary.
namespace P = OlmProtocol;
inline constexpr const char* kGet = P::kGet;
inline constexpr const char* kGetFirst = P::kGetFirst;
inline constexpr const char* kGetNext = P::kGetNext;
inline constexpr const char* kSet = P::kSet;
inline constexpr const char* kAdd = P::kAdd;
inline constexpr const char* kConnect = P::kConnect;
inline constexpr const char* kKfzVersion = P::kKfzVersion;
inline constexpr const char* kFamily = P::kFamily;
inline constexpr const char* kBlock = P::kBlock;
inline constexpr const char* kPrimtype = P::kPrimtype;
inline constexpr const char* kBlkProp = P::kBlkProp;
inline constexpr const char* kPin = P::kPin;
inline constexpr const char* kPinDir = P::kPinDir;
inline constexpr const char* kSignal = P::kSignal;
inline constexpr const char* kPinProp = P::kPinProp;
inline constexpr const char* kSigProp = P::kSigProp;
inline constexpr const char* kPinWidth = P::kPinWidth;
inline constexpr const char* kVccPin = P::kVccPin;
inline constexpr const char* kGndPin = P::kGndPin;
inline constexpr const char* kHasBus = P::kHasBus;
inline constexpr const char* kExternalSig = P::kExternalSig;
inline constexpr const char* kBus = P::kBus;
inline constexpr const char* kGndSig = P::kGndSig;
inline constexpr const char* kVccSig = P::kVccSig;

// Results and fixed arguments. A write has failed only when its status is
// exactly kStatusFalse; a boolean value is true only when exactly kValueTrue.
inline constexpr const char* kStatusFalse = OlmConst::kFalse;
inline constexpr const char* kValueTrue = OlmConst::kTrue;
inline constexpr const char* kBlockCount = "1";  // third argument of add block

// Pin directions: design file and model.
inline constexpr const char* kKfzInput = OlmConst::kKfzDirInput;
inline constexpr const char* kKfzOutput = OlmConst::kKfzDirOutput;
inline constexpr const char* kKfzBidir = OlmConst::kKfzDirBidir;
inline constexpr const char* kDirIn = OlmConst::kDirIn;
inline constexpr const char* kDirOut = OlmConst::kDirOut;
inline constexpr const char* kDirInout = OlmConst::kDirInout;

// Reserved property keys.
inline constexpr const char* kKeyPrimType = OlmConst::kKeyPrimType;
inline constexpr const char* kKeyPinHasBus = OlmConst::kKeyPinHasBus;
inline constexpr const char* kKeyPinWidth = OlmConst::kKeyPinWidth;
inline constexpr const char* kKeyPinIsVcc = OlmConst::kKeyPinIsVcc;
inline constexpr const char* kKeyPinIsGnded = OlmConst::kKeyPinIsGnded;
inline constexpr const char* kKeySigExternal = OlmConst::kKeySigExternal;
inline constexpr const char* kKeySigIsBus = OlmConst::kKeySigIsBus;
inline constexpr const char* kKeySigIsGnded = OlmConst::kKeySigIsGnded;
inline constexpr const char* kKeySigIsVcc = OlmConst::kKeySigIsVcc;
inline constexpr const char* kPropPinIsActive = OlmConst::kPropPinIsActive;
inline constexpr const char* kPropDataWidth = OlmConst::kPropDataWidth;
inline constexpr const char* kPropHsx3 = OlmConst::kPropHsx3;
inline constexpr const char* kPropHsx10 = OlmConst::kPropHsx10;
inline constexpr const char* kPropHsx11 = OlmConst::kPropHsx11;
inline constexpr const char* kAttrHsxDisplayName = OlmConst::kAttrHsxDisplayName;
inline constexpr const char* kAttrPinGndInDataFile = OlmConst::kAttrPinGndInDataFile;
inline constexpr const char* kAttrPinVccInDataFile = OlmConst::kAttrPinVccInDataFile;
inline constexpr const char* kAttrPinTie = OlmConst::kAttrPinTie;

// Flag words that the reserved keys carry.
inline constexpr const char* kFlagHsx3 = OlmConst::kFlagHsx3;
inline constexpr const char* kFlagHsx10 = OlmConst::kFlagHsx10;
inline constexpr const char* kFlagHsx11 = OlmConst::kFlagHsx11;
inline constexpr const char* kFlagDataWidth = OlmConst::kFlagDataWidth;

// Formats of the texts the bridge builds.
inline constexpr const char* kFlagPropFormat = "PROP_%s";  // property of a flag word, value "TRUE"
inline constexpr const char* kPinWidthFormat = "[%d:%d]";  // start bit, end bit
inline constexpr const char* kBusWidthFormat = "%d";

// Tie-off values of pins: a sized literal in base two ("4'b10x0").
inline constexpr const char* kTieBaseMarker = "'b";
inline constexpr const char* kTieVccSignal = "VCCa";
inline constexpr const char* kTieGndSignal = "GNDa";
// The widest tie-off value that is applied. Each bit becomes a pin attribute
// and a design property, both found by a linear search, so the work grows
// with the square of the width: a value of twenty thousand bits took minutes.
// A data-file line carries at most some 250 bits, and no pin comes near this
// bound; a wider value is ignored like a malformed one.
inline constexpr int kMaxTieBits = 1024;

// Wizard types with special cases.
inline constexpr const char* kWizHsx = OlmConst::kWizPrefixHsx;  // exact type
inline constexpr const char* kWizTklPrefix = OlmConst::kWizPrefixTkl;  // first three characters

// Primitive types that a clock-manager design block of an unknown name is
// copied from.
inline constexpr const char* kPrimRkoAdv = "RKO_ADV";
inline constexpr const char* kTklCopyTypes[] = {OlmConst::kWordTkl, OlmConst::kWordTklAdv, OlmConst::kWordTklSp,
                                                kPrimRkoAdv, OlmConst::kWordKdiv};

}  // namespace OlmKfz
