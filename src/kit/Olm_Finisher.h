#pragma once

#include "kit/Olm_FileState.h"
#include "kit/Olm_HdlGenerator.h"
#include "shared/OlmBaseExport.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Olm_KfzWizData;
namespace Pal {
class Process;
}

// The finishing work of a wizard: the configured model is stored in a fresh
// design of the bridge's engine and written out as the design file
// <design>.kfz, the HDL file <design>.v or <design>.vhd and the constraint
// template <design>_olmw.pkx, all in one output folder.
//
// Before anything is written, the design is checked against the design rules
// (Olm_DesignRules): a design that breaks one is refused, no file is
// written, and Error() lists the findings.
//
// The files are written together or not at all: each is made in a scratch
// folder inside the output folder first and moved into place only when all
// of them are ready, so a failure leaves the folder as it was. (Should a move
// fail half way, which the disk alone can cause, the error names the files
// that were replaced and those that were not.)
//
// A file that already holds exactly the bytes it would get is left alone (no
// write, no rename: its modification time and inode stay), so that tools
// which look at times redo nothing; States() says which files were written
// and which were unchanged. With SetCheckOnly nothing at all is written: the
// files are only compared with what a run would write.
//
// The HDL file is written in this process (Olm_HdlGenerator) unless a child
// process is set with SetHdlTool: `olmwiz-hdl`, whose installed path
// InstalledHdlTool gives, started with the staged design file, while a wait
// function (the wait dialog in a window) watches it.
class OLM_BASE_EXPORT Olm_Finisher {
public:
    // Waits for the HDL child process and returns its exit code, or -1 when
    // the user gave up waiting (the child is then stopped).
    using ChildWait = std::function<int(Pal::Process& child)>;

    // The output folder must exist. No HDL language: only the design file
    // is written.
    Olm_Finisher(Olm_KfzWizData& bridge, std::string outputDir, std::string design);
    ~Olm_Finisher();
    Olm_Finisher(const Olm_Finisher&) = delete;
    Olm_Finisher& operator=(const Olm_Finisher&) = delete;

    // The HDL file and the constraint template are written in this language.
    void SetHdl(Olm_HdlGenerator::Language language);
    // Also writes the self-checking testbench <design>_tb.v or _tb.vhd
    // (Olm_TestbenchWriter) beside the HDL file, from the design file as
    // written; with the other files or not at all. Needs an HDL language.
    void SetTestbench(bool testbench) { m_testbench = testbench; }
    // A generator to use instead of one of the finisher's own (it keeps the
    // installed primitives between runs); not owned.
    void SetHdlGenerator(Olm_HdlGenerator* generator);
    // Writes the HDL file with this program instead of in the process:
    // program arguments... --kfz FILE --lang LANG -o FILE.
    void SetHdlTool(std::string program, std::vector<std::string> arguments, ChildWait wait);
    // The installed olmwiz-hdl, found beside the library's own installation
    // (<prefix>/bin/olmwiz-hdl); empty when it is not there.
    static std::string InstalledHdlTool();
    // Removes the scratch folders that runs of the design in outputDir left
    // when they were killed: only folders of the scratch-name pattern that no
    // run in progress holds locked (every run locks its own while it lives).
    static void RemoveStaleScratch(const std::string& outputDir, const std::string& design);

    // Writes nothing: Run compares each file with the bytes it would get,
    // and States() says kUnchanged, kNew or kChanged. The HDL file is then
    // made in this process, whatever SetHdlTool gave.
    void SetCheckOnly(bool checkOnly) { m_checkOnly = checkOnly; }

    std::string DesignFile() const;
    // Empty without an HDL language.
    std::string HdlFile() const;
    std::string ConstraintFile() const;
    // Empty without a testbench.
    std::string TestbenchFile() const;

    // Stores the model, writes the files and moves them into place; the
    // constraint template's text is given. False with Error() saying why.
    bool Run(const std::string& constraintText);
    const std::string& Error() const { return m_error; }
    // The files moved into place, in order (all three, or four with the
    // testbench, after a success, unless some of them were unchanged).
    const std::vector<std::string>& Written() const { return m_written; }
    // Every file of the run in order (design, HDL, constraint template) and,
    // beside, what became of it; after a failure only the files written.
    const std::vector<std::string>& Files() const { return m_files; }
    const std::vector<Olm_FileState>& States() const { return m_states; }
    // With SetCheckOnly, the bytes a run would write, beside Files(); empty
    // otherwise.
    const std::vector<std::string>& Contents() const { return m_contents; }

private:
    bool Fail(std::string error);
    bool HdlInProcess(const std::string& kfzText, std::string& hdlText);
    bool HdlByTool(const std::string& stagedKfz, const std::string& stagedHdl);
    bool TestbenchText(const std::string& kfzText, std::string& testbenchText);
    // The generator given with SetHdlGenerator, else one of the finisher's own.
    Olm_HdlGenerator& Generator();

    Olm_KfzWizData& m_bridge;
    std::string m_outputDir;
    std::string m_design;
    bool m_hdl = false;
    bool m_testbench = false;
    Olm_HdlGenerator::Language m_language = Olm_HdlGenerator::Language::Verilog;
    Olm_HdlGenerator* m_generator = nullptr;
    std::unique_ptr<Olm_HdlGenerator> m_ownGenerator;
    std::string m_tool;
    std::vector<std::string> m_toolArguments;
    ChildWait m_wait;
    std::string m_error;
    std::vector<std::string> m_written;
    bool m_checkOnly = false;
    std::vector<std::string> m_files;
    std::vector<Olm_FileState> m_states;
    std::vector<std::string> m_contents;
};
