#include "datafiles/Olm_SimModels.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "devinfo/DevData.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::vector<std::string> Olm_SimModels::Folders(Olm_HdlLanguage language) {
    std::vector<std::string> data = DevSpec::getdatafolders();
    // The folders of the plugins' data files come before the installed data
    // folder, the last of the search path when it is known.
    const std::string dataDir = DevSpec::getdatadir();
    const auto installed = !data.empty() && data.back() == dataDir ? data.end() - 1 : data.end();
    std::vector<std::string> found = Olm_DataTypes::HandedDownFiles();
    Olm_Data lookup;
    for (const Olm_DataTypes::Entry& entry : Olm_DataTypes::Registered()) {
        Pal::String path;
        if (lookup.GetDataFileName(entry.file.c_str(), path)) found.emplace_back(path.str());
    }
    std::vector<std::string> plugins;
    for (const std::string& file : found) plugins.push_back(fs::path(file).parent_path().string());
    data.insert(installed, plugins.begin(), plugins.end());

    std::vector<std::string> folders;
    for (const std::string& folder : data) {
        const std::string models = (fs::path(folder) / "sim" / Olm_HdlLanguageNames::Name(language)).string();
        if (std::find(folders.begin(), folders.end(), models) == folders.end()) folders.push_back(models);
    }
    return folders;
}

std::string Olm_SimModels::Find(const std::string& primitive, Olm_HdlLanguage language,
                                const std::vector<std::string>& folders) {
    if (primitive.empty()) return {};
    for (const std::string& folder : folders) {
        const fs::path model = fs::path(folder) / (primitive + Olm_HdlLanguageNames::Extension(language));
        std::error_code ec;
        if (fs::is_regular_file(model, ec)) return model.string();
    }
    return {};
}

std::string Olm_SimModels::MissingText(const std::string& primitive, Olm_HdlLanguage language,
                                       const std::vector<std::string>& folders) {
    std::string searched;
    for (const std::string& folder : folders) searched += (searched.empty() ? "" : ", ") + folder;
    return "no simulation model of " + primitive + " (" + primitive + Olm_HdlLanguageNames::Extension(language) +
           ") in the folders searched: " + (searched.empty() ? "none" : searched);
}
