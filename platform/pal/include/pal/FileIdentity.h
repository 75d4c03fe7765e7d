#pragma once

#include "pal/PalExport.h"

#include <cstdint>
#include <string>

namespace Pal {

// Which file a path names, however it is spelt: two paths name the same file
// when their identities are equal. An existing file is its device and inode
// after following every link; a file that does not exist yet is the device
// and inode of its nearest existing folder (links followed) and the rest of
// the path below it, so that "out/x" and "link-to-out/x" are one file before
// either is written.
class PAL_API FileIdentity {
public:
    FileIdentity() = default;
    // The identity of the path; an empty path gives an empty identity.
    static FileIdentity Of(const std::string& path);

    bool IsEmpty() const { return m_empty; }
    // Whether the file exists (else its identity is that of a folder and a name).
    bool Exists() const { return m_rest.empty() && !m_empty; }
    bool operator==(const FileIdentity& other) const = default;

private:
    bool m_empty = true;
    std::uint64_t m_device = 0;
    std::uint64_t m_inode = 0;
    std::string m_rest;  // the part of the path below the nearest existing folder
};

}  // namespace Pal
