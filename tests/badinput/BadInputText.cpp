#include "BadInputText.h"

#include <algorithm>

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

}  // namespace badinput
