#include "proof/Olm_TbSerialBench.h"

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbText.h"

#include <algorithm>

namespace {

constexpr int kWords = 40;
constexpr int kResetWords = 4;

struct Transmitter {
    std::string word, line, clk, clkWord, reset;
    int lines = 0, width = 0;
    bool ddr = true;
    double bitPs = 0.0;
    double ClkPs() const { return ddr ? 2.0 * bitPs : bitPs; }
    // The word clock's period in half periods of the bit clock.
    int WordHalves() const { return ddr ? width : 2 * width; }
};

std::string Num(double value) { return Olm_TbText::Real(value); }

void AddVerilog(const Transmitter& t, Olm_TbText& text) {
    const std::string w = std::to_string(t.width), n = std::to_string(kWords);
    text.Declare("    reg [" + std::to_string(t.lines * t.width - 1) + ":0] tb_words [0:" + std::to_string(kWords - 1) +
                 "];\n    reg [" + std::to_string(t.width - 1) + ":0] tb_got [0:" + std::to_string(t.lines - 1) +
                 "];\n    integer tb_taken = 0, tb_edges = 0, tb_bit = 0, tb_line = 0;\n    bit tb_sending = 0;\n");
    // Both clocks from one process, so that their rising edges coincide.
    std::string c = "    always begin\n"
                    "        #(" + Num(t.ClkPs() / 2.0) + ");\n"
                    "        " + t.clk + " = ~" + t.clk + ";\n"
                    "        tb_edges = tb_edges + 1;\n"
                    "        if ((tb_edges - 1) % " + std::to_string(t.WordHalves()) + " == 0) " + t.clkWord + " = 1'b1;\n"
                    "        else if ((tb_edges - 1) % " + std::to_string(t.WordHalves()) + " == " +
                    std::to_string(t.WordHalves() / 2) + ") " + t.clkWord + " = 1'b0;\n"
                    "    end\n\n";
    c += "    // A new random word on every line between the word clock's rising edges.\n"
         "    always @(negedge " + t.clkWord + ") if (tb_sending) begin\n";
    for (int i = 0; i < t.lines * t.width; i += 32)
        c += "        " + t.word + "[" + std::to_string(std::min(i + 31, t.lines * t.width - 1)) + ":" + std::to_string(i) +
             "] = $urandom;\n";
    c += "    end\n"
         "    always @(posedge " + t.clkWord + ") if (tb_sending && tb_taken < " + n + ") begin\n"
         "        tb_words[tb_taken] = " + t.word + ";\n"
         "        tb_taken = tb_taken + 1;\n"
         "    end\n";
    text.Concurrent(c);

    std::string s;
    if (!t.reset.empty()) s += "        " + t.reset + " = 1'b1;\n";
    s += "        tb_stage = \"reset\";\n"
         "        repeat (" + std::to_string(kResetWords) + ") @(posedge " + t.clkWord + ");\n";
    if (!t.reset.empty()) s += "        " + t.reset + " = 1'b0;\n";
    s += "        repeat (2) @(posedge " + t.clkWord + ");\n"
         "        @(negedge " + t.clkWord + ") tb_sending = 1;\n"
         "        @(posedge " + t.clkWord + ");\n"
         "        tb_stage = \"receiving\";\n"
         "        #(" + Num(t.ClkPs() + t.bitPs / 2.0) + ");\n"
         "        for (tb_bit = 0; tb_bit < " + std::to_string(kWords * t.width) + "; tb_bit = tb_bit + 1) begin\n"
         "            for (tb_line = 0; tb_line < " + std::to_string(t.lines) + "; tb_line = tb_line + 1)\n"
         "                tb_got[tb_line][tb_bit % " + w + "] = " + t.line + (t.lines > 1 ? "[tb_line]" : "") + ";\n"
         "            if (tb_bit % " + w + " == " + std::to_string(t.width - 1) + ")\n"
         "                for (tb_line = 0; tb_line < " + std::to_string(t.lines) + "; tb_line = tb_line + 1)\n"
         "                    tb_check(tb_got[tb_line] === tb_words[tb_bit / " + w + "][tb_line * " + w + " +: " + w +
         "], $sformatf(\"" + t.line + "[%0d] word %0d: received %h, sent %h\", tb_line, tb_bit / " + w +
         ", tb_got[tb_line], tb_words[tb_bit / " + w + "][tb_line * " + w + " +: " + w + "]));\n"
         "            #(" + Num(t.bitPs) + ");\n"
         "        end\n";
    text.Step(s);
}

void AddVhdl(const Transmitter& t, Olm_TbText& text) {
    const std::string w = std::to_string(t.width);
    const int all = t.lines * t.width;
    text.Declare("    type tb_word_list is array (0 to " + std::to_string(kWords - 1) + ") of std_logic_vector(" +
                 std::to_string(all - 1) + " downto 0);\n"
                 "    signal tb_sending : boolean := false;\n"
                 "    signal tb_words : tb_word_list;\n");
    std::string c = "    tb_clocks : process\n"
                    "        variable edges : natural := 0;\n"
                    "    begin\n"
                    "        wait for " + Num(t.ClkPs() / 2.0) + " ps;\n"
                    "        " + t.clk + " <= not " + t.clk + ";\n"
                    "        edges := edges + 1;\n"
                    "        if (edges - 1) mod " + std::to_string(t.WordHalves()) + " = 0 then\n"
                    "            " + t.clkWord + " <= '1';\n"
                    "        elsif (edges - 1) mod " + std::to_string(t.WordHalves()) + " = " +
                    std::to_string(t.WordHalves() / 2) + " then\n"
                    "            " + t.clkWord + " <= '0';\n"
                    "        end if;\n"
                    "    end process;\n\n"
                    "    tb_sender : process\n"
                    "        variable seed1 : positive := 5;\n"
                    "        variable seed2 : positive := 99;\n"
                    "        variable r : real;\n"
                    "        variable word : std_logic_vector(" + std::to_string(all - 1) + " downto 0);\n"
                    "    begin\n"
                    "        wait until falling_edge(" + t.clkWord + ") and tb_sending;\n"
                    "        for i in word'range loop\n"
                    "            uniform(seed1, seed2, r);\n"
                    "            if r >= 0.5 then\n"
                    "                word(i) := '1';\n"
                    "            else\n"
                    "                word(i) := '0';\n"
                    "            end if;\n"
                    "        end loop;\n"
                    "        " + t.word + " <= word;\n"
                    "    end process;\n\n"
                    "    tb_taker : process\n"
                    "        variable taken : natural := 0;\n"
                    "    begin\n"
                    "        wait until rising_edge(" + t.clkWord + ") and tb_sending;\n"
                    "        if taken < " + std::to_string(kWords) + " then\n"
                    "            tb_words(taken) <= " + t.word + ";\n"
                    "            taken := taken + 1;\n"
                    "        end if;\n"
                    "    end process;\n";
    text.Concurrent(c);
    text.ProcessDeclare("        type tb_line_words is array (0 to " + std::to_string(t.lines - 1) +
                        ") of std_logic_vector(" + std::to_string(t.width - 1) + " downto 0);\n"
                        "        variable tb_got : tb_line_words;\n"
                        "        variable tb_sent : std_logic_vector(" + std::to_string(t.width - 1) + " downto 0);\n");
    std::string s;
    if (!t.reset.empty()) s += "        " + t.reset + " <= '1';\n";
    s += "        for i in 1 to " + std::to_string(kResetWords) + " loop\n            wait until rising_edge(" + t.clkWord +
         ");\n        end loop;\n";
    if (!t.reset.empty()) s += "        " + t.reset + " <= '0';\n";
    s += "        for i in 1 to 2 loop\n            wait until rising_edge(" + t.clkWord + ");\n        end loop;\n"
         "        wait until falling_edge(" + t.clkWord + ");\n"
         "        tb_sending <= true;\n"
         "        wait until rising_edge(" + t.clkWord + ");\n"
         "        wait for " + Num(t.ClkPs() + t.bitPs / 2.0) + " ps;\n"
         "        for b in 0 to " + std::to_string(kWords * t.width - 1) + " loop\n"
         "            for k in 0 to " + std::to_string(t.lines - 1) + " loop\n"
         "                tb_got(k)(b mod " + w + ") := " + t.line + "(k)" + ";\n"
         "            end loop;\n"
         "            if b mod " + w + " = " + std::to_string(t.width - 1) + " then\n"
         "                for k in 0 to " + std::to_string(t.lines - 1) + " loop\n"
         "                    tb_sent := tb_words(b / " + w + ")(k * " + w + " + " + std::to_string(t.width - 1) +
         " downto k * " + w + ");\n"
         "                    tb_check(tb_got(k) = tb_sent, \"" + t.line + "(\" & integer'image(k) & \") word \" & integer'image(b / " + w +
         ") & \": received \" & to_hstring(tb_got(k)) & \", sent \" & to_hstring(tb_sent));\n"
         "                end loop;\n"
         "            end if;\n"
         "            wait for " + Num(t.bitPs) + " ps;\n"
         "        end loop;\n";
    text.Step(s);
}

}  // namespace

bool Olm_TbSerialBench::Applies(const Olm_TbDesign& design) { return design.Has("OSER"); }

bool Olm_TbSerialBench::Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error) {
    const Olm_HdlInstance& oser = *design.Instances("OSER").front();
    Transmitter t;
    t.word = design.Value(oser, "OLMW_ONLY_D_PORT", "");
    t.line = design.Value(oser, "OLMW_ONLY_DOUT_PORT", "");
    t.clk = design.Value(oser, "OLMW_ONLY_CLK_PORT", "");
    t.clkWord = design.Value(oser, "OLMW_ONLY_CLKWORD_PORT", "");
    t.reset = design.Value(oser, "OLMW_ONLY_RST_PORT", "");
    t.lines = static_cast<int>(design.Number(oser, "OLMW_ONLY_BUS_WIDTH", 1));
    t.width = static_cast<int>(design.Number(oser, "DATA_WIDTH", 0));
    t.ddr = design.Value(oser, "DATA_RATE_OUT", "DDR") == "DDR";
    const double rate = design.Number(oser, "OLMW_ONLY_BIT_RATE", 0.0);
    if (t.width < 2 || t.width > 16 || t.lines < 1 || t.lines > 64 || (t.ddr && t.width % 2) || !(rate > 0.0 && rate < 1e5)) {
        error = "the transmitter's bus width, word width, data rate or bit rate is missing or not usable";
        return false;
    }
    t.bitPs = 1e6 / rate;
    const auto port = [&design](const std::string& name, int width) {
        const Olm_HdlPort* found = name.empty() ? nullptr : design.FindPort(name);
        return found && found->width == width;
    };
    if (!port(t.word, t.lines * t.width) || !port(t.line, t.lines) || !port(t.clk, 1) || !port(t.clkWord, 1) ||
        (!t.reset.empty() && !port(t.reset, 1))) {
        error = "the transmitter's word, line, clock or reset port is not in the wrapper with its width";
        return false;
    }
    text.SetTimeUnit("1ps");
    const double budget = (kResetWords + kWords + 8) * t.width * t.bitPs * 1.5 + 1e6;
    text.SetWatchdog(text.Verilog() ? Num(budget) : Num(budget) + " ps");
    if (text.Verilog()) AddVerilog(t, text);
    else AddVhdl(t, text);
    return true;
}
