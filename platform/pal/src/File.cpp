#include "pal/File.h"

#include "FileKind.h"

#include <fstream>

#include "pal/Stream.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <utility>
#include <vector>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Pal {

namespace {

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(other.Release()) {}
    Descriptor& operator=(Descriptor&&) = delete;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

// A regular file of at most maxBytes bytes; otherwise false with check filled.
bool Acceptable(const struct stat& status, std::uint64_t maxBytes, InputCheck& check) {
    if (!S_ISREG(status.st_mode)) {
        check.problem = InputCheck::Problem::kNotRegular;
        check.kind = KindOf(status.st_mode);
        return false;
    }
    check.size = static_cast<std::uint64_t>(status.st_size);
    if (check.size > maxBytes) {
        check.problem = InputCheck::Problem::kTooLarge;
        check.limit = maxBytes;
        return false;
    }
    return true;
}

Descriptor OpenChecked(const char* path, std::uint64_t maxBytes, InputCheck& check) {
    check = InputCheck{};
    if (!path || !*path) {
        check.problem = InputCheck::Problem::kCannotOpen;
        check.error = ENOENT;
        return {};
    }
    // A look at the path first keeps a folder, FIFO or device from being
    // opened at all (opening some devices has effects of its own). The check
    // that counts is the one on the opened descriptor below: the path may
    // name another file by then.
    struct stat status {};
    if (::stat(path, &status) == 0 && !Acceptable(status, maxBytes, check)) return {};
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer.
    int fd = -1;
    do {
        fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        check.problem = InputCheck::Problem::kCannotOpen;
        check.error = errno;
        return {};
    }
    Descriptor file(fd);
    if (::fstat(fd, &status) != 0) {
        check.problem = InputCheck::Problem::kCannotOpen;
        check.error = errno;
        return {};
    }
    if (!Acceptable(status, maxBytes, check)) return {};
    // Reading a regular file never waits; the flag goes so that the file
    // behaves like any other once handed on.
    if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return file;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

Stream* File::open(const char* path, int access, bool /*flag*/) {
    if (!path || !*path) return nullptr;
    if (access == kRead) {
        InputCheck check;
        return openInput(path, kNoLimit, check);
    }
    if (access != kWriteTruncate) return nullptr;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return nullptr;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "wb"));
    if (!file) return nullptr;
    auto* stream = new FileStream(file.get(), true, false);
    file.release();  // the stream owns it now
    return stream;
}

Stream* File::openInput(const char* path, std::uint64_t maxBytes, InputCheck& check) {
    Descriptor fd = OpenChecked(path, maxBytes, check);
    if (!fd.IsOpen()) return nullptr;
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(fd.Get(), "rb"));
    if (!file) {
        check.problem = InputCheck::Problem::kCannotOpen;
        check.error = errno;
        return nullptr;
    }
    fd.Release();  // the FILE owns it now
    auto* stream = new FileStream(file.get(), true, false);
    file.release();  // the stream owns it now
    return stream;
}

bool File::readInput(const char* path, std::uint64_t maxBytes, std::string& content, InputCheck& check) {
    content.clear();
    const Descriptor fd = OpenChecked(path, maxBytes, check);
    if (!fd.IsOpen()) return false;
    // One byte more than the file's size finds its end with the first read;
    // a file that grows while it is read is read on in pieces, up to the limit.
    constexpr std::size_t kPiece = 64 * 1024;
    content.resize(static_cast<std::size_t>(check.size) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) content.resize(used + kPiece);
        const ssize_t n = ::read(fd.Get(), content.data() + used, content.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            check.problem = InputCheck::Problem::kReadError;
            check.error = errno;
            content = std::string();
            return false;
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
        if (used > maxBytes) {
            check.problem = InputCheck::Problem::kTooLarge;
            check.size = used;
            check.limit = maxBytes;
            content = std::string();
            return false;
        }
    }
    content.resize(used);
    check.size = used;
    return true;
}

namespace {

// Reads a FIFO whole, waiting at most waitMs for each piece; false with
// check saying why not.
bool ReadFifo(const char* path, std::uint64_t maxBytes, int waitMs, std::string& content, InputCheck& check) {
    int fd = -1;
    do {
        fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        check.problem = InputCheck::Problem::kCannotOpen;
        check.error = errno;
        return false;
    }
    const Descriptor file(fd);
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISFIFO(status.st_mode)) {
        check.problem = InputCheck::Problem::kNotRegular;
        check.kind = "a special file";
        return false;
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, waitMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {  // 0: no writer, or one that writes nothing
            check.problem = ready == 0 ? InputCheck::Problem::kNoData : InputCheck::Problem::kReadError;
            check.error = ready == 0 ? 0 : errno;
            return false;
        }
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) {
            check.problem = InputCheck::Problem::kReadError;
            check.error = errno;
            return false;
        }
        if (n == 0) break;  // every writer has closed it
        content.append(buffer.data(), static_cast<std::size_t>(n));
        if (content.size() > maxBytes) {
            check.problem = InputCheck::Problem::kTooLarge;
            check.size = content.size();
            check.limit = maxBytes;
            return false;
        }
    }
    check.size = content.size();
    return true;
}

}  // namespace

Stream* File::openInputOrPipe(const char* path, std::uint64_t maxBytes, InputCheck& check) {
    check = InputCheck{};
    struct stat status {};
    if (!path || ::stat(path, &status) != 0 || !S_ISFIFO(status.st_mode)) return openInput(path, maxBytes, check);
    // What came through each FIFO, by device and inode: a second reader of
    // the same path (a check before the reading proper) sees it again, and a
    // FIFO refused once is refused again at once, for the same reason.
    static std::mutex mutex;
    static std::map<std::pair<std::uint64_t, std::uint64_t>, std::pair<std::string, InputCheck>> seen;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto key = std::make_pair(static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino));
    auto it = seen.find(key);
    if (it == seen.end()) {
        std::string content;
        InputCheck result;
        if (!ReadFifo(path, maxBytes, kPipeWaitMs, content, result)) content.clear();
        it = seen.emplace(key, std::make_pair(std::move(content), result)).first;
    }
    check = it->second.second;
    if (check.problem != InputCheck::Problem::kNone) return nullptr;
    return new MemoryStream(it->second.first);
}

bool File::writeText(const char* path, const std::string& text) {
    std::ofstream out(path ? path : "", std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return !out.fail();
}

bool File::close(Stream* stream) {
    if (!stream) return true;
    bool ok = stream->IsGood();
    if (auto* file = dynamic_cast<FileStream*>(stream)) ok = file->Close() && ok;
    delete stream;
    return ok;
}

String File::getcwd() {
    std::error_code ec;
    const auto path = std::filesystem::current_path(ec);
    return ec ? String() : String(path.string());
}

Stream* File::getCout() {
    static FileStream cout(stdout, false, true);
    return &cout;
}

}  // namespace Pal
