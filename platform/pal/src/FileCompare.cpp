#include "pal/FileCompare.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Pal {

namespace {

class ReadOnlyFd {
public:
    explicit ReadOnlyFd(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~ReadOnlyFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    ReadOnlyFd(const ReadOnlyFd&) = delete;
    ReadOnlyFd& operator=(const ReadOnlyFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Reads up to size bytes; fewer only at the end of the file. -1 on an error.
ssize_t ReadFully(int fd, char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

FileCompare::State FileCompare::Compare(const std::string& path, std::string_view bytes, std::string* current) {
    if (current) current->clear();
    const ReadOnlyFd fd(path);
    if (fd.Get() < 0) return errno == ENOENT || errno == ENOTDIR ? State::kMissing : State::kDifferent;
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return State::kDifferent;
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (current) {
        std::string text;
        text.resize(static_cast<std::size_t>(size));
        const ssize_t n = ReadFully(fd.Get(), text.data(), text.size());
        if (n < 0) return State::kDifferent;
        text.resize(static_cast<std::size_t>(n));
        // A file that grew while it was read: the rest too.
        for (char more[4096]; true;) {
            const ssize_t extra = ReadFully(fd.Get(), more, sizeof more);
            if (extra < 0) return State::kDifferent;
            text.append(more, static_cast<std::size_t>(extra));
            if (static_cast<std::size_t>(extra) < sizeof more) break;
        }
        *current = std::move(text);
        return *current == bytes ? State::kSame : State::kDifferent;
    }
    if (size != bytes.size()) return State::kDifferent;
    std::vector<char> chunk(64 * 1024);
    std::size_t offset = 0;
    while (true) {
        const ssize_t n = ReadFully(fd.Get(), chunk.data(), chunk.size());
        if (n < 0) return State::kDifferent;
        const auto got = static_cast<std::size_t>(n);
        if (got > bytes.size() - offset) return State::kDifferent;  // it grew
        if (std::memcmp(chunk.data(), bytes.data() + offset, got) != 0) return State::kDifferent;
        offset += got;
        if (got < chunk.size()) break;
    }
    return offset == bytes.size() ? State::kSame : State::kDifferent;
}

}  // namespace Pal
