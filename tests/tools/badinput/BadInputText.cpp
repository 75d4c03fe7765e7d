#include "BadInputText.h"

#include <algorithm>
#include <fstream>

#include <sys/stat.h>

namespace badinput {

int LineAt(const std::string& text, std::size_t pos) {
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(pos, text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

std::string Crlf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string Garbage(std::size_t size, unsigned seed, const std::string& avoid) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>((seed >> 16) & 0xff);
        if (avoid.find(c) != std::string::npos) c = 'x';
    }
    return bytes;
}

std::filesystem::path DataFolderWithoutTkl(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const auto& entry : std::filesystem::directory_iterator(OLM_DATA_DIR)) {
        const auto name = entry.path().filename();
        if (name != "olm_tkl.dev") std::filesystem::create_symlink(entry.path(), folder / name);
    }
    return folder;
}

std::string MakeInput(Kind kind, const std::filesystem::path& path, std::uint64_t sizeLimit) {
    switch (kind) {
    case Kind::kZero:
        return "/dev/zero";
    case Kind::kRandom:
        return "/dev/urandom";
    case Kind::kFolder:
        std::filesystem::create_directories(path / "inner");
        break;
    case Kind::kFifo:
        ::mkfifo(path.c_str(), 0600);
        break;
    case Kind::kOverLimit:
        std::ofstream(path, std::ios::binary).close();
        std::filesystem::resize_file(path, sizeLimit + 1);  // a hole: no disk space is used
        break;
    default:
        break;
    }
    return path.string();
}

std::string OverLimitText(std::uint64_t sizeLimit) {
    return "(" + std::to_string(sizeLimit + 1) + " bytes; the limit is " + std::to_string(sizeLimit) + " bytes)";
}

}  // namespace badinput
