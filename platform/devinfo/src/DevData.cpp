#include "devinfo/DevData.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>
#include <system_error>

#ifndef DEVINFO_DATA_REL_DIR
#error "DEVINFO_DATA_REL_DIR must give the data folder relative to the library folder"
#endif

namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

// Every path handed out, kept for the life of the process: callers keep the
// pointers without freeing them, and a path asked for again is not stored twice.
std::set<std::string>& Interned() {
    static std::set<std::string>* paths = new std::set<std::string>();  // never destroyed: pointers outlive static destruction
    return *paths;
}

char* Intern(const std::string& text) {
    std::lock_guard<std::mutex> guard(Lock());
    const auto it = Interned().insert(text).first;
    return const_cast<char*>(it->c_str());
}

// The installation's data folder, found from the location of this library.
std::string InstalledDataDir() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&InstalledDataDir), &info) == 0 || !info.dli_fname) return {};
    std::error_code ec;
    std::filesystem::path library = std::filesystem::canonical(info.dli_fname, ec);
    if (ec) library = std::filesystem::absolute(info.dli_fname, ec);
    if (ec) return {};
    const std::filesystem::path dir = (library.parent_path() / DEVINFO_DATA_REL_DIR).lexically_normal();
    std::string text = dir.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string DataDir() {
    if (const char* env = std::getenv("OLMW_DATA_DIR"); env && *env) {
        std::string text = env;
        while (text.size() > 1 && text.back() == '/') text.pop_back();
        return text;
    }
    static const std::string installed = InstalledDataDir();
    return installed;
}

// The folders of OLMW_DATA_PATH (colon-separated; empty entries are skipped),
// searched before the data folder.
std::vector<std::string> PathFolders() {
    std::vector<std::string> folders;
    const char* env = std::getenv("OLMW_DATA_PATH");
    if (!env) return folders;
    const std::string text = env;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(':', start);
        if (end == std::string::npos) end = text.size();
        std::string folder = text.substr(start, end - start);
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        if (!folder.empty()) folders.push_back(folder);
        start = end + 1;
    }
    return folders;
}

}  // namespace

DevSpec::~DevSpec() = default;

char* DevSpec::getdatafilename(char /*kind*/, const char* fileName, unsigned char /*installed*/, int /*index*/) {
    if (!fileName || !*fileName) return nullptr;
    for (const std::string& dir : getdatafolders()) {
        const std::filesystem::path path = std::filesystem::path(dir) / fileName;
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) return Intern(path.string());
    }
    return nullptr;
}

const char* DevSpec::getdatadir() { return Intern(DataDir()); }

std::vector<std::string> DevSpec::getdatafolders() {
    std::vector<std::string> folders = PathFolders();
    if (std::string dir = DataDir(); !dir.empty()) folders.push_back(std::move(dir));
    return folders;
}
