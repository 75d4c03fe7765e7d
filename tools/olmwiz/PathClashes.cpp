#include "PathClashes.h"

#include "pal/FileIdentity.h"

#include <sys/stat.h>

namespace olmwiz {

namespace {

// Character devices and FIFOs are not replaced by a write (Pal::OutputFile):
// two outputs on /dev/null lose nothing.
bool IsStream(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode));
}

}  // namespace

void PathClashes::AddInput(std::string what, const std::string& path) {
    if (!path.empty()) m_inputs.push_back({std::move(what), path, {}});
}

void PathClashes::AddOutput(std::string what, const std::string& path, std::string mayReplace) {
    if (!path.empty()) m_outputs.push_back({std::move(what), path, std::move(mayReplace)});
}

std::string PathClashes::Problem() const {
    const auto clash = [](const Entry& output, const Entry& other, const char* verb) {
        return output.what + " '" + output.path + "' " + verb + " " + other.what + " '" + other.path + "'";
    };
    const auto identities = [](const std::vector<Entry>& entries) {
        std::vector<Pal::FileIdentity> result;
        for (const Entry& entry : entries) result.push_back(Pal::FileIdentity::Of(entry.path));
        return result;
    };
    const std::vector<Pal::FileIdentity> inputs = identities(m_inputs);
    const std::vector<Pal::FileIdentity> outputs = identities(m_outputs);
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        const Entry& output = m_outputs[i];
        if (outputs[i].IsEmpty()) continue;
        for (std::size_t j = 0; j < m_inputs.size(); ++j) {
            if (m_inputs[j].what != output.mayReplace && inputs[j] == outputs[i])
                return clash(output, m_inputs[j], "would overwrite");
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (outputs[j] == outputs[i] && !IsStream(output.path)) return clash(output, m_outputs[j], "is the same file as");
        }
    }
    return {};
}

}  // namespace olmwiz
