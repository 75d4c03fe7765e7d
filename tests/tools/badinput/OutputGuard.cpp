#include "OutputGuard.h"

#include "TestSupport.h"

#include <fstream>

namespace badinput {

OutputGuard::OutputGuard(std::filesystem::path folder, const std::string& design) : m_folder(std::move(folder)) {
    std::filesystem::create_directories(m_folder);
    Add(design + ".kfz", "earlier design file of " + design + "\n");
    Add(design + ".v", "// earlier wrapper of " + design + "\n");
    Add(design + "_olmw.pkx", "# earlier constraints of " + design + "\n");
}

std::string OutputGuard::Add(const std::string& name, const std::string& content) {
    const std::filesystem::path path = m_folder / name;
    std::ofstream(path, std::ios::binary) << content;
    m_files[name] = content;
    return path.string();
}

std::string OutputGuard::Changes() const {
    std::string changes;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!m_files.count(name)) changes += "new: " + name + "\n";
    }
    if (ec) changes += "the folder cannot be listed: " + ec.message() + "\n";
    for (const auto& [name, content] : m_files) {
        const std::filesystem::path path = m_folder / name;
        if (!std::filesystem::is_regular_file(path, ec)) changes += "gone: " + name + "\n";
        else if (olmtest::ReadFile(path.string()) != content) changes += "changed: " + name + "\n";
    }
    return changes;
}

}  // namespace badinput
