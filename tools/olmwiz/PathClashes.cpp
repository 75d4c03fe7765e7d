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
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        const Entry& output = m_outputs[i];
        const Pal::FileIdentity identity = Pal::FileIdentity::Of(output.path);
        if (identity.IsEmpty()) continue;
        for (const Entry& input : m_inputs) {
            if (input.what != output.mayReplace && Pal::FileIdentity::Of(input.path) == identity)
                return clash(output, input, "would overwrite");
        }
        if (IsStream(output.path)) continue;
        for (std::size_t j = 0; j < i; ++j) {
            if (Pal::FileIdentity::Of(m_outputs[j].path) == identity)
                return clash(output, m_outputs[j], "is the same file as");
        }
    }
    return {};
}

}  // namespace olmwiz
