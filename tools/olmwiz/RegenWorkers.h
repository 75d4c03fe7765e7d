#pragma once

#include "Manifest.h"

#include <functional>
#include <string>
#include <vector>

namespace olmwiz {

// What became of one job of `olmwiz regen`.
struct JobResult {
    bool succeeded = false;
    std::string failure;                // why it failed
    std::vector<std::string> files;     // written or left unchanged, with full paths
    std::vector<std::string> states;    // beside each file: "written", "unchanged"; "new", "changed" in a check
    std::vector<std::string> diffs;     // a check: beside each file, its unified diff ("" when unchanged)
    std::vector<std::string> messages;  // every message of the run
    double ms = 0;                      // the run's time in its worker
    long worker = 0;                    // the worker's process id
    long residentKb = 0;                // the worker's resident size after the job
    long peakKb = 0;                    // and its peak resident size until then
};

// Runs the jobs in worker processes forked from this one, at most `workers`
// at a time. Each worker keeps one Olm_RunSession for all its jobs (the
// installed data and the HDL primitives are read once) and runs every job in
// batch mode and silently; it asks for the next job whenever it has sent the
// result of its last one, as one line of JSON over a pipe. A worker that
// ends during a job fails that job only: a new worker takes over the rest.
// The output folders are made before the first job, and those that end up
// empty (the folders of failed jobs) removed after the last.
// progress is called after every result with the jobs done and failed so far.
// A check (check set) writes nothing and makes no folder: each job only
// compares its files with what it would write, and each file that would
// change gets its diff, of at most diffLines lines (0: all of it).
struct RegenMode {
    bool check = false;
    std::size_t diffLines = 20;
};
std::vector<JobResult> RunJobs(const std::vector<RegenJob>& jobs, int workers,
                               const std::function<void(int done, int failed)>& progress,
                               const RegenMode& mode = {});

}  // namespace olmwiz
