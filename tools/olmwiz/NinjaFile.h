#pragma once

#include "Manifest.h"

#include <string>

namespace olmwiz {

// Writes a ninja build file for the jobs of a manifest instead of running
// them: one edge per job, whose command is the job's `olmwiz run ... --batch`
// (every path absolute) and whose inputs are the option file, the design
// file given, the installed data file of the wizard type and the olmwiz
// program, and outputs the job's design, HDL and constraint files. So
// `ninja -f FILE` reruns, in parallel, just the jobs whose inputs changed.
// olmwiz is the program's full path. "" when written, else the problem; the
// file is replaced only when the whole of it is written.
std::string WriteNinjaFile(const std::string& file, const Manifest& manifest, const std::string& olmwiz);

// A path as ninja reads it in a build statement: $, : and blanks escaped.
std::string NinjaPath(const std::string& path);
// Why a text cannot be written in a ninja file ("it holds a line feed"), or
// "": ninja has no escape for line ends and other control characters, nor
// for '|' in a path (it always separates paths there).
std::string NinjaProblem(const std::string& text, bool isPath);

}  // namespace olmwiz
