#include "OlmwizChild.h"

#include "TestSupport.h"

#include <regex>

namespace olmwiztest {

namespace {

::testing::AssertionResult Failure(const ChildResult& run, const std::string& problem) {
    const auto shown = [](const std::string& text) { return text.substr(0, 1500) + (text.size() > 1500 ? "..." : ""); };
    return ::testing::AssertionFailure() << problem << "\n  command: " << run.command << "\n  exit code: "
                                         << run.exitCode << " (137: timed out, 128 + N: ended by signal N)"
                                         << "\n  stderr: " << shown(run.err) << "\n  stdout: " << shown(run.out);
}

// The exit code is not code, or a sanitizer reported; empty when neither.
std::string EndProblem(const ChildResult& run, int code) {
    for (const char* report : {"Sanitizer", "runtime error:"}) {
        if (run.err.find(report) != std::string::npos) return std::string("a sanitizer reported (") + report + ")";
    }
    return run.exitCode == code ? "" : "the exit code is not " + std::to_string(code);
}

}  // namespace

ChildResult OlmwizChild::Run(const std::vector<std::string>& args) const {
    std::vector<std::string> argv = {"sh", "-c", "exec \"$@\" </dev/null", "sh", "env"};
    for (const auto& [name, value] : env) argv.push_back(name + "=" + value);
    argv.insert(argv.end(), {"timeout", "-s", "KILL", std::to_string(timeoutSeconds)});
    if (memoryLimit != 0) argv.insert(argv.end(), {"prlimit", "--as=" + std::to_string(memoryLimit), "--"});
    if (fileSizeLimit != 0) argv.insert(argv.end(), {"prlimit", "--fsize=" + std::to_string(fileSizeLimit), "--"});
    ChildResult result{-1, "", "", program};
    argv.push_back(program);
    for (const std::string& arg : args) {
        argv.push_back(arg);
        result.command += " " + arg;
    }
    const olmtest::CommandResult run = olmtest::RunIn(workDir, argv, &result.err);
    result.exitCode = run.code;
    result.out = run.output;
    return result;
}

::testing::AssertionResult Refused(const ChildResult& run, const std::string& file, int line,
                                   const std::string& text) {
    if (const std::string problem = EndProblem(run, 1); !problem.empty()) return Failure(run, problem);
    if (std::regex_search(run.err, std::regex("[\\x00-\\x08\\x0b-\\x1f\\x7f]"))) {
        return Failure(run, "stderr passes control characters of the input on to the terminal");
    }
    if (!file.empty() && run.err.find(file) == std::string::npos) {
        return Failure(run, "stderr does not name the file " + file);
    }
    const std::regex lineText("[Ll]ine#? " + std::to_string(line) + "([^0-9]|$)");
    if (line > 0 && !std::regex_search(run.err, lineText)) {
        return Failure(run, "stderr does not name line " + std::to_string(line));
    }
    if (!text.empty() && (run.err + run.out).find(text) == std::string::npos) {
        return Failure(run, "the output does not say '" + text + "'");
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Accepted(const ChildResult& run, const std::string& warning) {
    if (const std::string problem = EndProblem(run, 0); !problem.empty()) return Failure(run, problem);
    if (!warning.empty() && run.err.find(warning) == std::string::npos) {
        return Failure(run, "stderr does not warn '" + warning + "'");
    }
    return ::testing::AssertionSuccess();
}

}  // namespace olmwiztest
