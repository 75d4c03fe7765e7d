#include "pal/OutputFile.h"

#include "FileKind.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Pal {

namespace {

// The temporary files: hidden, named after the target, ending in the six
// letters and digits mkstemp fills in.
constexpr std::string_view kTempInfix = ".tmp";
constexpr std::size_t kTempRandomChars = 6;
// Output is handed to the system in pieces of this size.
constexpr std::size_t kBufferBytes = 64 * 1024;

// Paths that name open descriptors or kernel files rather than files of a
// folder: written straight, never replaced.
bool IsPseudoPath(const std::string& path) {
    for (const char* prefix : {"/dev/", "/proc/"}) {
        if (path.starts_with(prefix)) return true;
    }
    return false;
}

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

void CloseQuietly(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

OutputFile::OutputFile(std::string path) : m_path(std::move(path)) {}

OutputFile::~OutputFile() {
    if (m_open && !m_committed) Discard();
    CloseFiles();
}

bool OutputFile::Fail(const std::string& reason) {
    if (m_reason.empty()) m_reason = reason.empty() ? std::string("unknown error") : reason;
    return false;
}

bool OutputFile::FailErrno(const char* what, int error) {
    std::string text = what ? std::string(what) : std::string();
    return Fail(text + std::strerror(error));
}

void OutputFile::CloseFiles() {
    CloseQuietly(m_fd);
    CloseQuietly(m_lock);
}

bool OutputFile::Open() {
    if (m_open) return Fail("it is open already");
    if (m_path.empty()) return Fail("no file name given");
    struct stat status {};
    const bool exists = ::stat(m_path.c_str(), &status) == 0;
    if (!exists && errno != ENOENT) return FailErrno("", errno);

    if (exists && !S_ISREG(status.st_mode)) {
        m_straight = true;
        if (S_ISFIFO(status.st_mode)) {
            // Without O_NONBLOCK the open would wait for a reader for ever.
            m_fd = OpenRetrying(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (m_fd < 0) return errno == ENXIO ? Fail("it is a FIFO that nobody reads from") : FailErrno("", errno);
            if (const int flags = ::fcntl(m_fd, F_GETFL); flags >= 0) ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK);
        } else if (S_ISCHR(status.st_mode)) {
            m_fd = OpenRetrying(m_path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
            if (m_fd < 0) return FailErrno("", errno);
        } else {
            return Fail(std::string("it is ") + KindOf(status.st_mode));
        }
        m_open = true;
        return true;
    }
    if (exists && IsPseudoPath(m_path)) {
        // /dev/stdout redirected to a file: the file the descriptor has, as it is.
        m_straight = true;
        m_fd = OpenRetrying(m_path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (m_fd < 0) return FailErrno("", errno);
        m_open = true;
        return true;
    }

    // A regular file, or a name still free: written beside it and renamed.
    m_target = m_path;
    mode_t mode = 0;
    if (exists) {
        struct stat link {};
        if (::lstat(m_path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(m_path.c_str(), nullptr), &std::free);
            if (!resolved) return FailErrno("", errno);
            m_target = resolved.get();
        }
        mode = status.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const std::filesystem::path target(m_target);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..") return Fail("it names a folder");
    m_temporary = (folder / TemporaryTemplate(name)).string();
    m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
    if (m_fd < 0) {
        const int error = errno;
        m_temporary.clear();
        return error == ENOENT ? Fail("its folder does not exist") : FailErrno("cannot create a file beside it: ", error);
    }
    m_open = true;
    // The temporary file stays locked until it is renamed or removed, through
    // a second descriptor: a writer of the same target elsewhere then leaves
    // it alone (RemoveStaleTemporaries). A lock that cannot be taken only
    // means that no other writer removes the file.
    m_lock = ::dup(m_fd);
    if (m_lock >= 0) ::flock(m_lock, LOCK_EX | LOCK_NB);
    if (::fchmod(m_fd, mode) != 0) {
        FailErrno("cannot set its permissions: ", errno);
        Discard();
        return false;
    }
    return true;
}

bool OutputFile::Drain() {
    std::size_t done = 0;
    while (done < m_buffer.size() && m_reason.empty()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FailErrno("", errno);
        if (n == 0) return Fail("nothing could be written");
        done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
    return m_reason.empty();
}

bool OutputFile::Write(const char* data, std::size_t size) {
    if (!m_open || m_committed) return Fail("it is not open");
    if (!m_reason.empty()) return false;
    m_buffer.append(data, size);
    // A terminal or a FIFO shows each write as it comes.
    return (!m_straight && m_buffer.size() < kBufferBytes) || Drain();
}

void OutputFile::Flush() {
    if (m_open && !m_committed && m_reason.empty()) Drain();
}

bool OutputFile::ReadLine(std::string& line) {
    line.clear();
    return false;
}

bool OutputFile::ReadPiece(std::string& piece, std::size_t) {
    piece.clear();
    return false;
}

bool OutputFile::Commit() {
    if (!m_open || m_committed) return Fail("it is not open");
    if (m_reason.empty()) Drain();
    if (m_reason.empty() && m_flushToDisk && !m_straight && ::fsync(m_fd) != 0) FailErrno("", errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) FailErrno("", errno);
    if (!m_reason.empty()) {
        Discard();
        return false;
    }
    m_committed = true;
    if (m_straight) return true;
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        m_committed = false;
        FailErrno("cannot be put in place: ", errno);
        Discard();
        return false;
    }
    CloseQuietly(m_lock);
    m_temporary.clear();
    std::filesystem::path folder = std::filesystem::path(m_target).parent_path();
    if (folder.empty()) folder = ".";
    if (m_flushToDisk) {
        const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            ::fsync(dirFd);
            ::close(dirFd);
        }
    }
    RemoveStaleTemporaries(folder.string(), std::filesystem::path(m_target).filename().string());
    return true;
}

void OutputFile::Discard() {
    if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
    m_temporary.clear();
    m_buffer.clear();
    CloseFiles();
    m_open = false;
}

bool OutputFile::WriteWhole(const std::string& path, const std::string& text, std::string& reason) {
    OutputFile file(path);
    const bool ok = file.Open() && file.Write(text) && file.Commit();
    reason = file.Reason();
    return ok;
}

std::string OutputFile::TemporaryTemplate(const std::string& targetName) {
    return "." + targetName + std::string(kTempInfix) + std::string(kTempRandomChars, 'X');
}

bool OutputFile::IsTemporaryOf(const std::string& fileName, const std::string& targetName) {
    std::string_view name(fileName);
    if (name.size() != 1 + targetName.size() + kTempInfix.size() + kTempRandomChars || name.front() != '.') {
        return false;
    }
    name.remove_prefix(1);
    if (!name.starts_with(targetName)) return false;
    name.remove_prefix(targetName.size());
    if (!name.starts_with(kTempInfix)) return false;
    name.remove_prefix(kTempInfix.size());
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

void OutputFile::RemoveStaleTemporaries(const std::string& folder, const std::string& targetName) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
    if (!dir) return;
    const int dirFd = ::dirfd(dir.get());
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsTemporaryOf(entry->d_name, targetName)) stale.emplace_back(entry->d_name);
    }
    for (const std::string& name : stale) {
        int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        struct stat status {};
        if (fd >= 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, name.c_str(), 0);  // no writer in progress holds it
        CloseQuietly(fd);
    }
}

}  // namespace Pal
