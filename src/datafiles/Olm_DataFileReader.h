#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace Pal {
class Stream;
}
class Olm_WizData;
class Olm_Block;
class Olm_Signal;
class Olm_Attribute;
class Olm_Pin;
template <typename Item>
class Olm_NameLookup;

// Reads one installed wizard data file (the line-oriented keyword format of
// "Version", "WizData", "Block", "Signal", "Attribute" sections and pin
// statements) into a wizard-data container. Every error is issued through
// Pal::MsgMan (category "DesignEntry") and counted; one reader reads one file:
// construct, Open, ReadFile, destroy.
//
// The reading operations share the reader's tokenizer position across their
// nested calls (ReadBlock takes a pin statement's key, ReadPin finishes the
// line).
class OLM_BASE_EXPORT Olm_DataFileReader {
public:
    // Longest statement line accepted, after trimming.
    static constexpr int kMaxLineLength = 255;
    // A WizData, Block, Signal or Attribute section stops once the file's
    // error count reaches this.
    static constexpr int kErrorLimit = 3;
    // Largest data file read (64 MiB): the installed files are tens of
    // kilobytes, a generated one of ten thousand blocks some twenty
    // megabytes. A larger file is refused before anything is read.
    static constexpr std::uint64_t kMaxFileBytes = 64ull << 20;

    Olm_DataFileReader();
    Olm_DataFileReader(const Olm_DataFileReader&) = delete;
    Olm_DataFileReader& operator=(const Olm_DataFileReader&) = delete;
    // Closes the input stream.
    ~Olm_DataFileReader();

    // Stores the path, resets the error count and opens the file for reading.
    // False (after the open error) when it cannot be opened, is not a regular
    // file or is larger than kMaxFileBytes; none of these waits (a FIFO is
    // refused at once). Opening again closes the stream opened before.
    bool Open(const char* path);
    // Reads the whole file into the container, which the reader does not own.
    // True when a WizData statement was seen and no error was reported.
    bool ReadFile(Olm_WizData* wizData);

    // The next statement line (trimmed, neither empty nor a comment), held in
    // the reader's work buffer; null at the end of the input or once reading
    // was aborted. A line longer than kMaxLineLength is reported and skipped.
    char* GetNextStatement();

    // The sections; each continues on the statements after its opening line.
    bool ReadWizData(Pal::String name);
    Olm_Block* ReadBlock(Pal::String name);
    // Fills the container's signal of that name when there is one, else a new
    // signal; null when the section failed (a new signal is then deleted).
    Olm_Signal* ReadSignal(Pal::String name);
    Olm_Attribute* ReadAttributes(Pal::String name);
    // The rest of the current pin statement line, after its key.
    Olm_Pin* ReadPin(Pal::String direction);

    int GetErrorCount() const { return m_errorCount; }
    int GetLineNumber() const { return m_lineNumber; }
    bool IsAborted() const { return m_abort; }
    const Pal::String& GetFileName() const { return m_fileName; }
    const Pal::String& GetWizName() const { return m_wizName; }

private:
    using LineBuffer = std::array<char, kMaxLineLength + 1>;

    // Like strtok: the next token of text (or, for null, of the current line)
    // up to delimiter or other (the same character for one delimiter), trimmed
    // of spaces and cut off with a zero byte in the work buffer. False when
    // only delimiters are left.
    bool NextToken(char* text, char delimiter, char other, std::string_view& token);
    // The value of a plain statement: the rest up to the next ";", trimmed of
    // spaces. False when it is missing.
    bool NextValue(std::string_view& value);
    // "TRUE" or "FALSE" (any letter case) into result; false (nothing
    // changed) for another word.
    static bool ParseBool(std::string_view value, bool& result);
    // The prefix test of a key against a keyword.
    static bool KeyIs(std::string_view key, std::string_view keyword);

    // NextValue, reporting a missing value.
    bool RequireValue(std::string_view& value);
    // A TRUE or FALSE value into flag; a missing or another value is reported.
    bool RequireBool(bool& flag);
    // Reads a section's statements until handle(key) returns false (at the
    // section's end keyword) or the error count reaches kErrorLimit. A line
    // without a key is an error.
    template <typename Handler>
    void ReadSection(Handler handle);

    // line is the caller's source line, which the report carries. (A builtin
    // rather than std::source_location: clang 14 with libstdc++ lacks that.)
    void IssueError(const Pal::String& text, int line = __builtin_LINE());
    // IssueError, counting the error.
    void IssueCountedError(const Pal::String& text, int line = __builtin_LINE());
    // An error formatted with the file name, the line number and the statement.
    void ErrorAtLine(const char* format, int line = __builtin_LINE());
    void ErrorInvalidValue(std::string_view value);
    void ErrorUnrecognized();
    bool AtErrorLimit() const { return m_errorCount >= kErrorLimit; }
    // The container's signal of the name, as GetNamedSignal finds it; through
    // m_signals while that is there.
    Olm_Signal* FindSignal(const Pal::String& name) const;

    bool m_abort = false;
    Pal::String m_fileName;
    LineBuffer m_lineCopy{};  // the current statement intact, for messages
    LineBuffer m_workCopy{};  // the same line, cut up by the tokenizer
    std::string m_readLine;   // the line as read, before trimming
    char* m_tokenPosition = nullptr;  // in m_workCopy; NextToken goes on from here
    int m_lineNumber = 0;
    int m_errorCount = 0;
    Pal::Stream* m_stream = nullptr;  // owned; closed by the destructor
    Pal::String m_wizName;
    Olm_WizData* m_wizData = nullptr;  // not owned
    // The container's signals by name while ReadWizData runs: a data file of
    // thousands of signals would otherwise walk the list once per signal.
    std::unique_ptr<Olm_NameLookup<Olm_Signal>> m_signals;
};
