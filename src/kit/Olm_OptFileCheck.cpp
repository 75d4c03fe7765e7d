#include "kit/Olm_OptFileCheck.h"

#include "datafiles/Olm_OptFileReader.h"
#include "model/Olm_Attribute.h"
#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/StrUtil.h"
#include "pal/Stream.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

namespace {

using Pal::StrUtil;

constexpr std::size_t kPieceChars = 255;  // as the option-file reader reads lines

std::string Upper(std::string text) {
    for (char& c : text) c = StrUtil::FoldCase(c);
    return text;
}

// The next field up to one of the delimiters, trimmed of blanks and tabs,
// as the option-file reader splits a statement; null when there is none.
const char* NextField(char* text, const char* delimiters) {
    char* field = StrUtil::Tokenize(text, delimiters);
    if (!field) return nullptr;
    field += std::strspn(field, " \t");
    std::size_t n = std::strlen(field);
    while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == '\t')) field[--n] = '\0';
    return *field ? field : nullptr;
}

// How many single-character edits turn a into b (letter case folded).
std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = StrUtil::FoldCase(a[i - 1]) == StrUtil::FoldCase(b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// " (did you mean X?)" for the nearest of the names within two edits.
std::string Suggestion(const std::string& name, const std::set<std::string>& known) {
    std::string best;
    std::size_t bestDistance = 3;
    for (const std::string& candidate : known) {
        const std::size_t distance = EditDistance(name, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best.empty() ? std::string() : " (did you mean " + best + "?)";
}

}  // namespace

Olm_OptFileCheck::Olm_OptFileCheck(Olm_WizData& installed) : m_installed(installed) {}

void Olm_OptFileCheck::AddWizardAttribute(const std::string& primType, const std::string& attribute,
                                          Olm_AllowedValues allowed) {
    m_wizardAttributes[Upper(primType)][Upper(attribute)] = std::move(allowed);
}

std::string Olm_OptFileCheck::CheckStatement(const std::string& keyword, const std::string& primitive,
                                             const std::string& blockName, const std::string& name,
                                             const std::string* value) {
    Olm_Block* first = m_installed.GetPrimitiveBlock(primitive.c_str());
    if (!first) {
        std::set<std::string> types;
        for (const Olm_Block* b : m_installed.GetBlkList()) types.insert(b->GetPrimType().str());
        std::string list;
        for (const std::string& type : types) list += (list.empty() ? "" : ", ") + type;
        return "the installed data has no block type '" + primitive + "'" + Suggestion(primitive, types) +
               "; its types are " + list;
    }
    std::vector<Olm_Block*> targets;
    if (blockName == "*") {
        for (Olm_Block* b : m_installed.GetBlkList())
            if (b->GetPrimType().Compare(primitive.c_str(), Pal::String::kNoCase) == 0) targets.push_back(b);
    } else if (Olm_Block* named = m_installed.GetNamedBlock(blockName.c_str());
               named && named->GetPrimType().Compare(primitive.c_str(), Pal::String::kNoCase) == 0) {
        targets.push_back(named);
    } else {
        targets.push_back(first);
    }
    for (Olm_Block* target : targets) {
        std::string finding = CheckOnBlock(*target, keyword, primitive, name, value);
        if (!finding.empty()) return targets.size() > 1 ? finding + " (block " + target->GetName().str() + ")" : finding;
    }
    return {};
}

std::string Olm_OptFileCheck::CheckOnBlock(Olm_Block& target, const std::string& keyword, const std::string& primitive,
                                           const std::string& name, const std::string* value) {
    Olm_Block* block = &target;
    if (keyword != "BlockProp") {
        if (block->GetNamedPin(name.c_str())) return {};
        std::set<std::string> pins;
        for (const Olm_Pin* pin : block->GetPinList()) pins.insert(pin->GetName().str());
        return "block type '" + primitive + "' has no pin '" + name + "'" + Suggestion(name, pins);
    }
    Olm_AllowedValues rule;
    if (const Olm_Attribute* attribute = block->GetNamedAttribute(name.c_str())) {
        rule = Olm_AllowedValues::Of(*attribute);
    } else {
        const auto type = m_wizardAttributes.find(Upper(primitive));
        const auto known = type == m_wizardAttributes.end() ? nullptr : &type->second;
        const auto it = known ? known->find(Upper(name)) : decltype(known->end()){};
        if (!known || it == known->end()) {
            std::set<std::string> names;
            for (const Olm_Attribute* attribute : block->GetAttributeList()) names.insert(attribute->GetName().str());
            if (known)
                for (const auto& [wizardName, unused] : *known) names.insert(wizardName);
            return "block type '" + primitive + "' has no attribute '" + name + "'" + Suggestion(name, names);
        }
        rule = it->second;
    }
    return value ? rule.Problem(name, *value) : std::string();
}

std::vector<std::string> Olm_OptFileCheck::Check(const std::string& path, std::string* unreadable) {
    std::vector<std::string> findings;
    Pal::InputCheck input;
    const std::unique_ptr<Pal::Stream, bool (*)(Pal::Stream*)> file(
        Pal::File::openInputOrPipe(path.c_str(), Olm_OptFileReader::kMaxFileBytes, input), &Pal::File::close);
    if (!file) {
        if (unreadable) {
            using Problem = Pal::InputCheck::Problem;
            *unreadable = path + (input.problem == Problem::kNotRegular ? std::string(" is not a regular file (") +
                                                                               input.kind + ")"
                                  : input.problem == Problem::kTooLarge
                                      ? " is too large (" + std::to_string(input.size) + " bytes; the limit is " +
                                            std::to_string(input.limit) + " bytes)"
                                  : input.problem == Problem::kNoData
                                      ? " is a FIFO that nothing was written to within " +
                                            std::to_string(Pal::File::kPipeWaitMs / 1000) + " seconds"
                                      : ": " + std::string(std::strerror(input.error)));
        }
        return findings;
    }
    std::string piece;
    int line = 0;
    while (file->ReadPiece(piece, kPieceChars)) {
        ++line;
        if (piece[0] == '#') continue;
        if (piece.size() >= 2 && piece.compare(piece.size() - 2, 2, "\r\n") == 0) piece.erase(piece.size() - 2, 1);
        const std::size_t first = piece.find_first_not_of(' ');
        if (first == std::string::npos || piece[first] == '\n' || piece.find('\0') != std::string::npos) continue;
        std::string work = piece.substr(first);
        char* keyText = StrUtil::Tokenize(work.data(), ":");
        char* valueText = keyText ? StrUtil::Tokenize(nullptr, ";") : nullptr;
        if (!keyText || !valueText) continue;
        const std::string key = keyText + std::strspn(keyText, " \t");  // a prefix of a keyword, or not
        std::string keyword;
        for (const char* word : {"BlockProp", "UsePin", "TklClkBuf"}) {
            if (key.compare(0, std::strlen(word), word) == 0) {
                keyword = word;
                break;
            }
        }
        if (keyword.empty()) continue;
        const char* primitive = NextField(valueText, ".");
        const char* block = primitive ? NextField(nullptr, ".") : nullptr;
        const char* name = block ? NextField(nullptr, "=") : nullptr;
        if (!name) continue;
        const std::string primitiveText = primitive, nameText = name;
        const char* valueField = keyword == "BlockProp" ? NextField(nullptr, ";") : nullptr;
        if (keyword == "BlockProp" && !valueField) continue;
        const std::string value = valueField ? valueField : "";
        const std::string finding = CheckStatement(keyword, primitiveText, block, nameText,
                                                   keyword == "BlockProp" ? &value : nullptr);
        if (!finding.empty()) findings.push_back(path + ":" + std::to_string(line) + ": " + finding);
    }
    return findings;
}
