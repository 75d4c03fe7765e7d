#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// Helpers that make malformed inputs from valid ones, and inputs that are not
// files to read at all.
namespace badinput {

// What a case gives olmwiz: a file of the case's content, or a path that
// must be refused before anything is read.
enum class Kind {
    kContent,
    kMissing,       // nothing there
    kFolder,
    kFifo,          // a FIFO that nobody writes to: reading it would wait for ever
    kZero,       // /dev/zero: endless zero bytes
    kRandom,     // /dev/urandom: endless random bytes
    kOverLimit,  // a sparse file one byte over the reader's size limit
};

// The memory of an olmwiz run by a case marked lowMemory: twice what it
// needs to start and refuse an input.
inline constexpr std::uint64_t kLowMemory = 256ull << 20;

// Makes the input of a kind other than kContent at path (for a device,
// nothing) and returns the path to give olmwiz: path, or the device's.
std::string MakeInput(Kind kind, const std::filesystem::path& path, std::uint64_t sizeLimit);

// "(N bytes; the limit is L bytes)" of a refused kOverLimit file.
std::string OverLimitText(std::uint64_t sizeLimit);

// The line (from 1) on which the byte at offset pos of text stands.
int LineAt(const std::string& text, std::size_t pos);

// text with every line feed preceded by a carriage return.
std::string Crlf(const std::string& text);

// size pseudo-random bytes from seed, each byte of avoid replaced by 'x'.
std::string Garbage(std::size_t size, unsigned seed, const std::string& avoid = "");

// A folder of installed data files for OLMW_DATA_DIR: links to the real ones
// except olm_tkl.dev, which the caller places. Returns the folder.
std::filesystem::path DataFolderWithoutTkl(const std::filesystem::path& folder);

}  // namespace badinput
