#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace badinput {

// An output folder that already holds the files a run of design NAME writes
// (NAME.kfz, NAME.v, NAME_olmw.pkx) and any others added, each with known
// content. Changes() tells what a refused run did to the folder anyway.
class OutputGuard {
public:
    OutputGuard(std::filesystem::path folder, const std::string& design);

    // Adds a file with this content (it is then expected to stay as it is)
    // and returns its path.
    std::string Add(const std::string& name, const std::string& content);
    const std::filesystem::path& Folder() const { return m_folder; }

    // Every entry of the folder that is new, gone or changed, one per line;
    // empty when the folder is as it was prepared.
    std::string Changes() const;

private:
    std::filesystem::path m_folder;
    std::map<std::string, std::string> m_files;  // name -> expected content
};

}  // namespace badinput
