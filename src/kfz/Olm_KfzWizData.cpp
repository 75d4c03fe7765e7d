#include "kfz/Olm_KfzWizData.h"

#include "shared/Olm_WizType.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_OptFileReader.h"
#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzCommands.h"
#include "model/Olm_NameLookup.h"
#include "model/Olm_WizData.h"
#include "pal/StrUtil.h"
#include "pal/Version.h"

#include <vector>

using namespace OlmKfz;

namespace {

bool Same(const Pal::String& a, const char* b) { return a.Compare(b, Pal::String::kNoCase) == 0; }

// A write has failed only when the engine answers exactly "FALSE".
bool Failed(const Pal::String& status) { return status == kStatusFalse; }

bool IsTrue(const Pal::String& value) { return value == kValueTrue; }

// Adds a flag word that a design property carries, once: reading the same
// design again must not pile up copies of a flag the block or pin has.
template <typename Owner>
void AddFlagOnce(Owner* owner, const char* flag) {
    if (!owner->HasFlag(flag)) owner->AddFlag(flag);
}

// The flag word a block property "PROP_HSX3", "PROP_HSX10" or "PROP_HSX11" gives; null for others.
const char* HsxFlagOf(const Pal::String& property) {
    if (Same(property, kPropHsx3)) return kFlagHsx3;
    if (Same(property, kPropHsx10)) return kFlagHsx10;
    if (Same(property, kPropHsx11)) return kFlagHsx11;
    return nullptr;
}

Pal::String ModelDirection(const Pal::String& kfzDirection) {
    if (Same(kfzDirection, kKfzInput)) return kDirIn;
    if (Same(kfzDirection, kKfzOutput)) return kDirOut;
    if (Same(kfzDirection, kKfzBidir)) return kDirInout;
    return kfzDirection;
}

Pal::String KfzDirection(const Pal::String& modelDirection) {
    if (Same(modelDirection, kDirIn)) return kKfzInput;
    if (Same(modelDirection, kDirOut)) return kKfzOutput;
    if (Same(modelDirection, kDirInout)) return kKfzBidir;
    return modelDirection;
}

// The design properties that carry the flag words of a block or pin
// ("PROP_<flag>", value "TRUE"). A removed flag leaves an empty word behind,
// which carries nothing.
std::vector<Pal::String> FlagProperties(const Olm_StrArray& flags) {
    std::vector<Pal::String> properties;
    for (int i = 0; i < flags.GetSize(); ++i) {
        const Pal::String flag = flags.GetAt(i);
        if (flag.IsEmpty()) continue;
        Pal::String property;
        property.Format(kFlagPropFormat, flag.c_str());
        properties.push_back(property);
    }
    return properties;
}

bool IsTklCopyType(const Pal::String& type) {
    for (const char* copyType : kTklCopyTypes) {
        if (Same(type, copyType)) return true;
    }
    return false;
}

}  // namespace

Olm_KfzWizData::Olm_KfzWizData(Olm_Engine* engine, const Pal::String& wizType)
    : m_wizType(wizType), m_engine(engine) {}

Olm_KfzWizData::Olm_KfzWizData(const Olm_KfzWizData& other) = default;
Olm_KfzWizData& Olm_KfzWizData::operator=(const Olm_KfzWizData& other) = default;
Olm_KfzWizData::~Olm_KfzWizData() = default;

bool Olm_KfzWizData::IsHsx() const { return Same(m_wizType, kWizHsx); }

bool Olm_KfzWizData::IsTkl() const { return Olm_WizType::HasPrefix(m_wizType, kWizTklPrefix); }

Pal::String Olm_KfzWizData::Exec(const char* cmd, const char* a1, const char* a2, const char* a3, const char* a4,
                                 const char* a5) {
    if (!m_engine) return Pal::String();
    return m_engine->Execute(cmd, a1, a2, a3, a4, a5);
}

void Olm_KfzWizData::DumpWizData(const char* fileName) { Olm_Data::DumpDataFile(m_wizData, fileName); }

bool Olm_KfzWizData::SetupWizData() { return ReadDataFile(); }

bool Olm_KfzWizData::ReadDataFile() {
    if (m_wizType.IsEmpty()) return false;
    const Pal::String family = m_engine ? Exec(kGet, kFamily) : Pal::String();
    if (family.IsEmpty()) return false;
    Olm_Data data;
    if (!data.ReadDataFile(m_wizType, family) || !data.GetWizData()) return false;
    m_wizData = new Olm_WizData(*data.GetWizData());
    return true;
}

void Olm_KfzWizData::SyncWizDataWithKFZ() {
    if (!m_wizData || !m_engine) return;
    m_wizData->SetAllBlksIsActive(false);
    m_wizData->SetAllSigsIsActive(false);
    m_wizData->SetVersion(Exec(kGet, kKfzVersion));

    const bool hsx = IsHsx();
    const bool tkl = IsTkl();
    // Blocks and signals are looked up by name through indexes, which answer
    // as GetNamedBlock and GetNamedSignal would: a design of thousands of
    // blocks would otherwise walk the lists once per block and signal.
    Olm_NameLookup<Olm_Block> blocks(m_wizData->GetBlkList());
    int counter = 1;  // counts the blocks of the transceiver wizard
    for (Pal::String name = Exec(kGetFirst, kBlock); !name.IsEmpty(); name = Exec(kGetNext, kBlock)) {
        Olm_Block* block = nullptr;
        if (hsx && counter == 1) {
            block = m_wizData->GetPrimitiveBlock(Exec(kGet, kBlkProp, name, kKeyPrimType));
        } else if (tkl) {
            const Pal::String type = Exec(kGet, kBlkProp, name, kKeyPrimType);
            block = blocks.Find(name);
            if (!block && IsTklCopyType(type)) {
                if (Olm_Block* primitive = m_wizData->GetPrimitiveBlock(type)) {
                    block = m_wizData->CopyBlock(primitive, name);
                }
            }
        } else {
            block = blocks.Find(name);
        }
        if (!block) {
            AddKFZBlkToWizData(name);
        } else {
            SyncBlock(block, name);
        }
        // The first block of the transceiver wizard takes the design's name.
        if (hsx && counter == 1) {
            blocks.Rebuild();
        } else {
            blocks.Refresh();
        }
        if (hsx) ++counter;
    }

    Olm_NameLookup<Olm_Signal> signals(m_wizData->GetSigList());
    for (Pal::String name = Exec(kGetFirst, kSignal); !name.IsEmpty(); name = Exec(kGetNext, kSignal)) {
        if (Olm_Signal* signal = signals.Find(name)) {
            SyncSignal(signal, name);
        } else {
            AddKFZSigToWizData(name);
            signals.Refresh();
        }
    }
}

void Olm_KfzWizData::SyncBlock(Olm_Block* block, const Pal::String& name) {
    block->SetIsActive(true);
    block->SetAllPinsIsActive(false);
    if (IsTkl()) block->SetAllAttributesIsActive(false);
    if (IsHsx()) block->SetName(name);

    for (Pal::String pinName = Exec(kGetFirst, kPin, name); !pinName.IsEmpty();
         pinName = Exec(kGetNext, kPin, name)) {
        if (Olm_Pin* pin = block->GetNamedPin(pinName)) {
            SetPinDataFromKFZ(pin, name);
        } else {
            AddKFZPinToWizData(name, pinName, block);
        }
    }

    for (Pal::String property = Exec(kGetFirst, kBlkProp, name); !property.IsEmpty();
         property = Exec(kGetNext, kBlkProp, name)) {
        if (const char* flag = HsxFlagOf(property)) {
            AddFlagOnce(block, flag);
        } else if (Olm_Attribute* attribute = block->GetNamedAttribute(property)) {
            attribute->SetIsActive(true);
            if (!Same(property, kAttrHsxDisplayName)) {
                attribute->SetCurrentValue(Exec(kGet, kBlkProp, name, property));
            }
        } else {
            AddKFZBlkPropToWizData(name, property, block);
        }
    }
}

void Olm_KfzWizData::SyncSignal(Olm_Signal* signal, const Pal::String& name) {
    signal->SetIsActive(true);
    for (Pal::String property = Exec(kGetFirst, kSigProp, name); !property.IsEmpty();
         property = Exec(kGetNext, kSigProp, name)) {
        if (ProcessInternalSigProp(signal, property)) continue;
        if (Olm_Attribute* attribute = signal->GetNamedAttribute(property)) {
            attribute->SetIsActive(true);
            attribute->SetCurrentValue(Exec(kGet, kSigProp, name, property));
        } else {
            AddKFZSigPropToWizData(name, property, signal);
        }
    }
}

void Olm_KfzWizData::AddKFZBlkToWizData(const Pal::String& block) {
    if (!m_wizData || !m_engine) return;
    const Pal::String type = Exec(kGet, kPrimtype, block);
    Olm_Block* primitive = m_wizData->GetPrimitiveBlock(type);
    auto* newBlock = new Olm_Block(block, type);
    m_wizData->AddBlock(newBlock, false);

    for (Pal::String pin = Exec(kGetFirst, kPin, block); !pin.IsEmpty(); pin = Exec(kGetNext, kPin, block)) {
        AddKFZPinToWizData(block, pin, newBlock);
    }
    for (Pal::String property = Exec(kGetFirst, kBlkProp, block); !property.IsEmpty();
         property = Exec(kGetNext, kBlkProp, block)) {
        AddKFZBlkPropToWizData(block, property, newBlock);
        if (primitive && Same(property, kAttrHsxDisplayName)) {
            const Pal::String installed = primitive->GetAttributeValue(kAttrHsxDisplayName);
            if (!installed.IsEmpty()) newBlock->SetAttributeValue(kAttrHsxDisplayName, installed);
        }
    }
}

void Olm_KfzWizData::AddKFZPinToWizData(const Pal::String& block, const Pal::String& pin, Olm_Block* wizBlock) {
    if (!m_wizData || !m_engine || !wizBlock) return;
    auto* newPin = new Olm_Pin(pin, ModelDirection(Exec(kGet, kPinDir, pin, block)));
    wizBlock->AddPin(newPin);
    SetPinDataFromKFZ(newPin, block);
}

void Olm_KfzWizData::AddKFZBlkPropToWizData(const Pal::String& block, const Pal::String& property,
                                            Olm_Block* wizBlock) {
    if (!m_wizData || !m_engine || !wizBlock) return;
    if (Same(property, kKeyPrimType)) return;
    if (const char* flag = HsxFlagOf(property)) {
        AddFlagOnce(wizBlock, flag);
        return;
    }
    wizBlock->AddAttribute(new Olm_Attribute(property, Exec(kGet, kBlkProp, block, property)));
}

void Olm_KfzWizData::AddKFZSigToWizData(const Pal::String& signal) {
    if (!m_wizData || !m_engine) return;
    auto* newSignal = new Olm_Signal(signal);
    m_wizData->AddSignal(newSignal);
    for (Pal::String property = Exec(kGetFirst, kSigProp, signal); !property.IsEmpty();
         property = Exec(kGetNext, kSigProp, signal)) {
        if (!ProcessInternalSigProp(newSignal, property)) AddKFZSigPropToWizData(signal, property, newSignal);
    }
}

void Olm_KfzWizData::AddKFZSigPropToWizData(const Pal::String& signal, const Pal::String& property,
                                            Olm_Signal* wizSignal) {
    if (!m_wizData || !m_engine || !wizSignal) return;
    wizSignal->AddAttribute(new Olm_Attribute(property, Exec(kGet, kSigProp, signal, property)));
}

void Olm_KfzWizData::AddKFZPinPropToWizData(const Pal::String& pin, const Pal::String& block,
                                            const Pal::String& property, Olm_Pin* wizPin) {
    if (!m_wizData || !m_engine || !wizPin) return;
    wizPin->AddAttribute(new Olm_Attribute(property, Exec(kGet, kPinProp, pin, block, property)));
}

void Olm_KfzWizData::SetPinDataFromKFZ(Olm_Pin* pin, const Pal::String& block) {
    if (!m_engine || !pin) return;
    const bool hsx = IsHsx();
    // A transceiver pin tied by the installed data stays tied, whatever the design says.
    bool tied = false;
    if (hsx && pin->IsGrounded()) {
        pin->AddAttribute(kAttrPinGndInDataFile, kValueTrue);
        tied = true;
    } else if (hsx && pin->IsVcc()) {
        pin->AddAttribute(kAttrPinVccInDataFile, kValueTrue);
        tied = true;
    } else {
        pin->SetIsVcc(false);
        pin->SetIsGrounded(false);
    }
    pin->SetIsActive(false);
    pin->SetHasBus(false);

    const Pal::String name = pin->GetName();
    for (Pal::String property = Exec(kGetFirst, kPinProp, name, block); !property.IsEmpty();
         property = Exec(kGetNext, kPinProp, name, block)) {
        const Pal::String value = Exec(kGet, kPinProp, name, block, property);
        if (Same(property, kKeyPinHasBus)) {
            pin->SetHasBus(IsTrue(value));
        } else if (Same(property, kKeyPinWidth)) {
            if (!hsx) Olm_Pin::SetPinWidthData(pin, value);
        } else if (Same(property, kKeyPinIsVcc)) {
            if (!tied) pin->SetIsVcc(IsTrue(value));
        } else if (Same(property, kKeyPinIsGnded)) {
            if (!tied) pin->SetIsGrounded(IsTrue(value));
        } else if (Same(property, kPropPinIsActive)) {
            pin->SetIsActive(IsTrue(value));
        } else if (Same(property, kPropDataWidth)) {
            if (IsTrue(value)) AddFlagOnce(pin, kFlagDataWidth);
        } else if (Same(property, kAttrPinGndInDataFile) || Same(property, kAttrPinVccInDataFile)) {
            // What the installed data said is not taken from the design.
        } else if (Olm_Attribute* attribute = pin->GetNamedAttribute(property)) {
            attribute->SetIsActive(true);
            attribute->SetCurrentValue(value);
        } else {
            AddKFZPinPropToWizData(name, block, property, pin);
        }
    }
    if (!tied) pin->SetSigName(Exec(kGet, kSignal, name, block));
}

bool Olm_KfzWizData::ProcessInternalSigProp(Olm_Signal* signal, const Pal::String& property) {
    if (!m_engine || !signal) return false;
    const bool external = Same(property, kKeySigExternal);
    const bool bus = Same(property, kKeySigIsBus);
    const bool grounded = Same(property, kKeySigIsGnded);
    const bool vcc = Same(property, kKeySigIsVcc);
    if (!external && !bus && !grounded && !vcc) return false;

    const Pal::String value = Exec(kGet, kSigProp, signal->GetName(), property);
    if (external) {
        signal->SetIsExternal(true, value);
    } else if (bus) {
        signal->SetIsBus(true, 1);
        signal->SetWidth(Pal::StrUtil::AToI(value));
    } else if (grounded) {
        if (IsTrue(value)) signal->SetIsGrounded(true);
    } else if (IsTrue(value)) {
        signal->SetIsVcc(true);
    }
    return true;
}

bool Olm_KfzWizData::SaveWizDataToEngine() {
    if (!m_wizData || !m_engine) return true;
    if (Failed(Exec(kSet, kKfzVersion, Pal::Version::getValue("version")))) return false;

    bool ok = true;
    for (Olm_Block* block : m_wizData->GetBlkList()) {
        if (block->IsActive() && !SaveBlkDataToEngine(block)) ok = false;
    }
    // Signals come after the blocks, so that the tie signals the pins added are written too.
    for (Olm_Signal* signal : m_wizData->GetSigList()) {
        if (!signal->IsActive()) continue;
        const Pal::String& name = signal->GetName();
        if (Failed(Exec(kAdd, kSignal, name))) ok = false;
        if (signal->IsExternal() && Failed(Exec(kSet, kExternalSig, name, signal->GetDirection()))) ok = false;
        if (signal->IsBus()) {
            Pal::String width;
            width.Format(kBusWidthFormat, signal->GetWidth());
            if (Failed(Exec(kSet, kBus, name, width))) ok = false;
        }
        if (signal->IsGrounded() && Failed(Exec(kSet, kGndSig, name))) ok = false;
        if (signal->IsVcc() && Failed(Exec(kSet, kVccSig, name))) ok = false;
        for (Olm_Attribute* attribute : signal->GetAttributeList()) {
            if (!attribute->IsActive()) continue;
            if (Failed(Exec(kAdd, kSigProp, name, attribute->GetName(), attribute->GetCurrentValue()))) ok = false;
        }
    }
    return ok;
}

bool Olm_KfzWizData::SaveBlkDataToEngine(Olm_Block* block) {
    if (!block) return true;
    if (!m_wizData || !m_engine) return true;
    bool ok = true;
    const Pal::String name = block->GetName();
    if (Failed(Exec(kAdd, kBlock, name, block->GetPrimType(), kBlockCount))) ok = false;

    for (const Pal::String& property : FlagProperties(block->GetFlagList())) {
        if (Failed(Exec(kAdd, kBlkProp, name, property, kValueTrue))) ok = false;
    }

    for (Olm_Pin* pin : block->GetPinList()) {
        const Pal::String pinName = pin->GetName();
        if (Failed(Exec(kAdd, kPin, KfzDirection(pin->GetDirection()), pinName, name))) ok = false;
        Pal::String width;
        width.Format(kPinWidthFormat, pin->GetStartBit(), pin->GetEndBit());
        if (Failed(Exec(kSet, kPinWidth, pinName, name, width))) ok = false;
        CheckForTiedPin(pin);
        if (pin->IsVcc() && Failed(Exec(kSet, kVccPin, pinName, name))) ok = false;
        if (pin->IsGrounded() && Failed(Exec(kSet, kGndPin, pinName, name))) ok = false;
        if (pin->HasBus() && Failed(Exec(kSet, kHasBus, pinName, name))) ok = false;
        if (pin->IsActive()) {
            if (!pin->GetSigName().IsEmpty() && Failed(Exec(kConnect, kSignal, pin->GetSigName(), pinName, name))) {
                ok = false;
            }
            if (Failed(Exec(kAdd, kPinProp, pinName, name, kPropPinIsActive, kValueTrue))) ok = false;
        }
        for (const Pal::String& property : FlagProperties(pin->GetFlagList())) {
            if (Failed(Exec(kAdd, kPinProp, pinName, name, property, kValueTrue))) ok = false;
        }
        for (Olm_Attribute* attribute : pin->GetAttributeList()) {
            if (!attribute->IsActive()) continue;
            const Pal::String& attrName = attribute->GetName();
            if (Same(attrName, kAttrPinGndInDataFile) || Same(attrName, kAttrPinVccInDataFile) ||
                Same(attrName, kAttrPinTie)) {
                continue;
            }
            if (Failed(Exec(kAdd, kPinProp, pinName, name, attrName, attribute->GetCurrentValue()))) ok = false;
        }
    }

    for (Olm_Attribute* attribute : block->GetAttributeList()) {
        if (!attribute->IsActive() || Same(attribute->GetName(), kKeyPrimType)) continue;
        if (Failed(Exec(kAdd, kBlkProp, name, attribute->GetName(), attribute->GetCurrentValue()))) ok = false;
    }
    return ok;
}

void Olm_KfzWizData::CheckForTiedPin(Olm_Pin* pin) {
    if (!m_wizData || !m_engine || !pin) return;
    const Olm_Attribute* tie = pin->GetNamedAttribute(kAttrPinTie);
    if (!tie) return;
    // A sized literal in base two: width, "'b", one character per bit, most significant first.
    const Pal::String& value = tie->GetCurrentValue();
    const unsigned marker = value.GetIndexOfString(kTieBaseMarker, Pal::String::kExact);
    if (marker == Pal::String::kNotFound) return;
    Pal::String widthText(value);
    widthText.Truncate(marker);
    const int width = Pal::StrUtil::AToI(widthText);
    if (width <= 0 || width > kMaxTieBits) return;
    Pal::String bits(value.c_str() + marker + 2);
    if (bits.GetLength() > static_cast<unsigned>(width)) bits.Truncate(static_cast<unsigned>(width));

    const bool anyOne = bits.GetIndexOfString("1", Pal::String::kExact) != Pal::String::kNotFound;
    const bool anyZero = bits.GetIndexOfString("0", Pal::String::kExact) != Pal::String::kNotFound;
    if (anyOne && !anyZero) {
        pin->SetIsVcc(true);
        return;
    }
    if (anyZero && !anyOne) {
        pin->SetIsGrounded(true);
        return;
    }
    int bit = width - 1;
    for (unsigned i = 0; i < bits.GetLength(); ++i, --bit) {
        if (bits.c_str()[i] == '1') {
            pin->SetPinSigBitProp(kTieVccSignal, bit, bit, 0, 0);
        } else if (bits.c_str()[i] == '0') {
            pin->SetPinSigBitProp(kTieGndSignal, bit, bit, 0, 0);
        }
    }
    if (anyOne) m_wizData->AddSignal(kTieVccSignal, false, "")->SetIsVcc(true);
    if (anyZero) m_wizData->AddSignal(kTieGndSignal, false, "")->SetIsGrounded(true);
}

bool Olm_KfzWizData::ReadOptFile(Pal::String& fileName) {
    if (!m_wizData || fileName.IsEmpty()) return false;
    Olm_OptFileReader reader;
    reader.SetBatchMode(IsBatchMode());
    reader.SetSilent(IsSilent());
    reader.SetLogFile(m_logFile);
    return reader.Read(m_wizData, fileName.c_str());
}
