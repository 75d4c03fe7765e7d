#pragma once

#include "pal/PalExport.h"
#include "pal/String.h"

#include <cstdint>
#include <string>

namespace Pal {

class Stream;

// Why openInput or readInput refused a file.
struct PAL_API InputCheck {
    enum class Problem {
        kNone,        // the file was opened (and read)
        kCannotOpen,  // it does not exist, may not be read, ...: see error
        kNotRegular,  // a folder, FIFO, device or socket: see kind
        kTooLarge,    // larger than the caller's limit: see size and limit
        kReadError,   // readInput only: reading failed part way: see error
        kNoData,      // openInputOrPipe: nothing came through the FIFO for kPipeWaitMs
    };
    Problem problem = Problem::kNone;
    int error = 0;            // the errno of kCannotOpen and kReadError
    const char* kind = "";    // kNotRegular: "a folder", "a FIFO", "a character device", ...
    std::uint64_t size = 0;   // the size found (kNone, kTooLarge)
    std::uint64_t limit = 0;  // kTooLarge: the limit it is over
};

// Files, the working directory and standard output.
class PAL_API File {
public:
    static constexpr int kRead = 1;
    static constexpr int kWriteTruncate = 2;
    static constexpr std::uint64_t kNoLimit = UINT64_MAX;

    // Opens a file. access 1 reads, access 2 writes (truncating or creating it).
    // flag asks for text mode; on this platform text and binary are the same.
    // Reading takes regular files only (as openInput without a size limit).
    // Returns a stream the caller releases with close(), or null.
    static Stream* open(const char* path, int access, bool flag);
    // Closes and deletes a stream from open(); a null stream is ignored.
    // Returns false when pending output could not be written.
    static bool close(Stream* stream);
    static String getcwd();
    // The standard-output stream; every write reaches standard output at once.
    static Stream* getCout();

    // Opens a file given by a user or installed, for reading: only a regular
    // file of at most maxBytes bytes. Never blocks: the file is opened
    // without waiting (a FIFO that nobody writes to opens at once) and its
    // kind and size are checked on the opened descriptor, so that nothing can
    // swap the file between the check and the reading. Returns a stream the
    // caller releases with close(), or null with check saying why.
    static Stream* openInput(const char* path, std::uint64_t maxBytes, InputCheck& check);
    // The same check, then the whole file into content. A file that grows
    // past maxBytes while it is read counts as too large.
    static bool readInput(const char* path, std::uint64_t maxBytes, std::string& content, InputCheck& check);
    // As openInput, and a FIFO too (the read end of `<(command)` in a
    // shell): it is read whole at once, up to maxBytes, waiting at most
    // kPipeWaitMs for each piece (so a FIFO that nobody writes to is refused
    // in seconds, not waited on for ever), and handed back from memory. A FIFO
    // can be read only once: opening it again in this process gives the same
    // content again. Devices, folders and sockets stay refused.
    static Stream* openInputOrPipe(const char* path, std::uint64_t maxBytes, InputCheck& check);
    static constexpr int kPipeWaitMs = 3000;
    // Writes text to a file as it is (creating or truncating it); false when
    // it could not be written whole.
    static bool writeText(const char* path, const std::string& text);
};

}  // namespace Pal
