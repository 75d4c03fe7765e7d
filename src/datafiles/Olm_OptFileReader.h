#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

#include <array>
#include <cstdint>

namespace Pal {
class Stream;
}
class Olm_Block;
class Olm_WizData;

// Applies an option file to a wizard-data container. An option file presets
// block attributes, pins and clock-buffer types, one statement per line:
//
//   BlockProp: primitive.block.property=value;
//   UsePin:    primitive.block.pin;
//   TklClkBuf: primitive.block.pin=type;
//
// The block "*" stands for every block of the primitive type. Lines are read
// in pieces of at most 255 characters; "#" in the first column makes a
// comment. Every problem is reported as an error through the message sink
// (Olm_MessageSink: the page message service in a wizard); after the third
// error the reading stops.
//
// One reader per file. The fields are split with Pal::StrUtil::Tokenize,
// which keeps its position between calls, so only one reader may run at a time.
class OLM_BASE_EXPORT Olm_OptFileReader {
public:
    // Option codes of ProcessBlk.
    static constexpr int kBlockProp = 0;
    static constexpr int kUsePin = 1;
    static constexpr int kClkBuf = 2;

    Olm_OptFileReader();
    ~Olm_OptFileReader();
    Olm_OptFileReader(const Olm_OptFileReader&) = delete;
    Olm_OptFileReader& operator=(const Olm_OptFileReader&) = delete;

    void SetSilent(bool silent) { m_silent = silent; }
    void SetBatchMode(bool batch) { m_batch = batch; }
    void SetLogFile(Pal::Stream* log) { m_log = log; }

    // Applies the file at path to data. True at once for a null container;
    // otherwise true when the file opened and gave no error.
    bool Read(Olm_WizData* data, const char* path);

    // Largest option file read (16 MiB); the bundled ones are about a
    // kilobyte. A larger file is refused before anything is read.
    static constexpr std::uint64_t kMaxFileBytes = 16ull << 20;

    // Stores the path, clears the error count and opens the file; reports
    // when it does not open, is not a regular file or is larger than
    // kMaxFileBytes. None of these waits (a FIFO is refused at once).
    void Open(const char* path);
    // The next statement (leading blanks skipped, line end kept), or null at
    // the end of the file. Comment and blank lines are skipped but counted.
    char* GetNextStatement();

    bool ProcessBlockProp(char* value);
    bool ProcessUsePin(char* value);
    bool ProcessClkBuf(char* value);
    bool ApplyToBlocks(Pal::String primitive, Pal::String block, Pal::String name, Pal::String value, int option);
    bool ProcessBlk(Olm_Block* block, Pal::String name, Pal::String value, int option);

    int GetErrorCount() const { return m_errorCount; }
    int GetLineNumber() const { return m_lineNumber; }

private:
    static constexpr std::size_t kPieceChars = 255;

    // The fields "primitive.block.name" in front of a statement's value.
    struct Target {
        const char* primitive = nullptr;
        const char* block = nullptr;
        const char* name = nullptr;
    };

    void Close();
    // The next field up to one of the delimiters (see NextField); reports
    // errorFormat when there is none.
    const char* RequireField(char* text, const char* delimiters, const char* errorFormat);
    // Splits the target off value, reporting the first field that is missing
    // (nameError for the name). False without a report when there is no
    // container to apply it to.
    bool TakeTarget(char* value, const char* nameError, Target& target);
    // Reports text (formatted with the file name, the line number and the
    // statement) and counts it as an error.
    void ReportStatementError(const char* format);
    void Report(const Pal::String& text);

    bool m_silent = false;
    bool m_batch = false;
    Pal::String m_fileName;
    std::array<char, kPieceChars + 1> m_lineCopy{};  // the statement, intact, for messages
    std::array<char, kPieceChars + 1> m_workCopy{};  // the same, cut up by the tokenizer
    int m_lineNumber = 0;
    int m_errorCount = 0;
    Pal::Stream* m_log = nullptr;       // not owned
    Pal::Stream* m_file = nullptr;      // owned, closed by Close()
    Olm_WizData* m_wizData = nullptr;   // not owned
};
