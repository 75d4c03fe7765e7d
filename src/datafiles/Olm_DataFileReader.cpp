#include "datafiles/Olm_DataFileReader.h"

#include "model/Olm_NameLookup.h"

#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/MsgMan.h"
#include "pal/StrUtil.h"
#include "pal/Stream.h"

#include <cstring>
#include <utility>

namespace {

constexpr const char* kCategory = "DesignEntry";
constexpr const char* kSource = "../s/Reader";
constexpr const char* kRevision = "$revision 1.1$";

// A statement line is trimmed of blanks and tabs (IsLineBlank); keys, values
// and pieces of spaces only (NextToken).

// How much of an over-long line its error message shows.
constexpr int kLongLineShown = 64;

bool IsLineBlank(char c) { return c == ' ' || c == '\t'; }

Pal::String ToString(std::string_view text) { return Pal::String(text.data(), text.size()); }

// What Pal::String::Compare(..., kNoCase) == 0 answers for a text without
// zero bytes.
bool EqualsNoCase(std::string_view text, std::string_view word) { return Pal::StrUtil::EqualNoCase(text, word); }

}  // namespace

Olm_DataFileReader::Olm_DataFileReader() = default;

Olm_DataFileReader::~Olm_DataFileReader() { Pal::File::close(m_stream); }

void Olm_DataFileReader::IssueError(const Pal::String& text, int line) {
    Pal::MsgMan::createObject(kCategory, kSource, line, kRevision).issueError(text);
}

void Olm_DataFileReader::IssueCountedError(const Pal::String& text, int line) {
    IssueError(text, line);
    ++m_errorCount;
}

void Olm_DataFileReader::ErrorAtLine(const char* format, int line) {
    Pal::String text;
    text.Format(format, m_fileName.c_str(), m_lineNumber, m_lineCopy.data());
    IssueCountedError(text, line);
}

void Olm_DataFileReader::ErrorInvalidValue(std::string_view value) {
    const std::string shown(value);
    Pal::String text;
    text.Format("ERROR in reading file %s:\nThe value specified '%s' near line %d is not a valid value.\n",
                m_fileName.c_str(), shown.c_str(), m_lineNumber);
    IssueCountedError(text);
}

void Olm_DataFileReader::ErrorUnrecognized() {
    ErrorAtLine("ERROR in reading file %s:\nUnrecognized keyword on line %d :\n  %s\n");
}

bool Olm_DataFileReader::NextToken(char* text, char delimiter, char other, std::string_view& token) {
    char* p = text ? text : m_tokenPosition;
    if (!p) return false;
    const auto isDelimiter = [delimiter, other](char c) { return c == delimiter || c == other; };
    while (*p != '\0' && isDelimiter(*p)) ++p;
    if (*p == '\0') {
        m_tokenPosition = nullptr;
        return false;
    }
    char* first = p;
    while (*p != '\0' && !isDelimiter(*p)) ++p;
    char* end = p;
    m_tokenPosition = *p != '\0' ? p + 1 : nullptr;
    // Trimmed of spaces; the cut keeps the token zero-terminated.
    while (first < end && *first == ' ') ++first;
    while (end > first && end[-1] == ' ') --end;
    *end = '\0';
    token = {first, static_cast<std::size_t>(end - first)};
    return true;
}

bool Olm_DataFileReader::NextValue(std::string_view& value) { return NextToken(nullptr, ';', ';', value); }

bool Olm_DataFileReader::ParseBool(std::string_view value, bool& result) {
    if (EqualsNoCase(value, "TRUE")) {
        result = true;
        return true;
    }
    if (EqualsNoCase(value, "FALSE")) {
        result = false;
        return true;
    }
    return false;
}

bool Olm_DataFileReader::RequireValue(std::string_view& value) {
    if (NextValue(value)) return true;
    ErrorAtLine("ERROR in reading file %s:\nMissing ';' to terminate the statement at line %d :\n  %s\n");
    return false;
}

bool Olm_DataFileReader::RequireBool(bool& flag) {
    std::string_view value;
    if (!RequireValue(value)) return false;
    if (ParseBool(value, flag)) return true;
    ErrorInvalidValue(value);
    return false;
}

template <typename Handler>
void Olm_DataFileReader::ReadSection(Handler handle) {
    while (char* line = GetNextStatement()) {
        std::string_view key;
        if (!NextToken(line, ':', ';', key)) {
            ErrorAtLine("ERROR in reading file %s:\nNo keyword on line %d :\n  %s\n");
        } else if (!handle(key)) {
            break;  // the section's end keyword
        }
        if (AtErrorLimit()) break;
    }
}

bool Olm_DataFileReader::KeyIs(std::string_view key, std::string_view keyword) {
    // A prefix test, as strncmp over the keyword's length answers it.
    return key.starts_with(keyword);
}

bool Olm_DataFileReader::Open(const char* path) {
    m_fileName = path;
    m_errorCount = 0;
    Pal::File::close(m_stream);
    m_stream = nullptr;
    Pal::InputCheck check;
    m_stream = Pal::File::openInput(path, kMaxFileBytes, check);
    if (m_stream) return true;
    // Not counted as errors: nothing was read.
    // The open message first, as always; why the file was refused, when it
    // was, on the line after it.
    Pal::String text;
    text.Format("ERROR:  Could not open %s\n", m_fileName.c_str());
    Pal::String why;
    if (check.problem == Pal::InputCheck::Problem::kNotRegular) {
        why.Format("It is not a regular file (%s).\n", check.kind);
    } else if (check.problem == Pal::InputCheck::Problem::kTooLarge) {
        why.Format("It is too large (%llu bytes; the limit is %llu bytes).\n",
                   static_cast<unsigned long long>(check.size), static_cast<unsigned long long>(check.limit));
    }
    text += why;
    IssueError(text);
    return false;
}

char* Olm_DataFileReader::GetNextStatement() {
    if (m_abort || !m_stream) return nullptr;
    // m_readLine keeps its capacity from line to line.
    while (m_stream->ReadLine(m_readLine)) {
        ++m_lineNumber;
        std::string_view line(m_readLine);
        if (line.ends_with('\n')) line.remove_suffix(1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        // A comment is recognised on the line as read: "#" after blanks is not one.
        if (line.starts_with('#')) continue;
        while (!line.empty() && IsLineBlank(line.back())) line.remove_suffix(1);
        while (!line.empty() && IsLineBlank(line.front())) line.remove_prefix(1);
        if (line.empty()) continue;
        if (line.size() > static_cast<std::size_t>(kMaxLineLength)) {
            // The line buffers hold kMaxLineLength characters; a longer statement
            // is an error of its own rather than being cut short.
            const std::string shown(line);
            Pal::String text;
            text.Format("ERROR in reading file %s:\nLine %d is longer than %d characters :\n  %.*s...\n",
                        m_fileName.c_str(), m_lineNumber, kMaxLineLength, kLongLineShown, shown.c_str());
            IssueCountedError(text);
            continue;
        }
        if (line.find('\0') != std::string_view::npos) {
            // The statement would end at the zero byte and the rest of the
            // line would be dropped unseen.
            const std::string shown(line);
            Pal::String text;
            text.Format("ERROR in reading file %s:\nLine %d holds a zero byte :\n  %s\n", m_fileName.c_str(),
                        m_lineNumber, shown.c_str());
            IssueCountedError(text);
            continue;
        }
        std::memcpy(m_lineCopy.data(), line.data(), line.size());
        m_lineCopy[line.size()] = '\0';
        std::memcpy(m_workCopy.data(), line.data(), line.size());
        m_workCopy[line.size()] = '\0';
        return m_workCopy.data();
    }
    return nullptr;
}

bool Olm_DataFileReader::ReadFile(Olm_WizData* wizData) {
    if (!wizData || !m_stream) return false;
    m_wizData = wizData;
    m_lineNumber = 0;
    bool sawWizData = false;

    while (char* line = GetNextStatement()) {
        std::string_view key;
        if (!NextToken(line, ':', ';', key)) continue;  // a line of separators only
        std::string_view value;
        if (KeyIs(key, "Version")) {
            if (RequireValue(value)) m_wizData->SetVersion(ToString(value));
        } else if (KeyIs(key, "WizData")) {
            sawWizData = true;
            if (RequireValue(value)) ReadWizData(ToString(value));
        } else {
            ErrorUnrecognized();
        }
    }

    if (!sawWizData) {
        Pal::String text;
        text.Format(
            "ERROR in reading file \n%s:\nMissing the WizData statement.  Cannot process file without the WizData "
            "statement.\n",
            m_fileName.c_str());
        IssueCountedError(text);
    }
    return sawWizData && m_errorCount == 0;
}

Olm_Signal* Olm_DataFileReader::FindSignal(const Pal::String& name) const {
    if (!m_wizData) return nullptr;
    return m_signals ? m_signals->Find(name) : m_wizData->GetNamedSignal(name);
}

bool Olm_DataFileReader::ReadWizData(Pal::String name) {
    if (!m_wizData) return false;
    m_wizName = name;
    m_wizData->SetWizType(name);
    // Only this reader changes the signal list while the section is read.
    m_signals = std::make_unique<Olm_NameLookup<Olm_Signal>>(m_wizData->GetSigList());

    ReadSection([this](std::string_view key) {
        std::string_view value;
        if (KeyIs(key, "Block")) {
            if (!RequireValue(value)) return true;
            if (Olm_Block* block = ReadBlock(ToString(value))) m_wizData->AddBlock(block, false);
            else m_abort = true;
        } else if (KeyIs(key, "Signal")) {
            if (!RequireValue(value)) return true;
            const Pal::String name = ToString(value);
            Olm_Signal* existing = FindSignal(name);
            Olm_Signal* signal = ReadSignal(name);
            if (!signal) {
                m_abort = true;
            } else if (signal != existing) {
                m_wizData->AddSignal(signal);
                m_signals->Refresh();
            }
        } else if (KeyIs(key, "EndWizData")) {
            return false;
        }
        // Any other keyword is ignored here.
        return true;
    });
    m_signals.reset();
    return m_errorCount == 0;
}

Olm_Block* Olm_DataFileReader::ReadBlock(Pal::String name) {
    auto* block = new Olm_Block();  // owned here until returned or deleted below
    block->SetName(name);

    ReadSection([&](std::string_view key) {
        std::string_view value;
        if (KeyIs(key, "Primitive")) {
            if (RequireValue(value)) block->SetPrimType(ToString(value));
        } else if (KeyIs(key, "InputPin") || KeyIs(key, "OutputPin") || KeyIs(key, "BidirPin")) {
            const char* direction = KeyIs(key, "InputPin") ? "IN" : KeyIs(key, "OutputPin") ? "OUT" : "INOUT";
            if (Olm_Pin* pin = ReadPin(direction)) block->AddPin(pin);
        } else if (KeyIs(key, "BlkFlags")) {
            std::string_view flag;
            while (NextToken(nullptr, ';', ';', flag)) {
                if (flag == "\r\n") continue;
                block->AddFlag(ToString(flag));
            }
        } else if (KeyIs(key, "Attribute")) {
            // A missing attribute name is passed over.
            if (NextValue(value)) {
                if (Olm_Attribute* attribute = ReadAttributes(ToString(value))) block->AddAttribute(attribute);
            }
        } else if (KeyIs(key, "EndBlock")) {
            return false;
        } else {
            ErrorUnrecognized();
        }
        return true;
    });

    if (m_errorCount == 0) return block;
    delete block;
    return nullptr;
}

Olm_Signal* Olm_DataFileReader::ReadSignal(Pal::String name) {
    Olm_Signal* existing = FindSignal(name);
    Olm_Signal* signal = existing ? existing : new Olm_Signal(name);

    ReadSection([&](std::string_view key) {
        std::string_view value;
        bool flag = false;
        if (KeyIs(key, "External")) {
            if (!RequireValue(value)) return true;
            if (EqualsNoCase(value, "FALSE")) signal->SetIsExternal(false, "");
            else signal->SetIsExternal(true, ToString(value));
        } else if (KeyIs(key, "Bus")) {
            if (!RequireValue(value)) return true;
            if (EqualsNoCase(value, "FALSE")) {
                signal->SetIsBus(false, 1);
            } else {
                signal->SetIsBus(true, 1);
                signal->SetWidth(Pal::StrUtil::AToI(value.data()));  // zero-terminated by NextToken
            }
        } else if (KeyIs(key, "Grounded")) {
            if (RequireBool(flag)) signal->SetIsGrounded(flag);
        } else if (KeyIs(key, "Attribute")) {
            if (NextValue(value)) {
                if (Olm_Attribute* attribute = ReadAttributes(ToString(value))) signal->AddAttribute(attribute);
            }
        } else if (KeyIs(key, "SaveToKFZ")) {
            if (RequireBool(flag)) signal->SetIsActive(flag);
        } else if (KeyIs(key, "EndSignal")) {
            return false;
        } else {
            ErrorUnrecognized();
        }
        return true;
    });

    if (m_errorCount == 0) return signal;
    if (signal != existing) delete signal;  // the container keeps a signal it already held
    return nullptr;
}

Olm_Attribute* Olm_DataFileReader::ReadAttributes(Pal::String name) {
    auto* attribute = new Olm_Attribute();  // owned here until returned or deleted below
    attribute->SetName(name);
    attribute->SetIsModifiable(true);
    attribute->SetIsActive(true);
    bool sawDefault = false;
    bool sawPossible = false;

    ReadSection([&](std::string_view key) {
        std::string_view value;
        bool flag = true;
        if (KeyIs(key, "PossibleValues")) {
            sawPossible = true;
            std::string_view possible;
            while (NextToken(nullptr, ',', ';', possible)) {
                if (possible == "\n") continue;
                attribute->AddPossibleValue(ToString(possible));
            }
        } else if (KeyIs(key, "DefaultValue")) {
            sawDefault = true;
            if (RequireValue(value)) attribute->SetDefaultValue(ToString(value));
        } else if (KeyIs(key, "IsModifiable")) {
            if (RequireBool(flag)) attribute->SetIsModifiable(flag);
        } else if (KeyIs(key, "SaveToKFZ")) {
            if (RequireBool(flag)) attribute->SetIsActive(flag);
        } else if (KeyIs(key, "EndAttribute")) {
            return false;
        } else {
            ErrorUnrecognized();
        }
        return true;
    });

    Pal::String text;
    if (!sawDefault) {
        text.Format("ERROR in reading %s:\n\nMissing the DefaultValue statement near line %d.\n", m_fileName.c_str(),
                    m_lineNumber);
        IssueCountedError(text);
    }
    if (!sawPossible) {
        text.Format("ERROR in reading %s:\n\nMissing the PossibleValues statement near line %d.\n",
                    m_fileName.c_str(), m_lineNumber);
        IssueCountedError(text);
    }

    if (m_errorCount == 0) return attribute;
    delete attribute;
    return nullptr;
}

namespace {

// The keys of a pin statement's pairs, matched without case.
enum class PinKey { kWidth, kSignal, kHasBus, kFlag, kGrounded, kVcc, kTie, kSaveToKfz, kUnknown };

PinKey ClassifyPinKey(std::string_view key) {
    static constexpr std::pair<std::string_view, PinKey> kKeys[] = {
        {"Width", PinKey::kWidth}, {"Signal", PinKey::kSignal},     {"HasBus", PinKey::kHasBus},
        {"Flag", PinKey::kFlag},   {"Grounded", PinKey::kGrounded}, {"VCC", PinKey::kVcc},
        {"TIE", PinKey::kTie},     {"SaveToKFZ", PinKey::kSaveToKfz},
    };
    for (const auto& [word, pinKey] : kKeys) {
        if (EqualsNoCase(key, word)) return pinKey;
    }
    return PinKey::kUnknown;
}

}  // namespace

Olm_Pin* Olm_DataFileReader::ReadPin(Pal::String direction) {
    std::string_view name;
    if (!NextValue(name)) return nullptr;
    auto* pin = new Olm_Pin(ToString(name), std::move(direction));  // owned here until returned or deleted below

    // Pairs "key=value;" until the line is used up. An unknown key is passed
    // over without reading its value, so the text up to the next "=" becomes
    // the next key: an unknown key loses the pair after it as well.
    std::string_view keyText;
    while (NextToken(nullptr, '=', '=', keyText)) {
        const PinKey key = ClassifyPinKey(keyText);
        if (key == PinKey::kUnknown) continue;
        std::string_view value;
        if (!NextValue(value)) break;  // "key=;" ends the line without an error

        bool flag = false;
        if (key == PinKey::kWidth) {
            Olm_Pin::SetPinWidthData(pin, value.data());  // zero-terminated by NextToken
        } else if (key == PinKey::kSignal) {
            pin->SetSigName(ToString(value));
        } else if (key == PinKey::kFlag) {
            pin->AddFlag(ToString(value));
        } else if (key == PinKey::kTie) {
            pin->AddAttribute(Pal::String("OLM_PIN_TIE"), ToString(value));
        } else if (!ParseBool(value, flag)) {
            ErrorInvalidValue(value);
        } else if (key == PinKey::kHasBus) {
            pin->SetHasBus(flag);
        } else if (key == PinKey::kGrounded) {
            pin->SetIsGrounded(flag);
            if (flag) pin->AddAttribute(Pal::String("OLM_PIN_GND_IN_DATAFILE"), Pal::String("TRUE"));
        } else if (key == PinKey::kVcc) {
            pin->SetIsVcc(flag);
            if (flag) pin->AddAttribute(Pal::String("OLM_PIN_VCC_IN_DATAFILE"), Pal::String("TRUE"));
        } else {  // SaveToKFZ
            pin->SetIsActive(flag);
        }
    }

    if (m_errorCount == 0) return pin;
    delete pin;
    return nullptr;
}
