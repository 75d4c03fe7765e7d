#include "datafiles/Olm_DataTypes.h"

#include "datafiles/Olm_Data.h"
#include "devinfo/DevData.h"
#include "pal/StrUtil.h"
#include "shared/Olm_Constants.h"
#include "shared/Olm_WizType.h"

#include <cstdlib>
#include <mutex>

namespace {

constexpr const char* kHandDownVariable = "OLMW_REGISTERED_DATA_FILES";

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::vector<Olm_DataTypes::Entry>& Table() {
    static std::vector<Olm_DataTypes::Entry> table;
    return table;
}

bool IsBuiltInType(const std::string& type) {
    for (const char* prefix : {OlmConst::kWizPrefixTkl, OlmConst::kWizPrefixHsx, OlmConst::kWizPrefixDsp,
                               OlmConst::kWizPrefixSsi})
        if (Olm_WizType::HasPrefix(type, prefix)) return true;
    return false;
}

bool IsTypeName(const std::string& type) {
    if (type.empty()) return false;
    for (const char c : type)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

}  // namespace

std::string Olm_DataTypes::Register(const Entry& entry) {
    if (!IsTypeName(entry.type))
        return "the data type '" + entry.type + "' is not a name of letters, digits and '_'";
    if (IsBuiltInType(entry.type))
        return "the data type '" + entry.type + "' begins like a built-in type (tkl, hsx, dsp, ssi)";
    if (entry.file.empty() || entry.file.find('/') != std::string::npos || entry.file == "." || entry.file == "..")
        return "the data file '" + entry.file + "' of the data type '" + entry.type + "' is not a plain file name";
    const std::lock_guard<std::mutex> guard(Lock());
    for (const Entry& known : Table()) {
        if (!Pal::StrUtil::EqualNoCase(known.type, entry.type)) continue;
        if (known.file == entry.file) return {};
        return "the data type '" + entry.type + "' is registered already, with the data file '" + known.file +
               "', by " + known.origin;
    }
    Table().push_back(entry);
    return {};
}

void Olm_DataTypes::Clear() {
    const std::lock_guard<std::mutex> guard(Lock());
    Table().clear();
}

std::vector<Olm_DataTypes::Entry> Olm_DataTypes::Registered() {
    const std::lock_guard<std::mutex> guard(Lock());
    return Table();
}

std::optional<Olm_DataTypes::Entry> Olm_DataTypes::Find(const std::string& wizType) {
    const std::lock_guard<std::mutex> guard(Lock());
    const Entry* best = nullptr;
    for (const Entry& entry : Table()) {
        const std::size_t n = entry.type.size();
        if (wizType.size() < n || !Pal::StrUtil::EqualNoCase(std::string_view(wizType).substr(0, n), entry.type))
            continue;
        if (wizType.size() > n && wizType[n] != '_') continue;
        if (!best || n > best->type.size()) best = &entry;
    }
    return best ? std::optional<Entry>(*best) : std::nullopt;
}

std::string Olm_DataTypes::FileOf(const std::string& wizType, const std::string& family) {
    if (const char* builtIn = Olm_Data::DataFileName(wizType, family)) return builtIn;
    const std::optional<Entry> entry = Find(wizType);
    return entry ? entry->file : std::string();
}

void Olm_DataTypes::HandDown() {
    std::string paths;
    for (const Entry& entry : Registered()) {
        Pal::String path;
        if (Olm_Data().GetDataFileName(entry.file.c_str(), path) && path.str().find(':') == std::string::npos)
            paths += (paths.empty() ? "" : ":") + path.str();
    }
    if (paths.empty()) ::unsetenv(kHandDownVariable);
    else ::setenv(kHandDownVariable, paths.c_str(), 1);
}

std::vector<std::string> Olm_DataTypes::HandedDownFiles() {
    std::vector<std::string> files;
    const char* env = std::getenv(kHandDownVariable);
    if (!env) return files;
    const std::string text = env;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(':', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) files.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return files;
}

std::string Olm_DataTypes::FoldersSearched() {
    std::string text;
    for (const std::string& folder : DevSpec::getdatafolders()) text += (text.empty() ? "" : ", ") + folder;
    return text.empty() ? "(none: the data folder cannot be determined)" : text;
}

std::string Olm_DataTypes::UnknownTypeText(const std::string& wizType) {
    std::string registered;
    for (const Entry& entry : Registered()) registered += (registered.empty() ? "" : ", ") + entry.type;
    return "no data file is known for the wizard type '" + wizType + "' (built-in types: tkl..., hsx..., dsp..., " +
           "ssi...; registered: " + (registered.empty() ? "none" : registered) +
           "); the data folders searched: " + FoldersSearched();
}

std::string Olm_DataTypes::MissingFileText(const std::string& wizType, const std::string& file) {
    return "the data file '" + file + "' of the wizard type '" + wizType +
           "' is in none of the data folders searched: " + FoldersSearched();
}
