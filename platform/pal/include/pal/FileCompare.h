#pragma once

#include "pal/PalExport.h"

#include <string>
#include <string_view>

namespace Pal {

// Tells whether a file already holds given bytes, so that a writer can leave
// a file that would not change alone: no write, no rename, the same
// modification time and inode, and nothing for a build tool to redo.
class PAL_API FileCompare {
public:
    enum class State {
        kSame,       // a regular file with exactly these bytes
        kDifferent,  // other bytes, or not a regular file, or it cannot be read
        kMissing,    // nothing is there (or a folder on the way is missing)
    };

    // Compares the file at path with bytes. Never blocks: a FIFO or device
    // is not read and counts as different. A file of another size is not
    // read unless current is given; current (when given) receives what a
    // readable regular file holds, and is emptied otherwise.
    static State Compare(const std::string& path, std::string_view bytes, std::string* current = nullptr);

    // Whether the file holds exactly these bytes (Compare gives kSame).
    static bool Holds(const std::string& path, std::string_view bytes) {
        return Compare(path, bytes) == State::kSame;
    }
};

}  // namespace Pal
