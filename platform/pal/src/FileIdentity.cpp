#include "pal/FileIdentity.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace Pal {

FileIdentity FileIdentity::Of(const std::string& path) {
    FileIdentity identity;
    if (path.empty()) return identity;
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::absolute(path, ec).lexically_normal();
    if (ec) folder = path;
    if (folder.has_filename() == false && folder.has_parent_path() && folder != folder.root_path())
        folder = folder.parent_path();  // "dir/" names dir
    std::filesystem::path rest;
    for (;;) {
        struct stat status {};
        if (::stat(folder.c_str(), &status) == 0) {
            identity.m_empty = false;
            identity.m_device = static_cast<std::uint64_t>(status.st_dev);
            identity.m_inode = static_cast<std::uint64_t>(status.st_ino);
            identity.m_rest = rest.string();
            return identity;
        }
        if (!folder.has_relative_path()) return identity;  // not even the root: nothing to compare
        rest = rest.empty() ? folder.filename() : folder.filename() / rest;
        folder = folder.parent_path();
    }
}

}  // namespace Pal
