#include "datafiles/Olm_OptFileReader.h"

#include "datafiles/Olm_MessageSink.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/StrUtil.h"
#include "pal/Stream.h"

#include <cstring>
#include <string>

namespace {

constexpr const char* kKeyBlockProp = "BlockProp";
constexpr const char* kKeyUsePin = "UsePin";
constexpr const char* kKeyClkBuf = "TklClkBuf";
constexpr const char* kAllBlocks = "*";
constexpr const char* kClkBufPrefix = "OLMW_ONLY_SETCLKBUF_";
constexpr const char* kDisplayName = "HSX_DISPLAY_NAME";
constexpr const char* kBlanks = " \t";

constexpr const char* kClkBufTypes[] = {
    "Global Buffer", "Enabled Buffer", "Clock Mux", "Output Buffer", "Lowskewline", "Local Routing",
};

constexpr const char* kErrOpen = "Could not find the specified option file %s";
// Why a file was refused, on the line after the open message.
constexpr const char* kWhyNotRegular = "\nIt is not a regular file (%s).";
constexpr const char* kWhyTooLarge = "\nIt is too large (%llu bytes; the limit is %llu bytes).";
constexpr const char* kWhyNoData = "\nIt is a FIFO that nothing was written to within %d seconds.";
constexpr const char* kErrTerminator =
    "ERROR in reading %s:\n\nMissing ';' to terminate the statement at line %d :\n  %s\n";
constexpr const char* kErrKeyword = "ERROR in reading %s:\n\nUnrecognized keyword on line %d :\n  %s\n";
constexpr const char* kErrPrimitive = "ERROR in reading %s:\n\nMissing primitive in BlockProp line# %d :\n  %s\n";
constexpr const char* kErrBlock = "ERROR in reading %s:\n\nMissing blkname in BlockProp line# %d :\n  %s\n";
constexpr const char* kErrPropName =
    "ERROR in reading %s:\n\nMissing property name in BlockProp line# %d :\n  %s\n";
constexpr const char* kErrPropValue =
    "ERROR in reading %s:\n\nMissing property value in BlockProp line# %d :\n  %s\n";
constexpr const char* kErrPin = "ERROR in reading %s:\n\nMissing pinname in UsePin line# %d :\n  %s\n";
constexpr const char* kErrClkBufType =
    "ERROR in reading %s:\n\nMissing clock buffer type in TklClkBuf line# %d :\n  %s\n";
constexpr const char* kErrClkBufIllegal =
    "ERROR in reading %s:\n\nIllegal value for the clock buffer type in TklClkBuf line# %d :\n  %s\n";
constexpr const char* kErrBlockUnusable =
    "ERROR in reading %s:\n\nCannot process block specified in BlockProp line# %d :\n  %s\n";
constexpr const char* kErrZeroByte = "ERROR in reading %s:\n\nLine %d holds a zero byte :\n  %s\n";

constexpr int kMaxErrors = 3;

// Removes blanks and tabs from both ends of text, in place.
char* TrimInPlace(char* text) {
    text += std::strspn(text, kBlanks);
    std::size_t n = std::strlen(text);
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t')) text[--n] = '\0';
    return text;
}

// The next field up to one of the delimiters, trimmed (a null text goes on
// where the last call stopped). Null when there is none; a field of blanks
// alone counts as none, so that no nameless block, attribute or pin arises.
char* NextField(char* text, const char* delimiters) {
    char* field = Pal::StrUtil::Tokenize(text, delimiters);
    if (!field) return nullptr;
    field = TrimInPlace(field);
    return *field ? field : nullptr;
}

bool StartsWith(const char* text, const char* keyword) {
    return Pal::StrUtil::NCompare(text, keyword, std::strlen(keyword)) == 0;
}

}  // namespace

Olm_OptFileReader::Olm_OptFileReader() = default;

Olm_OptFileReader::~Olm_OptFileReader() { Close(); }

void Olm_OptFileReader::Close() {
    if (m_file) Pal::File::close(m_file);
    m_file = nullptr;
}

void Olm_OptFileReader::Report(const Pal::String& text) {
    Olm_MessageSink::Current().Message(text, m_batch, m_log, true, m_silent, false);
}

void Olm_OptFileReader::ReportStatementError(const char* format) {
    Pal::String text;
    text.Format(format, m_fileName.c_str(), m_lineNumber, m_lineCopy.data());
    Report(text);
    ++m_errorCount;
}

void Olm_OptFileReader::Open(const char* path) {
    Close();
    m_fileName = path;
    m_errorCount = 0;
    Pal::InputCheck check;
    m_file = Pal::File::openInputOrPipe(m_fileName.c_str(), kMaxFileBytes, check);
    if (m_file) return;
    Pal::String text;
    text.Format(kErrOpen, m_fileName.c_str());
    Pal::String why;
    if (check.problem == Pal::InputCheck::Problem::kNotRegular) {
        why.Format(kWhyNotRegular, check.kind);
    } else if (check.problem == Pal::InputCheck::Problem::kTooLarge) {
        why.Format(kWhyTooLarge, static_cast<unsigned long long>(check.size),
                   static_cast<unsigned long long>(check.limit));
    } else if (check.problem == Pal::InputCheck::Problem::kNoData) {
        why.Format(kWhyNoData, Pal::File::kPipeWaitMs / 1000);
    }
    text += why;
    Report(text);
}

char* Olm_OptFileReader::GetNextStatement() {
    if (!m_file) return nullptr;
    std::string piece;
    while (m_file->ReadPiece(piece, kPieceChars)) {
        ++m_lineNumber;
        if (piece[0] == '#') continue;  // a comment only in the first column
        // A carriage return before the line feed (a CR LF file) is dropped.
        if (piece.size() >= 2 && piece.compare(piece.size() - 2, 2, "\r\n") == 0) piece.erase(piece.size() - 2, 1);
        const std::size_t first = piece.find_first_not_of(' ');
        if (first == std::string::npos || piece[first] == '\n') continue;  // blank
        Pal::StrUtil::Copy(m_lineCopy.data(), m_lineCopy.size(), piece.c_str() + first);
        if (piece.find('\0') != std::string::npos) {
            // The statement would end at the zero byte and the rest of the
            // line would be dropped unseen.
            ReportStatementError(kErrZeroByte);
            if (m_errorCount >= kMaxErrors) return nullptr;
            continue;
        }
        Pal::StrUtil::Copy(m_workCopy.data(), m_workCopy.size(), piece.c_str() + first);
        return m_workCopy.data();
    }
    return nullptr;
}

bool Olm_OptFileReader::Read(Olm_WizData* data, const char* path) {
    if (!data) return true;
    m_wizData = data;
    Open(path);
    if (!m_file) return false;
    m_lineNumber = 0;
    while (char* statement = GetNextStatement()) {
        char* keyText = Pal::StrUtil::Tokenize(statement, ":");
        if (keyText) {
            const char* key = TrimInPlace(keyText);
            char* value = Pal::StrUtil::Tokenize(nullptr, ";");
            if (value) value = TrimInPlace(value);
            const bool known = StartsWith(key, kKeyBlockProp) || StartsWith(key, kKeyUsePin) ||
                               StartsWith(key, kKeyClkBuf);
            if (!known) {
                ReportStatementError(kErrKeyword);
            } else if (!value) {
                ReportStatementError(kErrTerminator);
            } else if (StartsWith(key, kKeyBlockProp)) {
                ProcessBlockProp(value);
            } else if (StartsWith(key, kKeyUsePin)) {
                ProcessUsePin(value);
            } else {
                ProcessClkBuf(value);
            }
        }
        if (m_errorCount >= kMaxErrors) break;
    }
    Close();
    return m_errorCount == 0;
}

const char* Olm_OptFileReader::RequireField(char* text, const char* delimiters, const char* errorFormat) {
    const char* field = NextField(text, delimiters);
    if (!field) ReportStatementError(errorFormat);
    return field;
}

bool Olm_OptFileReader::TakeTarget(char* value, const char* nameError, Target& target) {
    target.primitive = RequireField(value, ".", kErrPrimitive);
    if (!target.primitive) return false;
    target.block = RequireField(nullptr, ".", kErrBlock);
    if (!target.block || !m_wizData) return false;
    target.name = RequireField(nullptr, "=", nameError);
    return target.name != nullptr;
}

bool Olm_OptFileReader::ProcessBlockProp(char* value) {
    Target target;
    if (!TakeTarget(value, kErrPropName, target)) return false;
    const char* propValue = RequireField(nullptr, ";", kErrPropValue);
    if (!propValue) return false;
    return ApplyToBlocks(target.primitive, target.block, target.name, propValue, kBlockProp);
}

bool Olm_OptFileReader::ProcessUsePin(char* value) {
    Target target;
    if (!TakeTarget(value, kErrPin, target)) return false;
    return ApplyToBlocks(target.primitive, target.block, target.name, "", kUsePin);
}

bool Olm_OptFileReader::ProcessClkBuf(char* value) {
    Target target;
    if (!TakeTarget(value, kErrPin, target)) return false;
    const char* type = RequireField(nullptr, ";", kErrClkBufType);
    if (!type) return false;
    const Pal::String typeText(type);
    bool accepted = false;
    for (const char* known : kClkBufTypes) {
        if (typeText.Compare(known, Pal::String::kNoCase) == 0) accepted = true;
    }
    if (!accepted) {
        ReportStatementError(kErrClkBufIllegal);
        return false;
    }
    return ApplyToBlocks(target.primitive, target.block, target.name, typeText, kClkBuf);
}

bool Olm_OptFileReader::ApplyToBlocks(Pal::String primitive, Pal::String block, Pal::String name,
                                      Pal::String value, int option) {
    if (!m_wizData) return false;
    Pal::String blockName = block;
    if (block == kAllBlocks) {
        bool visited = false;
        bool result = false;
        Olm_BlockList& blocks = m_wizData->GetBlkList();
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            Olm_Block* each = blocks[i];
            if (!each || each->GetPrimType().Compare(primitive, Pal::String::kNoCase) != 0) continue;
            visited = true;
            result = ProcessBlk(each, name, value, option);
        }
        if (visited) return result;
        // No block of that type yet: make one, named after the primitive.
        blockName = primitive;
        blockName += "_INST";
        blockName.MakeUpper();
    }
    Olm_Block* target = m_wizData->AddBlock(blockName, primitive);
    if (!target) {
        ReportStatementError(kErrBlockUnusable);
        return false;
    }
    return ProcessBlk(target, name, value, option);
}

bool Olm_OptFileReader::ProcessBlk(Olm_Block* block, Pal::String name, Pal::String value, int option) {
    if (!block) return false;
    switch (option) {
    case kBlockProp:
        if (name.Compare(kDisplayName, Pal::String::kNoCase) == 0) {
            // A transceiver lane named by the option file becomes the one block in use.
            if (m_wizData) m_wizData->SetAllBlksIsActive(false);
            block->SetIsActive(true);
        }
        block->AddAttribute(name, value);
        return true;
    case kUsePin:
        block->SetPinIsActive(name, true);
        return true;
    case kClkBuf: {
        block->SetPinIsActive(name, true);
        Pal::String attribute;
        attribute.Format("%s,%s", kClkBufPrefix, name.c_str());
        block->AddAttribute(attribute, value);
        block->SetPinIsActive(name, true);
        return true;
    }
    default:
        return false;
    }
}
