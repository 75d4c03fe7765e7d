#include "Manifest.h"

#include "CommandLine.h"
#include "RunArguments.h"
#include "ShellWords.h"

#include "kit/Olm_HdlGenerator.h"
#include "pal/File.h"
#include "proof/Olm_TestbenchWriter.h"

#include <filesystem>
#include <cstring>
#include <sstream>
#include <map>

namespace olmwiz {

namespace {

namespace fs = std::filesystem;

std::string Under(const fs::path& folder, const std::string& path) {
    if (path.empty()) return path;
    return (fs::path(path).is_absolute() ? fs::path(path) : folder / path).lexically_normal().string();
}

}  // namespace

std::vector<std::string> RegenJob::Outputs() const {
    Olm_HdlGenerator::Language language = Olm_HdlGenerator::Language::Verilog;
    Olm_HdlGenerator::LanguageOf(request.hdl, language);
    const fs::path folder(request.outputDir);
    std::vector<std::string> outputs = {(folder / (request.design + ".kfz")).string(),
                                        (folder / (request.design + Olm_HdlGenerator::Extension(language))).string(),
                                        (folder / (request.design + "_olmw.pkx")).string()};
    if (request.testbench) outputs.push_back((folder / Olm_TestbenchWriter::FileName(request.design, language)).string());
    return outputs;
}

std::vector<std::string> RegenJob::RunArguments() const {
    // The wizard by its name; a wizard that takes --type (the generic one, a
    // plugin of several wizard types) gets the job's wizard type with it.
    std::vector<std::string> args = {"run", "--wizard", wizard ? wizard->name : request.wizType};
    if (wizard && TakesType(*wizard)) args.insert(args.end(), {"--type", request.wizType});
    args.insert(args.end(), {"--family", request.family, "--design", request.design});
    if (!request.designFile.empty()) args.insert(args.end(), {"--kfz", request.designFile});
    if (!request.optionFile.empty()) args.insert(args.end(), {"--options", request.optionFile});
    args.insert(args.end(), {"--hdl", request.hdl, "--outdir", request.outputDir});
    if (!request.logFile.empty()) args.insert(args.end(), {"--log", request.logFile});
    if (request.strict) args.push_back("--strict");
    if (request.testbench) args.push_back("--testbench");
    args.push_back("--batch");
    if (request.silent) args.push_back("--silent");
    return args;
}

Manifest ReadManifest(const std::string& path) {
    Manifest manifest;
    manifest.path = path;
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec).lexically_normal();
    manifest.folder = absolute.parent_path().string();
    std::string content;
    Pal::InputCheck check;
    if (!Pal::File::readInput(path.c_str(), kMaxManifestBytes, content, check)) {
        using Problem = Pal::InputCheck::Problem;
        const std::string why = check.problem == Problem::kNotRegular ? std::string("it is ") + check.kind +
                                                                            ", not a regular file"
                                : check.problem == Problem::kTooLarge
                                    ? "it is too large (" + std::to_string(check.size) + " bytes; the limit is " +
                                          std::to_string(check.limit) + " bytes)"
                                    : std::string(std::strerror(check.error));
        manifest.problems.push_back(path + ": cannot read the manifest: " + why);
        return manifest;
    }
    std::istringstream in(content);
    CommandLine arguments("", "");
    DeclareRunOptions(arguments);
    std::map<std::string, int> writers;  // every file a job writes, with the line of the job
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const auto problem = [&](const std::string& what) {
            manifest.problems.push_back(path + ":" + std::to_string(number) + ": " + what);
        };
        std::vector<std::string> words;
        std::string why;
        if (!SplitWords(text, words, why)) {
            problem(why);
            continue;
        }
        if (words.empty()) continue;
        if (words.front() == "run") {
            problem("a job gives the arguments of olmwiz run without the word 'run'");
            continue;
        }
        if (why = arguments.Parse(words); why.empty() && arguments.Has("help")) why = "--help is not a job";
        RegenJob job;
        job.line = number;
        if (why.empty()) why = RunRequestFrom(arguments, job.request, job.wizard);
        if (!why.empty()) {
            problem(why);
            continue;
        }
        Olm_RunRequest& request = job.request;
        request.designFile = Under(manifest.folder, request.designFile);
        request.optionFile = Under(manifest.folder, request.optionFile);
        request.logFile = Under(manifest.folder, request.logFile);
        request.outputDir = !request.outputDir.empty()    ? Under(manifest.folder, request.outputDir)
                            : !request.designFile.empty() ? fs::path(request.designFile).parent_path().string()
                                                          : manifest.folder;
        request.batch = true;
        std::vector<std::string> written = job.Outputs();
        if (!request.logFile.empty()) written.push_back(request.logFile);
        bool clash = false;
        for (const std::string& file : written) {
            const auto [it, fresh] = writers.emplace(file, number);
            if (!fresh && !clash)
                problem("writes '" + file + "' as the job of line " + std::to_string(it->second) + " does");
            clash = clash || !fresh;
        }
        if (!clash) manifest.jobs.push_back(std::move(job));
    }
    return manifest;
}

}  // namespace olmwiz
