#include "proof/Olm_TbSerialBench.h"

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbSerialText.h"
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
    std::string c = Olm_TbSerialText::Clocks(true, t.clk, t.clkWord, t.ClkPs(), t.WordHalves()) + "\n";
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

    std::string s = Olm_TbSerialText::Reset(true, t.reset, true);
    s += "        tb_stage = \"reset\";\n" + Olm_TbSerialText::WaitRising(true, kResetWords, t.clkWord);
    s += Olm_TbSerialText::Reset(true, t.reset, false);
    s += Olm_TbSerialText::WaitRising(true, 2, t.clkWord) +
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
    std::string c = Olm_TbSerialText::Clocks(false, t.clk, t.clkWord, t.ClkPs(), t.WordHalves()) + "\n"
                    "    tb_sender : process\n"
                    "        variable seed1 : positive := 5;\n"
                    "        variable seed2 : positive := 99;\n"
                    "        variable r : real;\n"
                    "        variable word : std_logic_vector(" + std::to_string(all - 1) + " downto 0);\n"
                    "    begin\n"
                    "        wait until falling_edge(" + t.clkWord + ") and tb_sending;\n" +
                    Olm_TbSerialText::RandomBits(8, "word", "r") +
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
    std::string s = Olm_TbSerialText::Reset(false, t.reset, true);
    s += Olm_TbSerialText::WaitRising(false, kResetWords, t.clkWord);
    s += Olm_TbSerialText::Reset(false, t.reset, false);
    s += Olm_TbSerialText::WaitRising(false, 2, t.clkWord) +
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
    if (!Olm_TbSerialText::WordWidthOk(t.width, t.ddr, 2, 16) || !Olm_TbSerialText::BusOk(t.lines, rate)) {
        error = "the transmitter's bus width, word width, data rate or bit rate is missing or not usable";
        return false;
    }
    t.bitPs = 1e6 / rate;
    if (!design.HasPort(t.word, t.lines * t.width) || !design.HasPort(t.line, t.lines) || !design.HasPort(t.clk, 1) ||
        !design.HasPort(t.clkWord, 1) || (!t.reset.empty() && !design.HasPort(t.reset, 1))) {
        error = "the transmitter's word, line, clock or reset port is not in the wrapper with its width";
        return false;
    }
    Olm_TbSerialText::SetTiming(text, (kResetWords + kWords + 8) * t.width * t.bitPs * 1.5 + 1e6);
    if (text.Verilog()) AddVerilog(t, text);
    else AddVhdl(t, text);
    return true;
}
