#pragma once

// What a run did, or would do, to one of its files.
enum class Olm_FileState {
    kWritten,    // written (created or replaced)
    kUnchanged,  // already held exactly these bytes: left alone, its time and inode kept
    kNew,        // a check only: it is not there, a run would create it
    kChanged,    // a check only: it holds other bytes, a run would replace it
};

// "written", "unchanged", "new" or "changed".
inline const char* Olm_FileStateName(Olm_FileState state) {
    switch (state) {
    case Olm_FileState::kWritten: return "written";
    case Olm_FileState::kUnchanged: return "unchanged";
    case Olm_FileState::kNew: return "new";
    case Olm_FileState::kChanged: return "changed";
    }
    return "written";
}
