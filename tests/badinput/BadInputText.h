#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// Helpers that make malformed inputs from valid ones.
namespace badinput {

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
