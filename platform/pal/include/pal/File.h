#pragma once

#include "pal/PalExport.h"
#include "pal/String.h"

namespace Pal {

class Stream;

// Files, the working directory and standard output.
class PAL_API File {
public:
    static constexpr int kRead = 1;
    static constexpr int kWriteTruncate = 2;

    // Opens a file. access 1 reads, access 2 writes (truncating or creating it).
    // flag asks for text mode; on this platform text and binary are the same.
    // Returns a stream the caller releases with close(), or null.
    static Stream* open(const char* path, int access, bool flag);
    // Closes and deletes a stream from open(); a null stream is ignored.
    // Returns false when pending output could not be written.
    static bool close(Stream* stream);
    static String getcwd();
    // The standard-output stream; every write reaches standard output at once.
    static Stream* getCout();
};

}  // namespace Pal
