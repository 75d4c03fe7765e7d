#pragma once

#include "engine/Olm_KfzDesign.h"

#include <string>

// Converts a design to and from the text of a KFZ file (JSON; the format is
// described in docs/kfz-format.md). Private to the engine library.
class Olm_KfzJson {
public:
    static constexpr const char* kFormatName = "olm-kfz";
    static constexpr int kFormatVersion = 1;

    // The file text for the design. False, with the problem described, when
    // the design holds text that cannot be written (not valid UTF-8).
    static bool Write(const Olm_KfzDesign& design, std::string& text, std::string& problem);

    // The problem of a read that ran out of memory.
    static constexpr const char* kOutOfMemory = "not enough memory to read it";

    // Reads the file text into design (which should be empty). False, with
    // the problem described, when the text is not JSON, has a key twice in
    // one object, is not of this format and version, or not consistent, or
    // when memory ran out.
    static bool Read(const std::string& text, Olm_KfzDesign& design, std::string& problem);
};
