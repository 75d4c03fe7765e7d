#include "proof/Olm_TbRoundTripBench.h"

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbText.h"

#include <algorithm>

namespace {

constexpr int kWords = 40;
constexpr int kResetWords = 4;
constexpr int kLatency = 3;
constexpr int kReadyCycles = 32;

struct Loop {
    std::string txWord, txLine, rxLine, rxWord, clk, clkWord, reset, refClk, ready;
    int width = 0, rxWidth = 0;
    bool ddr = true;
    double bitPs = 0.0, delayPs = 0.0, refPs = 0.0;
    double ClkPs() const { return ddr ? 2.0 * bitPs : bitPs; }
    int WordHalves() const { return ddr ? width : 2 * width; }
    // The loop's own delay: a word less half a bit, less the input delay.
    double LinePs() const { return width * bitPs - bitPs / 2.0 - delayPs; }
};

std::string Num(double value) { return Olm_TbText::Real(value); }
std::string Int(int value) { return std::to_string(value); }

void AddVerilog(const Loop& l, Olm_TbText& text) {
    const std::string w = Int(l.width);
    text.Declare("    reg [" + Int(l.width - 1) + ":0] tb_words [0:" + Int(kResetWords + kWords + 16) + "];\n"
                 "    integer tb_edges = 0, tb_k = 0, tb_first = 0, tb_m = 0;\n"
                 "    reg tb_line = 1'b0;\n");
    std::string c = "    always begin\n"
                    "        #(" + Num(l.ClkPs() / 2.0) + ");\n"
                    "        " + l.clk + " = ~" + l.clk + ";\n"
                    "        tb_edges = tb_edges + 1;\n"
                    "        if ((tb_edges - 1) % " + Int(l.WordHalves()) + " == 0) " + l.clkWord + " = 1'b1;\n"
                    "        else if ((tb_edges - 1) % " + Int(l.WordHalves()) + " == " + Int(l.WordHalves() / 2) + ") " +
                    l.clkWord + " = 1'b0;\n"
                    "    end\n"
                    "    always @(posedge " + l.clkWord + ") tb_k <= tb_k + 1;\n"
                    "    // The next word, taken at the next rising edge of the word clock.\n"
                    "    always @(negedge " + l.clkWord + ") begin\n"
                    "        " + l.txWord + " = $urandom;\n"
                    "        tb_words[tb_k % " + Int(kResetWords + kWords + 17) + "] = " + l.txWord + "[" + Int(l.width - 1) +
                    ":0];\n"
                    "    end\n"
                    "    // The line back, a word less half a bit late.\n"
                    "    always @(" + l.txLine + ") tb_line <= #(" + Num(l.LinePs()) + ") " + l.txLine + ";\n";
    if (!l.refClk.empty()) c += "    always #(" + Num(l.refPs / 2.0) + ") " + l.refClk + " = ~" + l.refClk + ";\n";
    text.Concurrent(c);
    text.Loop(l.rxLine, "tb_line");
    std::string s;
    if (!l.reset.empty()) s += "        " + l.reset + " = 1'b1;\n";
    s += "        repeat (" + Int(kResetWords) + ") @(posedge " + l.clkWord + ");\n"
         "        @(negedge " + l.clkWord + ");\n";
    if (!l.reset.empty()) s += "        " + l.reset + " = 1'b0;\n";
    s += "        tb_first = tb_k + 2;\n"
         "        tb_stage = \"round trip\";\n"
         "        tb_m = tb_first - 1;\n"
         "        while (tb_m < tb_first + " + Int(kWords - 1) + ") begin\n"
         "            @(posedge " + l.clkWord + ");\n"
         "            tb_m = tb_k - " + Int(kLatency) + ";\n"
         "            if (tb_m >= tb_first)\n"
         "                tb_check(" + l.rxWord + "[" + Int(l.width - 1) + ":0] === tb_words[tb_m % " +
         Int(kResetWords + kWords + 17) + "], $sformatf(\"" + l.rxWord + " word %0d: received %h, sent %h\", tb_m - tb_first, " +
         l.rxWord + "[" + Int(l.width - 1) + ":0], tb_words[tb_m % " + Int(kResetWords + kWords + 17) + "]));\n"
         "        end\n";
    if (!l.ready.empty())
        s += "        #(" + Num(kReadyCycles * l.refPs) + ");\n"
             "        tb_check(" + l.ready + " === 1'b1, \"" + l.ready + " is high after the reset\");\n";
    text.Step(s);
}

void AddVhdl(const Loop& l, Olm_TbText& text) {
    const int ring = kResetWords + kWords + 17;
    text.Declare("    type tb_word_list is array (0 to " + Int(ring - 1) + ") of std_logic_vector(" + Int(l.width - 1) +
                 " downto 0);\n"
                 "    signal tb_words : tb_word_list;\n"
                 "    signal tb_k : natural := 0;\n");
    std::string c = "    tb_clocks : process\n"
                    "        variable edges : natural := 0;\n"
                    "    begin\n"
                    "        wait for " + Num(l.ClkPs() / 2.0) + " ps;\n"
                    "        " + l.clk + " <= not " + l.clk + ";\n"
                    "        edges := edges + 1;\n"
                    "        if (edges - 1) mod " + Int(l.WordHalves()) + " = 0 then\n"
                    "            " + l.clkWord + " <= '1';\n"
                    "        elsif (edges - 1) mod " + Int(l.WordHalves()) + " = " + Int(l.WordHalves() / 2) + " then\n"
                    "            " + l.clkWord + " <= '0';\n"
                    "        end if;\n"
                    "    end process;\n\n"
                    "    tb_count : process\n"
                    "    begin\n"
                    "        wait until rising_edge(" + l.clkWord + ");\n"
                    "        tb_k <= tb_k + 1;\n"
                    "    end process;\n\n"
                    "    -- The next word, taken at the next rising edge of the word clock.\n"
                    "    tb_sender : process\n"
                    "        variable seed1 : positive := 3;\n"
                    "        variable seed2 : positive := 333;\n"
                    "        variable x : real;\n"
                    "        variable word : std_logic_vector(" + Int(l.width - 1) + " downto 0);\n"
                    "    begin\n"
                    "        wait until falling_edge(" + l.clkWord + ");\n"
                    "        for i in word'range loop\n"
                    "            uniform(seed1, seed2, x);\n"
                    "            if x >= 0.5 then\n"
                    "                word(i) := '1';\n"
                    "            else\n"
                    "                word(i) := '0';\n"
                    "            end if;\n"
                    "        end loop;\n"
                    "        " + l.txWord + "(" + Int(l.width - 1) + " downto 0) <= word;\n"
                    "        tb_words(tb_k mod " + Int(ring) + ") <= word;\n"
                    "    end process;\n";
    if (!l.refClk.empty()) c += "    " + l.refClk + " <= not " + l.refClk + " after " + Num(l.refPs / 2.0) + " ps;\n";
    text.Concurrent(c);
    // The line back, a word less half a bit late.
    text.Loop(l.rxLine, "transport " + l.txLine + " after " + Num(l.LinePs()) + " ps");
    text.ProcessDeclare("        variable tb_first, tb_m : integer := 0;\n");
    std::string s;
    if (!l.reset.empty()) s += "        " + l.reset + " <= '1';\n";
    s += "        for i in 1 to " + Int(kResetWords) + " loop\n            wait until rising_edge(" + l.clkWord +
         ");\n        end loop;\n"
         "        wait until falling_edge(" + l.clkWord + ");\n";
    if (!l.reset.empty()) s += "        " + l.reset + " <= '0';\n";
    s += "        tb_first := tb_k + 2;\n"
         "        loop\n"
         "            wait until rising_edge(" + l.clkWord + ");\n"
         "            tb_m := tb_k - " + Int(kLatency) + ";\n"
         "            if tb_m >= tb_first then\n"
         "                tb_check(" + l.rxWord + "(" + Int(l.width - 1) + " downto 0) = tb_words(tb_m mod " + Int(ring) +
         "), \"" + l.rxWord + " word \" & integer'image(tb_m - tb_first) & \": received \" & to_hstring(" + l.rxWord + "(" +
         Int(l.width - 1) + " downto 0)) & \", sent \" & to_hstring(tb_words(tb_m mod " + Int(ring) + ")));\n"
         "            end if;\n"
         "            exit when tb_m >= tb_first + " + Int(kWords - 1) + ";\n"
         "        end loop;\n";
    if (!l.ready.empty())
        s += "        wait for " + Num(kReadyCycles * l.refPs) + " ps;\n"
             "        tb_check(" + l.ready + " = '1', \"" + l.ready + " is high after the reset\");\n";
    text.Step(s);
}

}  // namespace

bool Olm_TbRoundTripBench::Applies(const Olm_TbDesign& design) { return design.Has("OSER") && design.Has("ISER"); }

bool Olm_TbRoundTripBench::Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error) {
    const auto osers = design.Instances("OSER"), isers = design.Instances("ISER"), delays = design.Instances("IDLY");
    if (osers.size() != 1 || isers.size() != 1 || delays.size() > 1) {
        error = "a round trip is checked for one OSER and one ISER (and at most one IDLY) only";
        return false;
    }
    const Olm_HdlInstance &oser = *osers.front(), &iser = *isers.front();
    Loop l;
    l.width = static_cast<int>(design.Number(oser, "DATA_WIDTH", 0));
    l.ddr = design.Value(oser, "DATA_RATE_OUT", "DDR") == "DDR";
    if (l.width != static_cast<int>(design.Number(iser, "DATA_WIDTH", 0)) ||
        l.ddr != (design.Value(iser, "DATA_RATE", "DDR") == "DDR") || l.width < 2 || l.width > 8 ||
        (l.ddr && l.width % 2) || design.Value(oser, "CASCADE_ROLE", "MASTER") != "MASTER" ||
        design.Value(iser, "CASCADE_ROLE", "MASTER") != "MASTER") {
        error = "the OSER and the ISER differ in word width or data rate, or are cascaded; no round trip can be checked";
        return false;
    }
    l.bitPs = 1e6 / kBitRateMbps;
    l.txWord = design.PortOf(oser, "D");
    l.txLine = design.PortOf(oser, "DOUT");
    l.clk = design.PortOf(oser, "CLK");
    l.clkWord = design.PortOf(oser, "CLKWORD");
    l.reset = design.PortOf(oser, "RST");
    l.rxWord = design.PortOf(iser, "Q");
    if (!delays.empty()) {
        const Olm_HdlInstance& idly = *delays.front();
        l.rxLine = design.PortOf(idly, "I");
        const double ref = design.Number(idly, "REF_FREQ", 200.0);
        const std::string kind = design.Value(idly, "DELAY_KIND", "FIXED");
        if (kind != "FIXED" && kind != "DEFAULT") {
            error = "the IDLY's delay is " + kind + "; a round trip is checked through a FIXED or DEFAULT delay only";
            return false;
        }
        l.delayPs = kind == "FIXED" ? design.Number(idly, "DELAY_TAPS", 0.0) * 1e6 / (64.0 * ref) : 0.0;
        for (const Olm_HdlInstance* control : design.Instances("IDLYCTRL")) {
            l.refClk = design.PortOf(*control, "REFCLK");
            l.ready = design.PortOf(*control, "READY");
            l.refPs = 1e6 / ref;
        }
    } else {
        l.rxLine = design.PortOf(iser, "D");
    }
    const auto port = [&design](const std::string& name, int width, bool atLeast = false) {
        const Olm_HdlPort* found = name.empty() ? nullptr : design.FindPort(name);
        return found && (atLeast ? found->width >= width : found->width == width);
    };
    if (!port(l.txWord, l.width, true) || !port(l.txLine, 1) || !port(l.rxLine, 1) || !port(l.rxWord, l.width, true) ||
        !port(l.clk, 1) || !port(l.clkWord, 1) || design.PortOf(iser, "CLK") != l.clk ||
        design.PortOf(iser, "CLKWORD") != l.clkWord || (!l.refClk.empty() && !port(l.refClk, 1)) ||
        (!l.ready.empty() && !port(l.ready, 1)) || l.LinePs() < 0.0) {
        error = "the OSER and the ISER are not on word, line and clock ports of their own (the same clocks for both), "
                "or the input delay is longer than a word";
        return false;
    }
    text.SetTimeUnit("1ps");
    const double budget = (kResetWords + kWords + 16) * l.width * l.bitPs * 1.5 + kReadyCycles * l.refPs + 1e6;
    text.SetWatchdog(text.Verilog() ? Num(budget) : Num(budget) + " ps");
    if (text.Verilog()) AddVerilog(l, text);
    else AddVhdl(l, text);
    return true;
}
