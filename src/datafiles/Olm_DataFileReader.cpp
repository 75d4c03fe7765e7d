#include "datafiles/Olm_DataFileReader.h"

#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/MsgMan.h"
#include "pal/StrUtil.h"
#include "pal/Stream.h"

namespace {

constexpr const char* kCategory = "DesignEntry";
constexpr const char* kSource = "../s/Reader";
constexpr const char* kRevision = "$revision 1.1$";

constexpr const char* kTrimLine = " \t";  // a statement line is trimmed of blanks and tabs
constexpr const char* kTrimPiece = " ";   // keys, values and pieces of spaces only

// How much of an over-long line its error message shows.
constexpr int kLongLineShown = 64;

Pal::String Trimmed(const char* text) {
    Pal::String s(text);
    s.Trim(kTrimPiece, Pal::String::kTrimBoth);
    return s;
}

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

void Olm_DataFileReader::ErrorInvalidValue(const Pal::String& value) {
    Pal::String text;
    text.Format("ERROR in reading file %s:\nThe value specified '%s' near line %d is not a valid value.\n",
                m_fileName.c_str(), value.c_str(), m_lineNumber);
    IssueCountedError(text);
}

void Olm_DataFileReader::ErrorUnrecognized() {
    ErrorAtLine("ERROR in reading file %s:\nUnrecognized keyword on line %d :\n  %s\n");
}

bool Olm_DataFileReader::NextValue(Pal::String& value) {
    const char* token = Pal::StrUtil::Tokenize(nullptr, ";");
    if (!token) return false;
    value = Trimmed(token);
    return true;
}

bool Olm_DataFileReader::ParseBool(const Pal::String& value, bool& result) {
    if (value.Compare("TRUE", Pal::String::kNoCase) == 0) {
        result = true;
        return true;
    }
    if (value.Compare("FALSE", Pal::String::kNoCase) == 0) {
        result = false;
        return true;
    }
    return false;
}

bool Olm_DataFileReader::RequireValue(Pal::String& value) {
    if (NextValue(value)) return true;
    ErrorAtLine("ERROR in reading file %s:\nMissing ';' to terminate the statement at line %d :\n  %s\n");
    return false;
}

bool Olm_DataFileReader::RequireBool(bool& flag) {
    Pal::String value;
    if (!RequireValue(value)) return false;
    if (ParseBool(value, flag)) return true;
    ErrorInvalidValue(value);
    return false;
}

template <typename Handler>
void Olm_DataFileReader::ReadSection(Handler handle) {
    while (char* line = GetNextStatement()) {
        const char* token = Pal::StrUtil::Tokenize(line, ":;");
        if (!token) {
            ErrorAtLine("ERROR in reading file %s:\nNo keyword on line %d :\n  %s\n");
        } else if (!handle(Trimmed(token))) {
            break;  // the section's end keyword
        }
        if (AtErrorLimit()) break;
    }
}

bool Olm_DataFileReader::KeyIs(const Pal::String& key, const char* keyword) {
    return Pal::StrUtil::NCompare(key.c_str(), keyword, Pal::StrUtil::Len(keyword)) == 0;
}

bool Olm_DataFileReader::Open(const char* path) {
    m_fileName = path;
    m_errorCount = 0;
    Pal::File::close(m_stream);
    m_stream = Pal::File::open(path, Pal::File::kRead, false);
    if (!m_stream) {
        Pal::String text;
        text.Format("ERROR:  Could not open %s\n", m_fileName.c_str());
        IssueError(text);  // not counted: nothing was read
        return false;
    }
    return true;
}

char* Olm_DataFileReader::GetNextStatement() {
    if (m_abort) return nullptr;
    Pal::String line;
    while (line.ReadLine(m_stream)) {
        ++m_lineNumber;
        // A comment is recognised on the line as read: "#" after blanks is not one.
        if (line.GetLength() > 0 && line.c_str()[0] == '#') continue;
        line.Trim(kTrimLine, Pal::String::kTrimBoth);
        if (line.IsEmpty()) continue;
        if (line.GetLength() > static_cast<unsigned>(kMaxLineLength)) {
            // The line buffers hold kMaxLineLength characters; a longer statement
            // is an error of its own rather than being cut short.
            Pal::String text;
            text.Format("ERROR in reading file %s:\nLine %d is longer than %d characters :\n  %.*s...\n",
                        m_fileName.c_str(), m_lineNumber, kMaxLineLength, kLongLineShown, line.c_str());
            IssueCountedError(text);
            continue;
        }
        if (line.str().find('\0') != std::string::npos) {
            // The statement would end at the zero byte and the rest of the
            // line would be dropped unseen.
            Pal::String text;
            text.Format("ERROR in reading file %s:\nLine %d holds a zero byte :\n  %s\n", m_fileName.c_str(),
                        m_lineNumber, line.c_str());
            IssueCountedError(text);
            continue;
        }
        Pal::StrUtil::Copy(m_lineCopy.data(), m_lineCopy.size(), line.c_str());
        Pal::StrUtil::Copy(m_workCopy.data(), m_workCopy.size(), line.c_str());
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
        const char* token = Pal::StrUtil::Tokenize(line, ":;");
        if (!token) continue;  // a line of separators only
        const Pal::String key = Trimmed(token);
        Pal::String value;
        if (KeyIs(key, "Version")) {
            if (RequireValue(value)) m_wizData->SetVersion(value);
        } else if (KeyIs(key, "WizData")) {
            sawWizData = true;
            if (RequireValue(value)) ReadWizData(value);
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

    ReadSection([this](const Pal::String& key) {
        Pal::String value;
        if (KeyIs(key, "Block")) {
            if (!RequireValue(value)) return true;
            if (Olm_Block* block = ReadBlock(value)) m_wizData->AddBlock(block, false);
            else m_abort = true;
        } else if (KeyIs(key, "Signal")) {
            if (!RequireValue(value)) return true;
            Olm_Signal* existing = FindSignal(value);
            Olm_Signal* signal = ReadSignal(value);
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

    ReadSection([&](const Pal::String& key) {
        Pal::String value;
        if (KeyIs(key, "Primitive")) {
            if (RequireValue(value)) block->SetPrimType(value);
        } else if (KeyIs(key, "InputPin") || KeyIs(key, "OutputPin") || KeyIs(key, "BidirPin")) {
            const char* direction = KeyIs(key, "InputPin") ? "IN" : KeyIs(key, "OutputPin") ? "OUT" : "INOUT";
            if (Olm_Pin* pin = ReadPin(direction)) block->AddPin(pin);
        } else if (KeyIs(key, "BlkFlags")) {
            while (const char* piece = Pal::StrUtil::Tokenize(nullptr, ";")) {
                const Pal::String flag = Trimmed(piece);
                if (flag == "\r\n") continue;
                block->AddFlag(flag);
            }
        } else if (KeyIs(key, "Attribute")) {
            // A missing attribute name is passed over.
            if (NextValue(value)) {
                if (Olm_Attribute* attribute = ReadAttributes(value)) block->AddAttribute(attribute);
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

    ReadSection([&](const Pal::String& key) {
        Pal::String value;
        bool flag = false;
        if (KeyIs(key, "External")) {
            if (!RequireValue(value)) return true;
            if (value.Compare("FALSE", Pal::String::kNoCase) == 0) signal->SetIsExternal(false, "");
            else signal->SetIsExternal(true, value);
        } else if (KeyIs(key, "Bus")) {
            if (!RequireValue(value)) return true;
            if (value.Compare("FALSE", Pal::String::kNoCase) == 0) {
                signal->SetIsBus(false, 1);
            } else {
                signal->SetIsBus(true, 1);
                signal->SetWidth(Pal::StrUtil::AToI(value.c_str()));
            }
        } else if (KeyIs(key, "Grounded")) {
            if (RequireBool(flag)) signal->SetIsGrounded(flag);
        } else if (KeyIs(key, "Attribute")) {
            if (NextValue(value)) {
                if (Olm_Attribute* attribute = ReadAttributes(value)) signal->AddAttribute(attribute);
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

    ReadSection([&](const Pal::String& key) {
        Pal::String value;
        bool flag = true;
        if (KeyIs(key, "PossibleValues")) {
            sawPossible = true;
            while (const char* piece = Pal::StrUtil::Tokenize(nullptr, ",;")) {
                const Pal::String possible = Trimmed(piece);
                if (possible == "\n") continue;
                attribute->AddPossibleValue(possible);
            }
        } else if (KeyIs(key, "DefaultValue")) {
            sawDefault = true;
            if (RequireValue(value)) attribute->SetDefaultValue(value);
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

Olm_Pin* Olm_DataFileReader::ReadPin(Pal::String direction) {
    const char* nameToken = Pal::StrUtil::Tokenize(nullptr, ";");
    if (!nameToken) return nullptr;
    auto* pin = new Olm_Pin(Trimmed(nameToken), direction);  // owned here until returned or deleted below

    // Pairs "key=value;" until the line is used up. An unknown key is passed
    // over without reading its value, so the text up to the next "=" becomes
    // the next key: an unknown key loses the pair after it as well.
    while (const char* keyToken = Pal::StrUtil::Tokenize(nullptr, "=")) {
        const Pal::String key = Trimmed(keyToken);
        const bool known = key.Compare("Width", Pal::String::kNoCase) == 0 ||
                           key.Compare("Signal", Pal::String::kNoCase) == 0 ||
                           key.Compare("HasBus", Pal::String::kNoCase) == 0 ||
                           key.Compare("Flag", Pal::String::kNoCase) == 0 ||
                           key.Compare("Grounded", Pal::String::kNoCase) == 0 ||
                           key.Compare("VCC", Pal::String::kNoCase) == 0 ||
                           key.Compare("TIE", Pal::String::kNoCase) == 0 ||
                           key.Compare("SaveToKFZ", Pal::String::kNoCase) == 0;
        if (!known) continue;
        Pal::String value;
        if (!NextValue(value)) break;  // "key=;" ends the line without an error

        bool flag = false;
        if (key.Compare("Width", Pal::String::kNoCase) == 0) {
            Olm_Pin::SetPinWidthData(pin, value.c_str());
        } else if (key.Compare("Signal", Pal::String::kNoCase) == 0) {
            pin->SetSigName(value);
        } else if (key.Compare("Flag", Pal::String::kNoCase) == 0) {
            pin->AddFlag(value);
        } else if (key.Compare("TIE", Pal::String::kNoCase) == 0) {
            pin->AddAttribute(Pal::String("OLM_PIN_TIE"), value);
        } else if (!ParseBool(value, flag)) {
            ErrorInvalidValue(value);
        } else if (key.Compare("HasBus", Pal::String::kNoCase) == 0) {
            pin->SetHasBus(flag);
        } else if (key.Compare("Grounded", Pal::String::kNoCase) == 0) {
            pin->SetIsGrounded(flag);
            if (flag) pin->AddAttribute(Pal::String("OLM_PIN_GND_IN_DATAFILE"), Pal::String("TRUE"));
        } else if (key.Compare("VCC", Pal::String::kNoCase) == 0) {
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
