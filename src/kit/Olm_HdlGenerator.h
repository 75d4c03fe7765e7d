#pragma once

#include "shared/OlmBaseExport.h"
#include "shared/Olm_HdlLanguage.h"
#include "translator/Olm_DesignRules.h"

#include <string>
#include <string_view>
#include <vector>

class Olm_HdlDesign;
class Olm_HdlPrimitive;
class Olm_KfzDesign;
class Olm_WizData;

// Writes the HDL wrapper of a design in the process: a Verilog module or a
// VHDL entity named after the design, with a port per external net and an
// instance per block, and on request black-box declarations of the
// primitives it uses. The primitives' pins and parameters (names, defaults
// and kinds) come from the installed wizard data files: those of the
// reference wizard types, then every other `*.dev` file of the data folder.
// They are read on the first use and kept, so that one generator serves many
// designs of a family. `olmwiz hdl` and
// `olmwiz-hdl` are this class on the command line; their output is the same.
class OLM_BASE_EXPORT Olm_HdlGenerator {
public:
    // The library's one HDL enum (Olm_HdlLanguage), by its older name here.
    using Language = Olm_HdlLanguage;

    // "verilog" or "vhdl" (letter case does not count); false for any other
    // (Olm_HdlLanguageNames::FromName).
    static bool LanguageOf(std::string_view name, Language& language);
    // The file extension of the language: ".v" or ".vhd".
    static const char* Extension(Language language);

    // family chooses the transceiver data file that is searched first.
    explicit Olm_HdlGenerator(std::string family);
    ~Olm_HdlGenerator();
    Olm_HdlGenerator(const Olm_HdlGenerator&) = delete;
    Olm_HdlGenerator& operator=(const Olm_HdlGenerator&) = delete;

    // The design-rule findings of the design's wrapper (Olm_DesignRules),
    // empty for a clean design; false with error when the design cannot be
    // read as HDL at all (a parameter value of the wrong kind).
    bool Check(const Olm_KfzDesign& design, const std::string& designName, std::vector<Olm_DesignFinding>& findings,
               std::string& error);

    // The netlist view that Write prints (Olm_HdlDesign: the wrapper's ports,
    // nets and instances), built the same way and unchecked; false with error
    // when the design cannot be read as HDL. The core symbol (Olm_CoreSymbol)
    // takes its ports from here, so that it never disagrees with the wrapper.
    bool View(const Olm_KfzDesign& design, const std::string& designName, Olm_HdlDesign& view, std::string& error);

    // The wrapper (and the stubs when asked for) of the design; false with
    // error saying why: the design cannot be read as HDL or breaks a design
    // rule (DesignRefused; Findings lists the broken rules), or the language
    // cannot express it (a name it does not allow, ...).
    // Rules::kCheckedByCaller: the caller has checked this design with Check
    // and found it clean (a finish checks before it writes any file), so the
    // rules are not run a second time.
    enum class Rules { kCheck, kCheckedByCaller };
    bool Write(const Olm_KfzDesign& design, const std::string& designName, Language language,
               std::string& wrapper, std::string* stubs, std::string& error, Rules rules = Rules::kCheck);
    // How many times this generator has run the design rules (Check, and
    // Write unless told they were checked).
    int RuleRuns() const { return m_ruleRuns; }

    // What the last Write handled in a way of its own (a pin bit outside its
    // pin, a tie wider than its pin, ...).
    const std::vector<std::string>& Warnings() const { return m_warnings; }
    // Whether the last failed Write failed on the design rather than on the
    // language.
    bool DesignRefused() const { return m_designRefused; }
    // The design rules the last Write or Check found broken.
    const std::vector<Olm_DesignFinding>& Findings() const { return m_findings; }
    // What the installed data gave that was not believed (a pin width of
    // millions of bits is declared as one bit).
    const std::vector<std::string>& DataWarnings();
    // How many installed data files gave primitives (0: the primitives are
    // declared from the design alone).
    int DataFilesRead();

private:
    void LoadPrimitives();
    // Adds the primitives of one data file that no earlier file gave.
    void AddPrimitives(Olm_WizData& data);

    std::string m_family;
    bool m_loaded = false;
    bool m_designRefused = false;
    int m_filesRead = 0;
    int m_ruleRuns = 0;
    std::vector<Olm_HdlPrimitive> m_library;
    std::vector<std::string> m_dataWarnings;
    std::vector<std::string> m_warnings;
    std::vector<Olm_DesignFinding> m_findings;
};
