#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file that a fuzz target rewrites with every input, for the readers that
// take a path. It lies in /dev/shm when that is writable (no disk traffic),
// else in $TMPDIR or /tmp, under a name unique to the process, and is removed
// when the object is destroyed.
class FuzzScratchFile {
public:
    // suffix ends the file name (for example ".kfz").
    explicit FuzzScratchFile(const char* suffix);
    FuzzScratchFile(const FuzzScratchFile&) = delete;
    FuzzScratchFile& operator=(const FuzzScratchFile&) = delete;
    ~FuzzScratchFile();

    // Replaces the file's contents with the bytes; aborts when that fails,
    // since every later input would test nothing.
    void Write(const std::uint8_t* data, std::size_t size);
    // The file's contents as they are now (empty when it cannot be read).
    std::string Contents() const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
