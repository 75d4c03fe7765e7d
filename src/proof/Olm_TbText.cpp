#include "proof/Olm_TbText.h"

#include "translator/Olm_HdlDesign.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string VerilogRange(const Olm_HdlPort& port) {
    return port.isVector ? "[" + std::to_string(port.width - 1) + ":0] " : "";
}

std::string VhdlType(const Olm_HdlPort& port) {
    return port.isVector ? "std_logic_vector(" + std::to_string(port.width - 1) + " downto 0)" : "std_logic";
}

}  // namespace

Olm_TbText::Olm_TbText(Olm_HdlGenerator::Language language, std::string design)
    : m_verilog(language == Olm_HdlGenerator::Language::Verilog), m_design(std::move(design)) {}

std::string Olm_TbText::Real(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    return buffer;
}

std::string Olm_TbText::Quote(const std::string& text) const {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += m_verilog ? "\\\"" : "\"\"";
        else if (c == '\\' && m_verilog) quoted += "\\\\";
        else quoted += c;
    }
    return quoted + "\"";
}

std::string Olm_TbText::Fill(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [name, value] : values) {
        const std::string key = "${" + name + "}";
        for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
            text.replace(at, key.size(), value);
    }
    return text;
}

const std::string* Olm_TbText::LoopOf(const std::string& port) const {
    for (const auto& [input, expression] : m_loops)
        if (input == port) return &expression;
    return nullptr;
}

namespace {

// Whether an input port drives the enable (CE) of an instance with a single
// output, a clock buffer: such a port starts high, so that the clock behind
// the buffer runs and can be measured.
bool EnablesABuffer(const Olm_HdlDesign& view, const std::string& port) {
    for (const Olm_HdlInstance& instance : view.instances) {
        int outputs = 0;
        bool enabled = false;
        for (const Olm_HdlConnection& connection : instance.connections) {
            if (connection.pin.dir == Olm_HdlDir::kOut) ++outputs;
            if (connection.pin.dir != Olm_HdlDir::kIn || !Olm_HdlPrimitive::SameName(connection.pin.name, "CE"))
                continue;
            for (const Olm_HdlBit& bit : connection.bits)
                if (bit.kind == Olm_HdlBit::kNet && bit.net == port) enabled = true;
        }
        if (enabled && outputs == 1) return true;
    }
    return false;
}

}  // namespace

std::string Olm_TbText::Text(const Olm_HdlDesign& view) const {
    return m_verilog ? VerilogText(view) : VhdlText(view);
}

std::string Olm_TbText::VerilogText(const Olm_HdlDesign& view) const {
    const std::string tag = m_design + ": ";
    // The watchdog waits in steps of a microsecond: some simulators keep a
    // delay in 32 bits of the time precision (femtoseconds here).
    const double chunk = m_unit == "1ns" ? 1e3 : 1e6;
    const double limit = std::strtod(m_watchdog.c_str(), nullptr);
    const long long chunks = static_cast<long long>(std::ceil(limit / chunk)) + 1;
    std::string text = "// Self-checking testbench of " + m_design + ", written by olmwiz.\n"
                       "// It prints \"PASS " + m_design + ": N checks\" when every check holds, else a line\n"
                       "// \"FAIL " + m_design + ": ...\" for each check that fails, and ends with a\n"
                       "// non-zero exit code.\n"
                       "`timescale " + m_unit + "/1fs\n\n"
                       "module " + m_design + "_tb;\n";
    for (const Olm_HdlPort& port : view.ports) {
        if (const std::string* loop = LoopOf(port.name))
            text += "    wire " + VerilogRange(port) + port.name + " = " + *loop + ";\n";
        else if (port.dir == Olm_HdlDir::kIn)
            text += "    reg " + VerilogRange(port) + port.name + (EnablesABuffer(view, port.name) ? " = 1;\n" : " = 0;\n");
        else text += "    wire " + VerilogRange(port) + port.name + ";\n";
    }
    text += "\n    " + m_design + " dut (";
    for (std::size_t i = 0; i < view.ports.size(); ++i)
        text += std::string(i ? "," : "") + "\n        ." + view.ports[i].name + "(" + view.ports[i].name + ")";
    text += "\n    );\n\n"
            "    integer tb_checks = 0;\n"
            "    integer tb_fails = 0;\n"
            "    string tb_stage = \"starting\";\n\n"
            "    task automatic tb_check(input bit tb_ok, input string tb_what);\n"
            "        tb_checks = tb_checks + 1;\n"
            "        if (!tb_ok) begin\n"
            "            tb_fails = tb_fails + 1;\n"
            "            if (tb_fails <= " + std::to_string(kMaxFailLines) + ") $display(\"FAIL " + tag + "%s\", tb_what);\n"
            "        end\n"
            "    endtask\n\n"
            "    task automatic tb_finish_run;\n"
            "        if (tb_fails > " + std::to_string(kMaxFailLines) + ")\n"
            "            $display(\"FAIL " + tag + "%0d more checks failed\", tb_fails - " + std::to_string(kMaxFailLines) + ");\n"
            "        if (tb_fails == 0) begin\n"
            "            $display(\"PASS " + tag + "%0d checks\", tb_checks);\n"
            "            $finish;\n"
            "        end else begin\n"
            "            // Some simulators go on after $finish until the current step ends.\n"
            "            $fatal(1, \"" + tag + "%0d of %0d checks failed\", tb_fails, tb_checks);\n"
            "        end\n"
            "    endtask\n\n"
            "    function automatic real tb_absr(input real x);\n"
            "        tb_absr = x < 0.0 ? -x : x;\n"
            "    endfunction\n\n"
            "    initial begin\n"
            "        repeat (" + std::to_string(chunks) + ") #(" + Real(chunk) + ");\n"
            "        $display(\"FAIL " + tag + "no result in time (%s)\", tb_stage);\n"
            "        $fatal(1, \"" + tag + "timed out\");\n"
            "    end\n\n";
    text += m_declarations + (m_declarations.empty() ? "" : "\n") + m_concurrent + (m_concurrent.empty() ? "" : "\n");
    text += "    initial begin\n" + m_steps + "        tb_finish_run;\n    end\nendmodule\n";
    return text;
}

std::string Olm_TbText::VhdlText(const Olm_HdlDesign& view) const {
    const std::string tag = m_design + ": ";
    std::string text = "-- Self-checking testbench of " + m_design + ", written by olmwiz.\n"
                       "-- It prints \"PASS " + m_design + ": N checks\" when every check holds, else a line\n"
                       "-- \"FAIL " + m_design + ": ...\" for each check that fails, and stops with a\n"
                       "-- non-zero exit code.\n"
                       "library ieee;\n"
                       "use ieee.std_logic_1164.all;\n"
                       "use ieee.numeric_std.all;\n"
                       "use ieee.math_real.all;\n"
                       "use std.textio.all;\n\n"
                       "entity " + m_design + "_tb is\n"
                       "end entity " + m_design + "_tb;\n\n"
                       "architecture bench of " + m_design + "_tb is\n";
    for (const Olm_HdlPort& port : view.ports) {
        text += "    signal " + port.name + " : " + VhdlType(port);
        if (port.dir == Olm_HdlDir::kIn && !LoopOf(port.name))
            text += port.isVector                       ? " := (others => '0')"
                    : EnablesABuffer(view, port.name) ? " := '1'"
                                                      : " := '0'";
        text += ";\n";
    }
    text += "\n"
            "    procedure tb_say(text : string) is\n"
            "        variable l : line;\n"
            "    begin\n"
            "        write(l, text);\n"
            "        writeline(output, l);\n"
            "    end procedure;\n\n"
            "    -- A time as a number of picoseconds (in parts: an integer holds no\n"
            "    -- more than 2**31 of a unit).\n"
            "    function tb_ps_of(t : time) return real is\n"
            "    begin\n"
            "        return real(t / 1 ns) * 1000.0 + real((t mod 1 ns) / 1 fs) / 1000.0;\n"
            "    end function;\n\n"
            "    function tb_fmt(x : real) return string is\n"
            "    begin\n"
            "        return to_string(x, \"%.3f\");\n"
            "    end function;\n";
    text += m_declarations;
    text += "begin\n"
            "    dut : entity work." + m_design + "\n        port map (";
    for (std::size_t i = 0; i < view.ports.size(); ++i)
        text += std::string(i ? "," : "") + "\n            " + view.ports[i].name + " => " + view.ports[i].name;
    text += "\n        );\n\n";
    for (const auto& [input, expression] : m_loops) text += "    " + input + " <= " + expression + ";\n";
    text += m_concurrent + (m_concurrent.empty() ? "" : "\n");
    text += "    watchdog : process\n"
            "    begin\n"
            "        wait for " + m_watchdog + ";\n"
            "        tb_say(\"FAIL " + tag + "no result in time\");\n"
            "        std.env.stop(1);\n"
            "        wait;\n"
            "    end process;\n\n"
            "    main : process\n"
            "        variable tb_checks : natural := 0;\n"
            "        variable tb_fails : natural := 0;\n\n"
            "        procedure tb_check(tb_ok : boolean; tb_what : string) is\n"
            "        begin\n"
            "            tb_checks := tb_checks + 1;\n"
            "            if not tb_ok then\n"
            "                tb_fails := tb_fails + 1;\n"
            "                if tb_fails <= " + std::to_string(kMaxFailLines) + " then\n"
            "                    tb_say(\"FAIL " + tag + "\" & tb_what);\n"
            "                end if;\n"
            "            end if;\n"
            "        end procedure;\n" +
            m_processDecls +
            "    begin\n" + m_steps +
            "        if tb_fails > " + std::to_string(kMaxFailLines) + " then\n"
            "            tb_say(\"FAIL " + tag + "\" & integer'image(tb_fails - " + std::to_string(kMaxFailLines) + ") & \" more checks failed\");\n"
            "        end if;\n"
            "        if tb_fails = 0 then\n"
            "            tb_say(\"PASS " + tag + "\" & integer'image(tb_checks) & \" checks\");\n"
            "            std.env.finish;\n"
            "        else\n"
            "            std.env.stop(1);\n"
            "        end if;\n"
            "        wait;\n"
            "    end process;\n"
            "end architecture bench;\n";
    return text;
}
