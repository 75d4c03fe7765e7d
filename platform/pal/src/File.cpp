#include "pal/File.h"

#include "pal/Stream.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace Pal {

Stream* File::open(const char* path, int access, bool /*flag*/) {
    if (!path || !*path) return nullptr;
    const char* mode = nullptr;
    if (access == kRead) mode = "rb";
    else if (access == kWriteTruncate) mode = "wb";
    else return nullptr;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return nullptr;
    std::FILE* file = std::fopen(path, mode);
    if (!file) return nullptr;
    return new FileStream(file, true, false);
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
