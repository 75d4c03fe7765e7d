#pragma once

#include "pal/PalExport.h"
#include "pal/Stream.h"

#include <cstddef>
#include <string>

namespace Pal {

// One output file, written whole or not at all.
//
// A regular file (or a name that does not exist yet) is written beside
// itself, into a temporary file of the same folder that is created
// exclusively under an unpredictable name (so no planted file or link is
// followed), and renamed over the path by Commit(): until then the old file
// stays as it was, and a failure leaves it so. The new file keeps the
// permissions of the file it replaces (a new file gets 0666 less the umask).
// A path that is a symbolic link to a regular file replaces the file the link
// names and keeps the link.
//
// A FIFO, a character device (a terminal, /dev/null, /dev/full) and any path
// under /dev/ or /proc/ (/dev/stdout names an open descriptor) are written
// straight, never replaced. A FIFO is opened without waiting: one that nobody
// reads from is refused at once. Folders, block devices and sockets are
// refused.
//
// Every failure, from the opening to the close and the rename, is kept with
// the system's reason (Reason()); nothing is reported as written that was not.
// The object is a Stream for callers that write a log over a whole run.
// Destroying it without Commit() removes the temporary file.
class PAL_API OutputFile : public Stream {
public:
    explicit OutputFile(std::string path);
    ~OutputFile() override;

    // Opens the file for writing; false with Reason() when it cannot be.
    bool Open();
    // Appends bytes; false once any write has failed (the first failure's
    // reason is kept).
    bool Write(const char* data, std::size_t size) override;
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Writes everything out, closes the file and (for a regular file) renames
    // it over the path. False with Reason() on any failure; then the path is
    // unchanged and the temporary file is gone. Committing twice is false.
    bool Commit();
    // Drops what was written: the temporary file goes, the path is unchanged.
    void Discard();
    // Asks Commit() to flush the file and its folder to disk (off by default).
    void SetFlushToDisk(bool flush) { m_flushToDisk = flush; }

    bool IsGood() const override { return m_reason.empty(); }
    void Flush() override;
    bool ReadLine(std::string& line) override;
    bool ReadPiece(std::string& piece, std::size_t maxChars) override;

    const std::string& Path() const { return m_path; }
    // Why the file could not be written, for example "No space left on
    // device" or "it is a FIFO that nobody reads from"; empty while all is well.
    const std::string& Reason() const { return m_reason; }
    // Whether the path is written straight rather than replaced.
    bool IsStraight() const { return m_straight; }

    // Writes text to path as above; false with reason.
    static bool WriteWhole(const std::string& path, const std::string& text, std::string& reason);
    // The mkstemp template of a temporary file of a target name
    // (".NAME.tmpXXXXXX"), beside the target.
    static std::string TemporaryTemplate(const std::string& targetName);
    // Whether a file name is one of the temporary files of a target name.
    static bool IsTemporaryOf(const std::string& name, const std::string& targetName);
    // Removes the temporary files of the target that were left by writers
    // killed before they could rename or remove them: only regular files of
    // the temporary-name pattern that no writer in progress holds locked.
    static void RemoveStaleTemporaries(const std::string& folder, const std::string& targetName);

private:
    bool Fail(const std::string& reason);
    bool FailErrno(const char* what, int error);
    bool Drain();
    void CloseFiles();

    std::string m_path;
    std::string m_target;     // the regular file that is replaced
    std::string m_temporary;  // the file written, renamed to m_target
    std::string m_buffer;
    std::string m_reason;
    int m_fd = -1;
    int m_lock = -1;  // a second descriptor of the temporary file, locked
    bool m_open = false;
    bool m_straight = false;
    bool m_committed = false;
    bool m_flushToDisk = false;
};

}  // namespace Pal
