#pragma once

#include "OlmwizChild.h"

#include <gtest/gtest.h>

#include <string>

namespace badinput {

// What a refused input must produce.
struct Refusal {
    std::string file;  // named on standard error (empty: not checked)
    int line = 0;      // "line N" on standard error; 0 when the error has no line
    std::string text;  // a piece of the error, on standard error or output (empty: not checked)
};

// The run ended normally with exit code 1 (no signal, no time-out, no
// sanitizer report), standard error names the file and the line and holds no
// control character but line feed and tab.
::testing::AssertionResult Refused(const ChildResult& run, const Refusal& expected);

// The run ended normally with exit code 0 and no sanitizer report, and
// standard error holds warning (when not empty).
::testing::AssertionResult Accepted(const ChildResult& run, const std::string& warning = "");

}  // namespace badinput
