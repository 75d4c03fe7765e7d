#include "pal/Stream.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <sys/types.h>

namespace Pal {

Stream::~Stream() = default;

bool Stream::writeline(const char* text) {
    bool ok = true;
    if (text) ok = Write(text, std::strlen(text));
    return Write("\n", 1) && ok;
}

Stream& Stream::operator<<(const char* text) {
    if (text) Write(text, std::strlen(text));
    return *this;
}

FileStream::FileStream(std::FILE* file, bool owned, bool flushEachWrite)
    : m_file(file), m_owned(owned), m_flushEachWrite(flushEachWrite) {}

FileStream::~FileStream() { Close(); }

bool FileStream::Close() {
    if (!m_file) return m_good;
    if (m_owned) {
        if (std::fclose(m_file) != 0) m_good = false;
    } else if (std::fflush(m_file) != 0) {
        m_good = false;
    }
    m_file = nullptr;
    return m_good;
}

bool FileStream::Write(const char* data, std::size_t size) {
    if (!m_file) return false;
    if (size && std::fwrite(data, 1, size, m_file) != size) m_good = false;
    if (m_flushEachWrite && std::fflush(m_file) != 0) m_good = false;
    return m_good;
}

bool FileStream::ReadLine(std::string& line) {
    line.clear();
    if (!m_file) return false;
    // getline reads through the stdio buffer a line at a time (zero bytes
    // included) rather than a call per character; the read buffer is kept
    // for the next line. -1 means nothing was left to read.
    char* buffer = m_readBuffer.release();  // getline may free or move it
    errno = 0;
    const ssize_t n = ::getline(&buffer, &m_readCapacity, m_file);
    m_readBuffer.reset(buffer);
    // A line that does not fit in memory is not the end of the input.
    if (n < 0 && errno == ENOMEM) throw std::bad_alloc();
    if (n <= 0) return false;
    line.assign(buffer, static_cast<std::size_t>(n));
    return true;
}

bool FileStream::ReadPiece(std::string& piece, std::size_t maxChars) {
    piece.clear();
    if (!m_file || maxChars == 0) return false;
    int c;
    while (piece.size() < maxChars && (c = std::fgetc(m_file)) != EOF) {
        piece.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    return !piece.empty();
}

void FileStream::Flush() {
    if (m_file && std::fflush(m_file) != 0) m_good = false;
}

bool MemoryStream::Write(const char* data, std::size_t size) {
    m_text.append(data, size);
    return true;
}

bool MemoryStream::ReadLine(std::string& line) {
    line.clear();
    if (m_readPos >= m_text.size()) return false;
    const std::size_t end = m_text.find('\n', m_readPos);
    const std::size_t stop = end == std::string::npos ? m_text.size() : end + 1;
    line.assign(m_text, m_readPos, stop - m_readPos);
    m_readPos = stop;
    return true;
}

bool MemoryStream::ReadPiece(std::string& piece, std::size_t maxChars) {
    piece.clear();
    if (m_readPos >= m_text.size() || maxChars == 0) return false;
    const std::size_t end = m_text.find('\n', m_readPos);
    std::size_t stop = end == std::string::npos ? m_text.size() : end + 1;
    if (stop - m_readPos > maxChars) stop = m_readPos + maxChars;
    piece.assign(m_text, m_readPos, stop - m_readPos);
    m_readPos = stop;
    return true;
}

}  // namespace Pal
