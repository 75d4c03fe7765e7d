#pragma once

#include "kit/Olm_HdlGenerator.h"
#include "shared/OlmBaseExport.h"

#include <string>
#include <utility>
#include <vector>

class Olm_HdlDesign;

// The frame every testbench shares, in Verilog or VHDL: the signals of the
// wrapper's ports, the wrapper's instance, a check procedure that counts the
// checks and prints a line "FAIL <design>: <check>" for each that fails (the
// first kMaxFailLines, then how many more), the end of the run with the line
// "PASS <design>: N checks" and a zero exit code, or a non-zero exit code
// after a failure ($fatal in Verilog, std.env.stop(1) in VHDL), and a
// watchdog that fails the run when it has not ended in time.
//
// A bench adds its declarations, its concurrent statements (Verilog: module
// items; VHDL: architecture statements) and the steps of its main sequence
// (Verilog: statements of an initial block; VHDL: of a process), each in the
// language of the testbench. The checks are written as tb_check(condition,
// text) in either language.
class OLM_BASE_EXPORT Olm_TbText {
public:
    static constexpr int kMaxFailLines = 20;

    Olm_TbText(Olm_HdlGenerator::Language language, std::string design);

    bool Verilog() const { return m_verilog; }
    const std::string& Design() const { return m_design; }

    // Verilog: the time unit of the testbench, "1ps" or "1ns" (the precision
    // is 1fs).
    void SetTimeUnit(std::string unit) { m_unit = std::move(unit); }
    // The simulated time after which the run fails: a number of time units
    // (Verilog) or a VHDL time expression.
    void SetWatchdog(std::string limit) { m_watchdog = std::move(limit); }

    void Declare(const std::string& text) { m_declarations += text; }
    void Concurrent(const std::string& text) { m_concurrent += text; }
    void Step(const std::string& text) { m_steps += text; }
    // Drives an input port of the wrapper from an expression (an output
    // port looped back) instead of from the testbench's steps.
    void Loop(const std::string& input, const std::string& expression) { m_loops.emplace_back(input, expression); }
    // VHDL: declarations of the main process (variables).
    void ProcessDeclare(const std::string& text) { m_processDecls += text; }

    // The whole testbench of the wrapper view.
    std::string Text(const Olm_HdlDesign& view) const;

    // A number as a literal both languages read as a real: "12.500000".
    static std::string Real(double value);
    // A text as a string literal (quotes doubled or escaped).
    std::string Quote(const std::string& text) const;
    // The text with each ${NAME} of the names given replaced by its value
    // (ports, numbers): a bench kept as HDL text with its names in it.
    // ${...} of a name not given stays as it is.
    static std::string Fill(std::string text, const std::vector<std::pair<std::string, std::string>>& values);

private:
    std::string VerilogText(const Olm_HdlDesign& view) const;
    std::string VhdlText(const Olm_HdlDesign& view) const;

    bool m_verilog;
    std::string m_design;
    std::string m_unit = "1ps";
    std::string m_watchdog = "1000000";
    std::string m_declarations, m_concurrent, m_steps, m_processDecls;
    std::vector<std::pair<std::string, std::string>> m_loops;  // input port, expression
    const std::string* LoopOf(const std::string& port) const;
};
