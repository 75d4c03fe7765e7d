#pragma once

#include "Manifest.h"

#include <string>
#include <vector>

namespace olmwiz {

// Writes a ninja build file for the jobs of a manifest instead of running
// them: one edge per job, whose command is the job's `olmwiz run ... --batch`
// (every path absolute) and whose inputs are everything its files follow
// from: the option file, the design file given, the wizard's data file
// (where it was found: a plugin's lies in OLMW_DATA_PATH), every installed
// data file (the HDL wrapper takes its primitives from them), the plugin
// library of a plugin's wizard, and the program files (olmwiz and the shared
// libraries it loads); its
// outputs are the job's design, HDL and constraint files. The edges restat:
// a job whose files come out unchanged leaves them alone, and nothing after
// it reruns. One more edge writes the ninja file itself again, from the
// manifest, when the manifest changes. So `ninja -f FILE` reruns, in
// parallel, just the jobs whose inputs changed.
// file is the ninja file as ninja is to be given it (-f FILE); programFiles
// start with olmwiz's full path. "" when written (or already as it would be
// written, when it is left alone), else the problem; the file is replaced
// only when the whole of it is written.
std::string WriteNinjaFile(const std::string& file, const Manifest& manifest,
                           const std::vector<std::string>& programFiles);

// The installed data files that are found, with their full paths.
std::vector<std::string> InstalledDataFiles();

// A path as ninja reads it in a build statement: $, : and blanks escaped.
std::string NinjaPath(const std::string& path);
// Why a text cannot be written in a ninja file ("it holds a line feed"), or
// "": ninja has no escape for line ends and other control characters, nor
// for '|' in a path (it always separates paths there).
std::string NinjaProblem(const std::string& text, bool isPath);

}  // namespace olmwiz
