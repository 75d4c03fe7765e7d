#pragma once

#include "pal/PalExport.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace Pal {

// A byte stream that can be written line by line and read line by line.
// Concrete streams: FileStream (a file or standard output) and MemoryStream.
class PAL_API Stream {
public:
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    virtual ~Stream();

    // Writes the text and a line end.
    bool writeline(const char* text);
    // Writes the text alone.
    Stream& operator<<(const char* text);

    virtual bool Write(const char* data, std::size_t size) = 0;
    // Reads the next line with its line end (if the input has one).
    // False when nothing is left; std::bad_alloc when the line does not fit
    // in memory.
    virtual bool ReadLine(std::string& line) = 0;
    // Reads at most maxChars characters of the next line, stopping after a
    // line end; a longer line comes back in several pieces, only the last of
    // which carries the line end. False when nothing is left.
    virtual bool ReadPiece(std::string& piece, std::size_t maxChars) = 0;
    virtual void Flush() {}
    // False once a write has failed.
    virtual bool IsGood() const { return true; }
};

// A stream on a C file. Owns the file unless told otherwise.
class PAL_API FileStream : public Stream {
public:
    FileStream(std::FILE* file, bool owned, bool flushEachWrite);
    ~FileStream() override;

    bool Write(const char* data, std::size_t size) override;
    bool ReadLine(std::string& line) override;
    bool ReadPiece(std::string& piece, std::size_t maxChars) override;
    void Flush() override;
    bool IsGood() const override { return m_good; }
    // Closes the file now; returns false when pending output could not be written.
    bool Close();

private:
    std::FILE* m_file;
    bool m_owned;
    bool m_flushEachWrite;
    bool m_good = true;
    // ReadLine's buffer, allocated and grown by getline, hence freed with free.
    struct FreeBuffer {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, FreeBuffer> m_readBuffer;
    std::size_t m_readCapacity = 0;
};

// A stream held in memory: what is written can be read back, and the whole
// text is available. Used for log streams and in tests.
class PAL_API MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string text) : m_text(std::move(text)) {}

    bool Write(const char* data, std::size_t size) override;
    bool ReadLine(std::string& line) override;
    bool ReadPiece(std::string& piece, std::size_t maxChars) override;

    const std::string& Text() const { return m_text; }
    void Clear() { m_text.clear(); m_readPos = 0; }

private:
    std::string m_text;
    std::size_t m_readPos = 0;
};

}  // namespace Pal
