#pragma once

#include "shared/OlmBaseExport.h"

#include <string>
#include <vector>

struct Olm_RunArguments;

// What one run of a wizard is asked to do; Olm_RunSession::Run carries it
// out. Paths may be relative to the working directory.
struct OLM_BASE_EXPORT Olm_RunRequest {
    // The wizard type ("tkl_pll", "dsp_mult", ...): the installed data file
    // follows from it (Olm_Data::DataFileName).
    std::string wizType;
    // The device family. Given together with a design file, it overrides the
    // design file's family; without one it is required.
    std::string family;
    // The design name: the stem of every file written and the name of the HDL
    // module or entity, so it must be a legal name of the HDL chosen.
    std::string design;
    // An existing design file (.kfz) to start from; empty: the defaults of
    // the installed data.
    std::string designFile;
    // An option file applied over the installed data and the design file.
    std::string optionFile;
    // "verilog" or "vhdl": the HDL file <design>.v or <design>.vhd.
    std::string hdl = "verilog";
    // Where the files go; empty: the folder of the design file, else the
    // working directory. Made when missing (and removed again when the run
    // fails). It is the working directory while the wizard runs.
    std::string outputDir;
    // A file that receives every message of the run, and at the end its
    // report or the reason it failed; empty: none.
    std::string logFile;
    // Batch mode: no window; the pages check what the installed data, the
    // design file and the option file give them.
    bool batch = false;
    // Batch messages go to the log (and into the outcome) only, not to
    // standard output.
    bool silent = false;
    // Statements of the option file that the installed data does not define
    // or allow stop the run before anything is written (otherwise they are
    // warnings).
    bool strict = false;
    // Also writes the self-checking testbench <design>_tb.v or _tb.vhd
    // beside the HDL file (Olm_Finisher::SetTestbench).
    bool testbench = false;
    // Writes nothing at all (no file, no output folder, no log): the files
    // are only compared with what the run would write (Olm_RunOutcome's
    // fileStates and checkedContents).
    bool checkOnly = false;
    // Page snapshots instead of a run (window mode only): the window walks
    // its pages on these settings and saves each as a PNG into this folder
    // (Olm_KitMain::SetPageSnapshots); nothing else is written. Empty: a
    // normal run.
    std::string pageSnapshotDir;
    // An unattended window run (--walk): the window, drawn offscreen, is
    // walked as a designer would, Next on every page and then Finish, through
    // the same checks (Olm_KitMain::SetWalkToFinish), and its files are
    // written as a window run writes them. A page that is not complete or
    // refuses Next stops the walk: the run fails, naming the page and its
    // problems, and writes nothing. Message boxes are answered unattended;
    // the run's messages go to the log and the outcome only. Not with batch.
    bool walk = false;

    // An option that the caller of FromArguments reads itself (such as
    // --wizard or --type): its long name without dashes, and whether it takes
    // a value or is a flag.
    struct CallerOption {
        std::string name;
        bool takesValue = true;
    };
    // Reads the options of `olmwiz run` from a program's arguments (argv[0]
    // is the program and is skipped) into a copy of defaults, so that a
    // wizard's main is a few lines:
    //   -f, --family F     --kfz FILE      --options FILE    --hdl verilog|vhdl
    //   -d, --design NAME  --outdir DIR    --log FILE
    //   --batch  --silent  --strict  --testbench  --walk  -h, --help
    // Values follow as the next argument or after "=" (--outdir=out); a value
    // option given twice keeps the last value. A value that begins with "--"
    // is taken only after "=", so that a forgotten value is not mistaken for
    // the next option. callerOptions are read into Olm_RunArguments::callerOptions.
    // Checked: no unknown option or other argument, a value for every value
    // option and none for a flag, a design name (from the arguments or the
    // defaults) that is a name and no path, the language verilog or vhdl,
    // not --walk with --batch.
    // Never exits and prints nothing: the caller reports the problem
    // (Olm_RunArguments, kit/Olm_RunArguments.h).
    static Olm_RunArguments FromArguments(int argc, const char* const* argv, const Olm_RunRequest& defaults,
                                          const std::vector<CallerOption>& callerOptions = {});
    // The same over a default request.
    static Olm_RunArguments FromArguments(int argc, const char* const* argv);
    // The lines of a usage text that describe the options FromArguments
    // reads, each ending in a line feed, -h/--help last: the one description
    // of these options, which `olmwiz run --help` shows too. callerLines, the
    // caller's own options in the same layout, go before the help line.
    static std::string UsageText(const std::string& callerLines = {});
};
