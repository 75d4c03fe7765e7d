#include "NinjaFile.h"

#include "ShellWords.h"
#include "StderrReports.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "pal/FileCompare.h"
#include "shared/Olm_Constants.h"
#include "pal/OutputFile.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

namespace olmwiz {

namespace {

// A variable's value: only $ is special to ninja there.
std::string NinjaValue(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '$' ? std::string("$$") : std::string(1, c);
    return out;
}

}  // namespace

std::string NinjaPath(const std::string& path) {
    std::string out;
    for (const char c : path) {
        if (c == '$' || c == ':' || c == ' ') out += '$';
        out += c;
    }
    return out;
}

std::vector<std::string> InstalledDataFiles() {
    std::vector<std::string> files;
    for (const char* name : {OlmConst::kDevTkl, OlmConst::kDevHsx, OlmConst::kDevHsx11, OlmConst::kDevDsp,
                             OlmConst::kDevSsio}) {
        Pal::String path;
        Olm_Data data;
        if (data.GetDataFileName(name, path)) files.push_back(path.str());
    }
    return files;
}

std::string NinjaProblem(const std::string& text, bool isPath) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') return "it holds a line feed";
        if (c == '\r') return "it holds a carriage return";
        if (byte < 0x20 || byte == 0x7f) return "it holds a control character";
        if (isPath && c == '|') return "it holds a '|'";
    }
    return {};
}

std::string WriteNinjaFile(const std::string& file, const Manifest& manifest,
                           const std::vector<std::string>& programFiles) {
    const std::string& olmwiz = programFiles.front();
    std::error_code ec;
    const std::string manifestPath = std::filesystem::absolute(manifest.path, ec).lexically_normal().string();
    const std::string filePath = std::filesystem::absolute(file, ec).lexically_normal().string();
    std::string source = manifest.path;
    for (char& c : source) c = c == '\n' || c == '\r' ? ' ' : c;  // one comment line
    std::ostringstream text;
    text << "# Written by olmwiz regen from the manifest " << source << ": one edge per job.\n"
         << "# ninja -f THIS_FILE reruns the jobs whose option file, design file, installed\n"
         << "# data or olmwiz changed, and writes itself again when the manifest changes.\n\n"
         << "rule olmwiz_run\n  command = $cmd\n  description = $desc\n"
         << "  restat = 1\n"
         << "\nrule regen_ninja\n  command = $cmd\n  description = olmwiz regen: the ninja file from the manifest\n"
         << "  generator = 1\n  restat = 1\n";
    // Every installed data file: the HDL wrapper takes its primitives from
    // all of them, whatever the wizard.
    const std::vector<std::string> dataFiles = InstalledDataFiles();
    Olm_Data data;
    for (const RegenJob& job : manifest.jobs) {
        const Olm_RunRequest& request = job.request;
        const std::string dataName = Olm_DataTypes::FileOf(request.wizType, request.family);
        Pal::String dataFile;
        if (dataName.empty() || !data.GetDataFileName(dataName.c_str(), dataFile)) {
            return manifest.path + ":" + std::to_string(job.line) + ": the installed data file of the wizard type '" +
                   request.wizType + "' is not found";
        }
        const std::vector<std::string> outputs = job.Outputs();
        // Every path and argument must come out of ninja as it went in.
        std::vector<std::pair<std::string, bool>> texts;  // text, whether a path of the build line
        for (const std::string& path : outputs) texts.emplace_back(path, true);
        // A plugin's wizard also follows from the plugin library and from its
        // own data file, which need not be among the installed ones.
        std::error_code ec;
        const std::string plugin = job.wizard && job.wizard->origin != "built-in"
                                       ? std::filesystem::absolute(job.wizard->origin, ec).lexically_normal().string()
                                       : "";
        const std::string wizardData = std::filesystem::absolute(dataFile.str(), ec).lexically_normal().string();
        for (const std::string& path : {request.optionFile, request.designFile, wizardData, plugin, olmwiz})
            texts.emplace_back(path, true);
        for (const std::string& arg : job.RunArguments()) texts.emplace_back(arg, false);
        for (const auto& [item, isPath] : texts) {
            if (const std::string why = NinjaProblem(item, isPath); !why.empty())
                return manifest.path + ":" + std::to_string(job.line) + ": '" + StderrReports::Printable(item) +
                       "' cannot be written in a ninja file: " + why;
        }
        const std::set<std::string> written(outputs.begin(), outputs.end());
        text << "\nbuild";
        for (const std::string& output : outputs) text << " " << NinjaPath(output);
        text << ": olmwiz_run";
        // A design file regenerated in place is an output only: as an input
        // too it would make the edge depend on itself.
        std::vector<std::string> inputs = {request.optionFile, request.designFile, wizardData, plugin};
        inputs.insert(inputs.end(), dataFiles.begin(), dataFiles.end());
        inputs.insert(inputs.end(), programFiles.begin(), programFiles.end());
        std::set<std::string> listed;
        for (const std::string& input : inputs) {
            if (!input.empty() && !written.count(input) && listed.insert(input).second) text << " " << NinjaPath(input);
        }
        std::string command = ShellQuoted(olmwiz);
        for (const std::string& arg : job.RunArguments()) command += " " + ShellQuoted(arg);
        text << "\n  cmd = " << NinjaValue(command) << "\n  desc = olmwiz run " << NinjaValue(request.design) << " ("
             << NinjaValue(request.wizType) << ", " << request.hdl << "), line " << job.line << "\n";
    }
    // The file itself, as ninja is given it, follows from the manifest.
    for (const std::string& path : {file, manifestPath}) {
        if (const std::string why = NinjaProblem(path, true); !why.empty())
            return "'" + StderrReports::Printable(path) + "' cannot be written in a ninja file: " + why;
    }
    const std::string regen = ShellQuoted(olmwiz) + " regen " + ShellQuoted(manifestPath) + " --ninja " +
                              ShellQuoted(filePath);
    text << "\nbuild " << NinjaPath(file) << ": regen_ninja " << NinjaPath(manifestPath) << "\n  cmd = "
         << NinjaValue(regen) << "\n";

    if (Pal::FileCompare::Holds(file, text.str())) return {};
    std::string reason;
    if (!Pal::OutputFile::WriteWhole(file, text.str(), reason)) return "cannot write '" + file + "': " + reason;
    return {};
}

}  // namespace olmwiz
