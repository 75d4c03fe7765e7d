#include "datafiles/Olm_AttributeLabels.h"

#include "datafiles/Olm_Data.h"
#include "pal/StrUtil.h"

#include <fstream>
#include <set>

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The value of a "Key: value;" statement of the data file when the key
// matches, else nothing.
bool StatementValue(std::string_view line, std::string_view key, std::string& value) {
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != ':') return false;
    std::string_view rest = line.substr(key.size() + 1);
    rest = rest.substr(0, rest.find(';'));
    value = std::string(Trimmed(rest));
    return true;
}

}  // namespace

bool Olm_AttributeLabels::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    Read(in, path);
    return true;
}

void Olm_AttributeLabels::Read(std::istream& in, const std::string& source) {
    std::string primType;
    std::set<std::string> inBlock;  // the attributes labelled in this Block section
    std::string line;
    int number = 0;
    const auto problem = [&](const std::string& why) {
        m_problems.push_back(source + ":" + std::to_string(number) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++number;
        if (line.starts_with("#:")) {
            // NAME | label | unit | help; the help may hold "|" of its own.
            std::vector<std::string> parts;
            std::string_view rest = std::string_view(line).substr(2);
            for (int i = 0; i < 3; ++i) {
                const std::size_t bar = rest.find('|');
                if (bar == std::string_view::npos) break;
                parts.emplace_back(Trimmed(rest.substr(0, bar)));
                rest.remove_prefix(bar + 1);
            }
            parts.emplace_back(Trimmed(rest));
            if (parts.size() != 4 || parts[0].empty() || parts[1].empty()) {
                problem("a label line needs an attribute, a label, a unit and a help line, separated by '|'");
                continue;
            }
            if (primType.empty()) {
                problem("the label line of " + parts[0] + " is outside a Block section");
                continue;
            }
            // Several blocks of one primitive (the lanes of a transceiver)
            // each label their attributes; the first block's lines count.
            if (!inBlock.insert(parts[0]).second) {
                problem("a second label line of " + parts[0] + " on " + primType);
                continue;
            }
            Olm_AttributeLabel entry{parts[1], parts[2], parts[3]};
            m_byAttribute.try_emplace(parts[0], entry);
            m_labels.try_emplace({primType, parts[0]}, std::move(entry));
            continue;
        }
        if (line.starts_with('#')) continue;
        const std::string_view statement = Trimmed(line);
        std::string value;
        if (StatementValue(statement, "Block", value)) {
            primType = value;
            inBlock.clear();
        } else if (StatementValue(statement, "Primitive", value)) {
            primType = value;
        } else if (statement.starts_with("EndBlock")) {
            primType.clear();
        }
    }
}

Olm_AttributeLabels Olm_AttributeLabels::Installed(const Pal::String& wizType, const Pal::String& family) {
    Olm_AttributeLabels labels;
    const char* file = Olm_Data::DataFileName(wizType, family);
    Pal::String path;
    Olm_Data data;
    if (file && data.GetDataFileName(file, path)) labels.ReadFile(path.str());
    return labels;
}

const Olm_AttributeLabel* Olm_AttributeLabels::Find(std::string_view primType, std::string_view attribute) const {
    if (const auto it = m_labels.find(std::pair<std::string, std::string>(primType, attribute)); it != m_labels.end())
        return &it->second;
    const auto any = m_byAttribute.find(attribute);
    return any == m_byAttribute.end() ? nullptr : &any->second;
}

std::string Olm_AttributeLabels::Label(std::string_view primType, std::string_view attribute) const {
    const Olm_AttributeLabel* entry = Find(primType, attribute);
    return entry ? entry->label : std::string();
}

std::string Olm_AttributeLabels::Unit(std::string_view primType, std::string_view attribute) const {
    const Olm_AttributeLabel* entry = Find(primType, attribute);
    return entry && entry->unit != "-" ? entry->unit : std::string();
}

std::string Olm_AttributeLabels::Help(std::string_view primType, std::string_view attribute) const {
    const Olm_AttributeLabel* entry = Find(primType, attribute);
    return entry ? entry->help : std::string();
}

std::string Olm_AttributeLabels::FieldLabel(std::string_view primType, std::string_view attribute) const {
    const std::string label = Label(primType, attribute);
    if (label.empty()) return label;
    const std::string unit = Unit(primType, attribute);
    // A label that ends in its unit ("Number of lanes", lanes) says it already.
    const bool named = !unit.empty() && label.size() > unit.size() && label[label.size() - unit.size() - 1] == ' ' &&
                       Pal::StrUtil::EqualNoCase(std::string_view(label).substr(label.size() - unit.size()), unit);
    return unit.empty() || named ? label + ":" : label + " (" + unit + "):";
}
