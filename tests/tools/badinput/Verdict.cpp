#include "Verdict.h"

#include <algorithm>
#include <regex>

namespace badinput {

namespace {

std::string Shown(const std::string& text) {
    constexpr std::size_t kShown = 1500;
    return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

// Problems every run must be free of; empty when there are none.
std::string EndProblem(const ChildResult& run) {
    if (!run.started) return "olmwiz did not start";
    if (run.timedOut) return "olmwiz did not end in time";
    if (run.signal != 0) return "olmwiz ended by signal " + std::to_string(run.signal);
    for (const char* report : {"Sanitizer", "runtime error:"}) {
        if (run.err.find(report) != std::string::npos) return std::string("a sanitizer reported (") + report + ")";
    }
    return {};
}

::testing::AssertionResult Failure(const ChildResult& run, const std::string& problem) {
    return ::testing::AssertionFailure() << problem << "\n  command: " << run.command << "\n  exit code: "
                                         << run.exitCode << "\n  stderr: " << Shown(run.err)
                                         << "\n  stdout: " << Shown(run.out);
}

}  // namespace

::testing::AssertionResult Refused(const ChildResult& run, const Refusal& expected) {
    if (const std::string problem = EndProblem(run); !problem.empty()) return Failure(run, problem);
    if (run.exitCode != 1) return Failure(run, "the exit code is not 1");
    const bool controlBytes = std::any_of(run.err.begin(), run.err.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7f;
    });
    if (controlBytes) return Failure(run, "stderr passes control characters of the input on to the terminal");
    if (!expected.file.empty() && run.err.find(expected.file) == std::string::npos) {
        return Failure(run, "stderr does not name the file " + expected.file);
    }
    if (expected.line > 0) {
        const std::regex line("[Ll]ine#? " + std::to_string(expected.line) + "([^0-9]|$)");
        if (!std::regex_search(run.err, line)) {
            return Failure(run, "stderr does not name line " + std::to_string(expected.line));
        }
    }
    if (!expected.text.empty() && (run.err + run.out).find(expected.text) == std::string::npos) {
        return Failure(run, "the output does not say '" + expected.text + "'");
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Accepted(const ChildResult& run, const std::string& warning) {
    if (const std::string problem = EndProblem(run); !problem.empty()) return Failure(run, problem);
    if (run.exitCode != 0) return Failure(run, "the exit code is not 0");
    if (!warning.empty() && run.err.find(warning) == std::string::npos) {
        return Failure(run, "stderr does not warn '" + warning + "'");
    }
    return ::testing::AssertionSuccess();
}

}  // namespace badinput
