#include "proof/Olm_TbReceiveBench.h"

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbSerialText.h"
#include "proof/Olm_TbText.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWords = 40;
constexpr int kResetWords = 4;
constexpr int kReadyCycles = 32;  // reference clock cycles after the reset before ready is checked

struct Receiver {
    std::string word, line, clk, clkWord, reset, refClk, ready;
    bool lineIsVector = true;
    int lines = 0, width = 0;
    bool ddr = true;
    double bitPs = 0.0, delayPs = 0.0, refPs = 0.0;
    double ClkPs() const { return ddr ? 2.0 * bitPs : bitPs; }
    // The word clock's period in half periods of the fast clock.
    int WordHalves() const { return ddr ? width : 2 * width; }
    // Stream bits before bit 0 of word 0: it is sampled one fast-clock
    // period after word-clock edge 0.
    int Lead() const { return ddr ? 2 : 1; }
    // The clocks start this late, so that the first bit (sent half a bit
    // and the delay ahead of its sampling edge) starts after time 0.
    double StartPs() const { return std::ceil(delayPs + bitPs); }
    // The words the bench sends: every word clock from edge 0 until the
    // last checked word has been read.
    int Sent() const { return kResetWords + 4 + kWords + 4; }
    int All() const { return lines * width; }
};

std::string Num(double value) { return Olm_TbText::Real(value); }
std::string Int(int value) { return std::to_string(value); }

void AddVerilog(const Receiver& r, Olm_TbText& text) {
    const std::string w = Int(r.width);
    text.Declare("    reg [" + Int(r.All() - 1) + ":0] tb_words [0:" + Int(r.Sent() - 1) + "];\n"
                 "    integer tb_edges = 0, tb_k = 0, tb_first = 0, tb_m = 0, tb_line = 0, tb_bit = 0;\n"
                 "    integer tb_i = 0, tb_ln = 0;\n");
    std::string c = "    // Both clocks from one process, so that their rising edges coincide.\n" +
                    Olm_TbSerialText::Clocks(true, r.clk, r.clkWord, r.ClkPs(), r.WordHalves(), r.StartPs()) +
                    "\n    // The index of the word clock's current rising edge, as seen at it.\n" +
                    Olm_TbSerialText::WordCounter(true, r.clkWord) + "\n";
    if (!r.refClk.empty()) c += "    always #(" + Num(r.refPs / 2.0) + ") " + r.refClk + " = ~" + r.refClk + ";\n\n";
    // Bit i of the stream is centred on the edge that samples it,
    // StartPs + ClkPs/2 + i x bitPs, less the requested delay.
    c += "    // The serial lines: random words, bit 0 first, each bit centred on the\n"
         "    // edge that samples it after the requested input delay.\n"
         "    initial begin\n"
         "        for (tb_i = 0; tb_i < " + Int(r.Sent()) + "; tb_i = tb_i + 1)\n";
    for (int i = 0; i < r.All(); i += 32)
        c += "            tb_words[tb_i][" + Int(std::min(i + 31, r.All() - 1)) + ":" + Int(i) + "] = $urandom;\n";
    c += "        #(" + Num(r.StartPs() + r.ClkPs() / 2.0 - r.bitPs / 2.0 - r.delayPs) + ");\n"
         "        for (tb_i = 0; tb_i < " + Int(r.Lead() + r.Sent() * r.width) + "; tb_i = tb_i + 1) begin\n"
         "            if (tb_i >= " + Int(r.Lead()) + ")\n"
         "                for (tb_ln = 0; tb_ln < " + Int(r.lines) + "; tb_ln = tb_ln + 1)\n"
         "                    " + r.line + (r.lineIsVector ? "[tb_ln]" : "") + " = tb_words[(tb_i - " + Int(r.Lead()) +
         ") / " + w + "][tb_ln * " + w + " + (tb_i - " + Int(r.Lead()) + ") % " + w + "];\n"
         "            #(" + Num(r.bitPs) + ");\n"
         "        end\n"
         "    end\n";
    text.Concurrent(c);

    std::string s = Olm_TbSerialText::Reset(true, r.reset, true);
    s += "        tb_stage = \"reset\";\n" + Olm_TbSerialText::WaitRising(true, kResetWords, r.clkWord);
    if (!r.ready.empty() && !r.reset.empty())
        s += "        tb_check(" + r.ready + " === 1'b0, \"" + r.ready + " is low in reset\");\n";
    s += "        @(negedge " + r.clkWord + ");\n";
    s += Olm_TbSerialText::Reset(true, r.reset, false);
    s += "        tb_first = tb_k + 1;\n"
         "        tb_stage = \"receiving\";\n"
         "        tb_m = tb_first - 3;\n";
    s += Olm_TbSerialText::CheckWords(
        true, r.clkWord, 2, kWords,
        "                for (tb_line = 0; tb_line < " + Int(r.lines) + "; tb_line = tb_line + 1)\n"
        "                    tb_check(" + r.word + "[tb_line * " + w + " +: " + w + "] === tb_words[tb_m][tb_line * " + w +
        " +: " + w + "], $sformatf(\"" + r.word + " line %0d word %0d: received %h, sent %h\", tb_line, tb_m - tb_first, " +
        r.word + "[tb_line * " + w + " +: " + w + "], tb_words[tb_m][tb_line * " + w + " +: " + w + "]));\n");
    if (!r.ready.empty()) {
        s += "        #(" + Num(kReadyCycles * r.refPs) + ");\n"
             "        tb_check(" + r.ready + " === 1'b1, \"" + r.ready + " is high " + Int(kReadyCycles) +
             " reference clock cycles after the reset\");\n";
    }
    text.Step(s);
}

void AddVhdl(const Receiver& r, Olm_TbText& text) {
    const std::string w = Int(r.width);
    text.Declare("    type tb_word_list is array (0 to " + Int(r.Sent() - 1) + ") of std_logic_vector(" + Int(r.All() - 1) +
                 " downto 0);\n"
                 "    signal tb_words : tb_word_list;\n"
                 "    signal tb_k : natural := 0;\n");
    std::string c = Olm_TbSerialText::Clocks(false, r.clk, r.clkWord, r.ClkPs(), r.WordHalves(), r.StartPs()) +
                    "\n    -- The index of the word clock's current rising edge, as seen at it.\n" +
                    Olm_TbSerialText::WordCounter(false, r.clkWord) + "\n";
    if (!r.refClk.empty()) c += "    " + r.refClk + " <= not " + r.refClk + " after " + Num(r.refPs / 2.0) + " ps;\n\n";
    const std::string lineAt = r.lineIsVector ? r.line + "(k)" : r.line;
    c += "    -- The serial lines: random words, bit 0 first, each bit centred on the\n"
         "    -- edge that samples it after the requested input delay.\n"
         "    tb_sender : process\n"
         "        variable seed1 : positive := 7;\n"
         "        variable seed2 : positive := 1234;\n"
         "        variable x : real;\n"
         "        variable words : tb_word_list;\n"
         "    begin\n"
         "        for m in words'range loop\n" +
         Olm_TbSerialText::RandomBits(12, "words(m)", "x") +
         "        end loop;\n"
         "        tb_words <= words;\n"
         "        wait for " + Num(r.StartPs() + r.ClkPs() / 2.0 - r.bitPs / 2.0 - r.delayPs) + " ps;\n"
         "        for i in 0 to " + Int(r.Lead() + r.Sent() * r.width - 1) + " loop\n"
         "            if i >= " + Int(r.Lead()) + " then\n"
         "                for k in 0 to " + Int(r.lines - 1) + " loop\n"
         "                    " + lineAt + " <= words((i - " + Int(r.Lead()) + ") / " + w + ")(k * " + w + " + (i - " +
         Int(r.Lead()) + ") mod " + w + ");\n"
         "                end loop;\n"
         "            end if;\n"
         "            wait for " + Num(r.bitPs) + " ps;\n"
         "        end loop;\n"
         "        wait;\n"
         "    end process;\n";
    text.Concurrent(c);
    text.ProcessDeclare("        variable tb_first, tb_m : integer := 0;\n"
                        "        variable tb_got, tb_sent : std_logic_vector(" + Int(r.width - 1) + " downto 0);\n");
    std::string s = Olm_TbSerialText::Reset(false, r.reset, true);
    s += Olm_TbSerialText::WaitRising(false, kResetWords, r.clkWord);
    if (!r.ready.empty() && !r.reset.empty())
        s += "        tb_check(" + r.ready + " = '0', \"" + r.ready + " is low in reset\");\n";
    s += "        wait until falling_edge(" + r.clkWord + ");\n";
    s += Olm_TbSerialText::Reset(false, r.reset, false);
    s += "        tb_first := tb_k + 1;\n";
    s += Olm_TbSerialText::CheckWords(
        false, r.clkWord, 2, kWords,
        "                for k in 0 to " + Int(r.lines - 1) + " loop\n"
        "                    tb_got := " + r.word + "(k * " + w + " + " + Int(r.width - 1) + " downto k * " + w + ");\n"
        "                    tb_sent := tb_words(tb_m)(k * " + w + " + " + Int(r.width - 1) + " downto k * " + w + ");\n"
        "                    tb_check(tb_got = tb_sent, \"" + r.word + " line \" & integer'image(k) & \" word \" & "
        "integer'image(tb_m - tb_first) & \": received \" & to_hstring(tb_got) & \", sent \" & to_hstring(tb_sent));\n"
        "                end loop;\n");
    if (!r.ready.empty()) {
        s += "        wait for " + Num(kReadyCycles * r.refPs) + " ps;\n"
             "        tb_check(" + r.ready + " = '1', \"" + r.ready + " is high " + Int(kReadyCycles) +
             " reference clock cycles after the reset\");\n";
    }
    text.Step(s);
}

}  // namespace

bool Olm_TbReceiveBench::Applies(const Olm_TbDesign& design) { return design.Has("ISER"); }

bool Olm_TbReceiveBench::Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error) {
    const Olm_HdlInstance* iser = nullptr;
    for (const Olm_HdlInstance* instance : design.Instances("ISER"))
        if (!iser && design.Value(*instance, "CASCADE_ROLE", "MASTER") != "SLAVE") iser = instance;
    if (!iser) {
        error = "the receiver has no master ISER";
        return false;
    }
    Receiver r;
    r.word = design.Value(*iser, "OLMW_ONLY_Q_PORT", "");
    r.clk = design.Value(*iser, "OLMW_ONLY_CLK_PORT", "");
    r.clkWord = design.Value(*iser, "OLMW_ONLY_CLKWORD_PORT", "");
    r.reset = design.Value(*iser, "OLMW_ONLY_RST_PORT", "");
    r.lines = static_cast<int>(design.Number(*iser, "OLMW_ONLY_BUS_WIDTH", 1));
    r.width = static_cast<int>(design.Number(*iser, "DATA_WIDTH", 0));
    r.ddr = design.Value(*iser, "DATA_RATE", "DDR") == "DDR";
    const double rate = design.Number(*iser, "OLMW_ONLY_BIT_RATE", 0.0);
    const auto delays = design.Instances("IDLY");
    const bool delayed = design.Flag(*iser, "OLMW_ONLY_USE_DELAY", false) && !delays.empty();
    if (delayed) {
        // The serial port is on the delays; the requested delay, not the
        // taps the wizard chose, places the bits.
        r.line = design.Value(*delays.front(), "OLMW_ONLY_I_PORT", "");
        r.delayPs = design.Number(*delays.front(), "OLMW_ONLY_DELAY_PS", -1.0);
        const double refMHz = design.Number(*delays.front(), "REF_FREQ", 0.0);
        r.refPs = refMHz > 0.0 ? 1e6 / refMHz : 0.0;
        for (const Olm_HdlInstance* control : design.Instances("IDLYCTRL")) {
            r.refClk = design.Value(*control, "OLMW_ONLY_REFCLK_PORT", "");
            r.ready = design.Value(*control, "OLMW_ONLY_READY_PORT", "");
        }
        if (r.refClk.empty() || !(r.refPs > 1e3 && r.refPs < 1e5) || !(r.delayPs >= 0.0 && r.delayPs < 1e5)) {
            error = "the receiver's input delay, its reference clock or its reference clock port is missing or not usable";
            return false;
        }
    } else {
        r.line = design.PortOf(*iser, "D");
    }
    if (!Olm_TbSerialText::WordWidthOk(r.width, r.ddr, r.ddr ? 4 : 2, r.ddr ? 10 : 8) ||
        !Olm_TbSerialText::BusOk(r.lines, rate)) {
        error = "the receiver's bus width, word width, data rate or bit rate is missing or not usable";
        return false;
    }
    r.bitPs = 1e6 / rate;
    const auto bit = [&design](const std::string& name) { return design.HasPort(name, 1); };
    if (!design.HasPort(r.word, r.All()) || !design.HasPort(r.line, r.lines) || !bit(r.clk) || !bit(r.clkWord) ||
        (!r.reset.empty() && !bit(r.reset)) || (!r.refClk.empty() && !bit(r.refClk)) ||
        (!r.ready.empty() && !bit(r.ready))) {
        error = "the receiver's word, line, clock, reset or delay controller port is not in the wrapper with its width";
        return false;
    }
    r.lineIsVector = design.FindPort(r.line)->isVector;
    Olm_TbSerialText::SetTiming(text,
                                r.StartPs() + (r.Sent() + 8) * r.width * r.bitPs * 1.5 + kReadyCycles * r.refPs + 1e6);
    if (text.Verilog()) AddVerilog(r, text);
    else AddVhdl(r, text);
    return true;
}
