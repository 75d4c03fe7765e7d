#pragma once

#include <string>
#include <vector>

namespace olmwiz {

// The files one command reads and writes, compared by what they are rather
// than how they are spelt (Pal::FileIdentity): an output that is one of the
// inputs, or two outputs that are one file, would lose what a user gave or
// write one result over another.
class PathClashes {
public:
    // what says which file it is, for the message: "the option file", "--json".
    void AddInput(std::string what, const std::string& path);
    // An output may replace the one input named by mayReplace (a design file
    // regenerated in place), and no other.
    void AddOutput(std::string what, const std::string& path, std::string mayReplace = {});
    // The first clash, "WHAT 'P' is WHAT 'Q'", or empty when there is none.
    // Outputs that are devices or FIFOs (/dev/null, a terminal) may be named
    // more than once; reading from one is refused elsewhere.
    std::string Problem() const;

private:
    struct Entry {
        std::string what;
        std::string path;
        std::string mayReplace;
    };
    std::vector<Entry> m_inputs;
    std::vector<Entry> m_outputs;
};

}  // namespace olmwiz
