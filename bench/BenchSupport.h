#pragma once

// Helpers the benchmark programs share: a scratch folder that removes itself,
// a whole-file writer, a timed child process and a median.

#include <filesystem>
#include <string>
#include <vector>

namespace olmbench {

// A fresh folder below the system's temporary folder (or below parent),
// removed with its contents when the object goes.
class TempDir {
public:
    explicit TempDir(const std::string& prefix, const std::filesystem::path& parent = {});
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Writes the text to the file, replacing it; throws when that fails, since a
// benchmark on a half-written file would measure nothing useful.
void WriteText(const std::filesystem::path& path, const std::string& text);

// Runs a program (args[0], a path) with its output thrown away and waits for
// it: the wall time in milliseconds, or a negative value when it could not
// start or did not exit with 0.
double TimeRun(const std::vector<std::string>& args);

double Median(std::vector<double> values);

}  // namespace olmbench
