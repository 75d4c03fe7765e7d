#include "FuzzScratchFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

std::string ScratchFolder() {
    if (::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

}  // namespace

FuzzScratchFile::FuzzScratchFile(const char* suffix) {
    std::string pattern = ScratchFolder() + "/olm-fuzz-XXXXXX" + suffix;
    const int fd = ::mkstemps(pattern.data(), static_cast<int>(std::string(suffix).size()));
    if (fd < 0) {
        std::perror("olm fuzz: cannot create a scratch file");
        std::abort();
    }
    ::close(fd);
    m_path = pattern;
}

FuzzScratchFile::~FuzzScratchFile() { ::unlink(m_path.c_str()); }

void FuzzScratchFile::Write(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(m_path.c_str(), "wb");
    const bool ok = file && (size == 0 || std::fwrite(data, 1, size, file) == size);
    if (!file || std::fclose(file) != 0 || !ok) {
        std::perror("olm fuzz: cannot write the scratch file");
        std::abort();
    }
}

std::string FuzzScratchFile::Contents() const {
    std::ifstream in(m_path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
