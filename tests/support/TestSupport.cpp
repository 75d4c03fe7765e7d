#include "TestSupport.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace olmtest {

namespace {
std::filesystem::path ScratchRoot() {
    if (const char* env = std::getenv("OLMW_TEST_TMP"); env && *env) return env;
    return std::filesystem::temp_directory_path() / "olmw-tests";
}
}  // namespace

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    m_path = ScratchRoot() / ("t" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ScratchDir::Write(const std::string& name, const std::string& content) const {
    const auto path = m_path / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path.string();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::stringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        std::error_code ec;
        const std::filesystem::path candidate = std::filesystem::path(dir.empty() ? "." : dir) / program;
        if (std::filesystem::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0) return true;
    }
    return false;
}

MsgCapture::MsgCapture() {
    m_previous = Pal::MsgMan::setHandler([this](const Pal::MsgMan::Report& r) { m_reports.push_back(r); });
}

MsgCapture::~MsgCapture() { Pal::MsgMan::setHandler(std::move(m_previous)); }

std::vector<std::string> MsgCapture::Texts() const {
    std::vector<std::string> texts;
    for (const auto& r : m_reports) texts.push_back(r.text.str());
    return texts;
}

}  // namespace olmtest
