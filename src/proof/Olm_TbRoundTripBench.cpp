#include "proof/Olm_TbRoundTripBench.h"

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbSerialText.h"
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
    std::string c = Olm_TbSerialText::Clocks(true, l.clk, l.clkWord, l.ClkPs(), l.WordHalves()) +
                    Olm_TbSerialText::WordCounter(true, l.clkWord) +
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
    std::string s = Olm_TbSerialText::Reset(true, l.reset, true);
    s += Olm_TbSerialText::WaitRising(true, kResetWords, l.clkWord) + "        @(negedge " + l.clkWord + ");\n";
    s += Olm_TbSerialText::Reset(true, l.reset, false);
    s += "        tb_first = tb_k + 2;\n"
         "        tb_stage = \"round trip\";\n"
         "        tb_m = tb_first - 1;\n";
    s += Olm_TbSerialText::CheckWords(
        true, l.clkWord, kLatency, kWords,
        "                tb_check(" + l.rxWord + "[" + Int(l.width - 1) + ":0] === tb_words[tb_m % " +
        Int(kResetWords + kWords + 17) + "], $sformatf(\"" + l.rxWord + " word %0d: received %h, sent %h\", tb_m - tb_first, " +
        l.rxWord + "[" + Int(l.width - 1) + ":0], tb_words[tb_m % " + Int(kResetWords + kWords + 17) + "]));\n");
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
    std::string c = Olm_TbSerialText::Clocks(false, l.clk, l.clkWord, l.ClkPs(), l.WordHalves()) + "\n" +
                    Olm_TbSerialText::WordCounter(false, l.clkWord) + "\n"
                    "    -- The next word, taken at the next rising edge of the word clock.\n"
                    "    tb_sender : process\n"
                    "        variable seed1 : positive := 3;\n"
                    "        variable seed2 : positive := 333;\n"
                    "        variable x : real;\n"
                    "        variable word : std_logic_vector(" + Int(l.width - 1) + " downto 0);\n"
                    "    begin\n"
                    "        wait until falling_edge(" + l.clkWord + ");\n" +
                    Olm_TbSerialText::RandomBits(8, "word", "x") +
                    "        " + l.txWord + "(" + Int(l.width - 1) + " downto 0) <= word;\n"
                    "        tb_words(tb_k mod " + Int(ring) + ") <= word;\n"
                    "    end process;\n";
    if (!l.refClk.empty()) c += "    " + l.refClk + " <= not " + l.refClk + " after " + Num(l.refPs / 2.0) + " ps;\n";
    text.Concurrent(c);
    // The line back, a word less half a bit late.
    text.Loop(l.rxLine, "transport " + l.txLine + " after " + Num(l.LinePs()) + " ps");
    text.ProcessDeclare("        variable tb_first, tb_m : integer := 0;\n");
    std::string s = Olm_TbSerialText::Reset(false, l.reset, true);
    s += Olm_TbSerialText::WaitRising(false, kResetWords, l.clkWord) + "        wait until falling_edge(" + l.clkWord + ");\n";
    s += Olm_TbSerialText::Reset(false, l.reset, false);
    s += "        tb_first := tb_k + 2;\n";
    s += Olm_TbSerialText::CheckWords(
        false, l.clkWord, kLatency, kWords,
        "                tb_check(" + l.rxWord + "(" + Int(l.width - 1) + " downto 0) = tb_words(tb_m mod " + Int(ring) +
        "), \"" + l.rxWord + " word \" & integer'image(tb_m - tb_first) & \": received \" & to_hstring(" + l.rxWord + "(" +
        Int(l.width - 1) + " downto 0)) & \", sent \" & to_hstring(tb_words(tb_m mod " + Int(ring) + ")));\n");
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
        l.ddr != (design.Value(iser, "DATA_RATE", "DDR") == "DDR") || !Olm_TbSerialText::WordWidthOk(l.width, l.ddr, 2, 8) ||
        design.Value(oser, "CASCADE_ROLE", "MASTER") != "MASTER" ||
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
    const auto bit = [&design](const std::string& name) { return design.HasPort(name, 1); };
    if (!design.HasPort(l.txWord, l.width, true) || !bit(l.txLine) || !bit(l.rxLine) ||
        !design.HasPort(l.rxWord, l.width, true) || !bit(l.clk) || !bit(l.clkWord) || design.PortOf(iser, "CLK") != l.clk ||
        design.PortOf(iser, "CLKWORD") != l.clkWord || (!l.refClk.empty() && !bit(l.refClk)) ||
        (!l.ready.empty() && !bit(l.ready)) || l.LinePs() < 0.0) {
        error = "the OSER and the ISER are not on word, line and clock ports of their own (the same clocks for both), "
                "or the input delay is longer than a word";
        return false;
    }
    Olm_TbSerialText::SetTiming(text, (kResetWords + kWords + 16) * l.width * l.bitPs * 1.5 + kReadyCycles * l.refPs + 1e6);
    if (text.Verilog()) AddVerilog(l, text);
    else AddVhdl(l, text);
    return true;
}
