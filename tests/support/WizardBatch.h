#pragma once

// Batch runs of the reference wizards through the run session, as
// `olmwiz run --batch --silent` makes them, for the wizards' tests. Needs the
// wizard table of olmwiz (olmwiz_wizards).

#include "TestSupport.h"
#include "WizardTable.h"

#include "OlmKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace olmtest {

inline bool Contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

// What to run; the option file <out>_<design>.opt and the log <out>.log are
// written beside the output folder <out> in the scratch folder.
struct Batch {
    std::string wizard{};
    std::string options{};     // the option file's text; empty: no option file
    std::string out = "out";
    std::string hdl = "verilog";
    std::string family = "korvo5";
    std::string design = "x";
    std::string kfz{};         // a design file to start from
    std::string dataType{};    // the installed data the generic wizard works on
    bool strict = false;       // the option file may name only what the data and the wizard define
};

struct BatchResult {
    Olm_RunOutcome outcome;
    std::string log;
};

// One session serves every run of a test program, as in a long `olmwiz`
// process that runs many requests.
inline BatchResult RunBatch(const ScratchDir& dir, const Batch& b) {
    static Olm_RunSession session;
    Olm_RunRequest request;
    request.wizType = b.dataType.empty() ? b.wizard : b.dataType;
    request.family = b.family;
    request.design = b.design;
    request.designFile = b.kfz;
    if (!b.options.empty())
        request.optionFile = dir.Write(b.out + "_" + b.design + ".opt", b.options);
    request.hdl = b.hdl;
    request.outputDir = dir.File(b.out);
    request.logFile = dir.File(b.out + ".log");
    request.batch = request.silent = true;
    request.strict = b.strict;
    const olmwiz::WizardEntry* entry = olmwiz::FindWizard(b.wizard);
    BatchResult result{session.Run(request, entry ? olmwiz::FactoryOf(*entry, request.wizType) : nullptr), ""};
    if (std::filesystem::exists(request.logFile))
        result.log = ReadFile(request.logFile);
    return result;
}

// The files a run writes, in both of its folders, are the same bytes.
inline void ExpectSameFiles(const ScratchDir& dir, const std::string& first, const std::string& second,
                            const std::string& design, const std::string& hdlExt = ".v") {
    for (const std::string& file : {design + ".kfz", design + hdlExt, design + "_olmw.pkx"})
        EXPECT_EQ(ReadFile(dir.File(second + "/" + file)), ReadFile(dir.File(first + "/" + file))) << file;
}

#ifdef OLMWIZ_PATH
// `olmwiz hdl` writes the HDL of <folder>/<design>.kfz again, the same bytes
// as the run wrote, with the black boxes <design>_stubs.<ext> beside it.
inline void ExpectHdlWrittenAgain(const std::filesystem::path& folder, const std::string& design, const char* lang) {
    const std::string ext = std::string(lang) == "vhdl" ? ".vhd" : ".v";
    const CommandResult r = RunIn(folder, {OLMWIZ_PATH, "hdl", "--kfz", design + ".kfz", "--lang", lang, "-o",
                                           "again" + ext, "--stubs", design + "_stubs" + ext});
    ASSERT_EQ(r.code, 0) << r.output;
    EXPECT_EQ(ReadFile((folder / ("again" + ext)).string()), ReadFile((folder / (design + ext)).string()));
}
#endif

#ifdef OLM_EXAMPLES_DIR
// The text of a bundled option file.
inline std::string ExampleOptions(const std::string& name) { return ReadFile(OLM_EXAMPLES_DIR "/" + name); }
#endif

}  // namespace olmtest
