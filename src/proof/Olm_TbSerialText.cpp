#include "proof/Olm_TbSerialText.h"

#include "proof/Olm_TbText.h"

namespace {

std::string Num(double value) { return Olm_TbText::Real(value); }
std::string Int(int value) { return std::to_string(value); }

}  // namespace

std::string Olm_TbSerialText::Clocks(bool verilog, const std::string& clk, const std::string& clkWord, double clkPs,
                                     int wordHalves, std::optional<double> startPs) {
    const std::string halves = Int(wordHalves), middle = Int(wordHalves / 2);
    if (verilog) {
        // With a start, the clocks run forever in an initial block after it.
        const std::string in(startPs ? 12 : 8, ' ');
        std::string c = startPs ? "    initial begin\n"
                                  "        #(" + Num(*startPs) + ");\n"
                                  "        forever begin\n"
                                : "    always begin\n";
        c += in + "#(" + Num(clkPs / 2.0) + ");\n" +
             in + clk + " = ~" + clk + ";\n" +
             in + "tb_edges = tb_edges + 1;\n" +
             in + "if ((tb_edges - 1) % " + halves + " == 0) " + clkWord + " = 1'b1;\n" +
             in + "else if ((tb_edges - 1) % " + halves + " == " + middle + ") " + clkWord + " = 1'b0;\n";
        return c + (startPs ? "        end\n    end\n" : "    end\n");
    }
    std::string c = "    tb_clocks : process\n"
                    "        variable edges : natural := 0;\n"
                    "    begin\n";
    if (startPs)
        c += "        if edges = 0 then\n"
             "            wait for " + Num(*startPs) + " ps;\n"
             "        end if;\n";
    return c + "        wait for " + Num(clkPs / 2.0) + " ps;\n"
               "        " + clk + " <= not " + clk + ";\n"
               "        edges := edges + 1;\n"
               "        if (edges - 1) mod " + halves + " = 0 then\n"
               "            " + clkWord + " <= '1';\n"
               "        elsif (edges - 1) mod " + halves + " = " + middle + " then\n"
               "            " + clkWord + " <= '0';\n"
               "        end if;\n"
               "    end process;\n";
}

std::string Olm_TbSerialText::WordCounter(bool verilog, const std::string& clkWord) {
    if (verilog) return "    always @(posedge " + clkWord + ") tb_k <= tb_k + 1;\n";
    return "    tb_count : process\n"
           "    begin\n"
           "        wait until rising_edge(" + clkWord + ");\n"
           "        tb_k <= tb_k + 1;\n"
           "    end process;\n";
}

std::string Olm_TbSerialText::Reset(bool verilog, const std::string& reset, bool on) {
    if (reset.empty()) return "";
    if (verilog) return "        " + reset + (on ? " = 1'b1;\n" : " = 1'b0;\n");
    return "        " + reset + (on ? " <= '1';\n" : " <= '0';\n");
}

std::string Olm_TbSerialText::WaitRising(bool verilog, int n, const std::string& clock) {
    if (verilog) return "        repeat (" + Int(n) + ") @(posedge " + clock + ");\n";
    return "        for i in 1 to " + Int(n) + " loop\n            wait until rising_edge(" + clock + ");\n        end loop;\n";
}

std::string Olm_TbSerialText::CheckWords(bool verilog, const std::string& clkWord, int latency, int words,
                                         const std::string& check) {
    if (verilog)
        return "        while (tb_m < tb_first + " + Int(words - 1) + ") begin\n"
               "            @(posedge " + clkWord + ");\n"
               "            tb_m = tb_k - " + Int(latency) + ";\n"
               "            if (tb_m >= tb_first)\n" +
               check + "        end\n";
    return "        loop\n"
           "            wait until rising_edge(" + clkWord + ");\n"
           "            tb_m := tb_k - " + Int(latency) + ";\n"
           "            if tb_m >= tb_first then\n" +
           check +
           "            end if;\n"
           "            exit when tb_m >= tb_first + " + Int(words - 1) + ";\n"
           "        end loop;\n";
}

std::string Olm_TbSerialText::RandomBits(int indent, const std::string& vector, const std::string& x) {
    const std::string in(static_cast<std::size_t>(indent), ' ');
    return in + "for i in " + vector + "'range loop\n" +
           in + "    uniform(seed1, seed2, " + x + ");\n" +
           in + "    if " + x + " >= 0.5 then\n" +
           in + "        " + vector + "(i) := '1';\n" +
           in + "    else\n" +
           in + "        " + vector + "(i) := '0';\n" +
           in + "    end if;\n" +
           in + "end loop;\n";
}

void Olm_TbSerialText::SetTiming(Olm_TbText& text, double budgetPs) {
    text.SetTimeUnit("1ps");
    text.SetWatchdog(text.Verilog() ? Num(budgetPs) : Num(budgetPs) + " ps");
}
