#pragma once

#include <string>

// What one run of a wizard is asked to do; Olm_RunSession::Run carries it
// out. Paths may be relative to the working directory.
struct Olm_RunRequest {
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
};
