#pragma once

#include "WizardTable.h"

#include "kit/Olm_RunRequest.h"

#include <cstdint>
#include <string>
#include <vector>

// The manifest of `olmwiz regen`: one job per line, each written as the
// arguments of `olmwiz run` without the word run.
namespace olmwiz {


struct RegenJob {
    int line = 0;  // in the manifest, from 1
    // Every path absolute; the output folder always set (when the line names
    // none: the folder of --kfz, else the manifest's folder). batch is set;
    // silent is as the line says, the regen command runs every job silently.
    Olm_RunRequest request;
    const WizardEntry* wizard = nullptr;

    // The files a successful run writes: the design file, the HDL file and
    // the constraint template, with their full paths.
    std::vector<std::string> Outputs() const;
    // The job as an `olmwiz run` command line (without the program), with
    // the paths as above and --batch.
    std::vector<std::string> RunArguments() const;
};

struct Manifest {
    std::string path;    // as given
    std::string folder;  // absolute: relative paths of the jobs are taken from it
    std::vector<RegenJob> jobs;
    // "FILE:LINE: problem" for every malformed line (or "FILE: problem" when
    // the file cannot be read); the manifest is run only when there is none.
    std::vector<std::string> problems;
};

// The largest manifest read (16 MiB): a job a line, some hundred bytes each.
inline constexpr std::uint64_t kMaxManifestBytes = 16ull << 20;

// Reads and checks a manifest (a regular file of at most kMaxManifestBytes): its words (ShellWords), each line's arguments
// as `olmwiz run` checks them, and that no two jobs write the same file.
Manifest ReadManifest(const std::string& path);

}  // namespace olmwiz
