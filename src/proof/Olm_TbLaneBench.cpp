#include "proof/Olm_TbLaneBench.h"

#include "pal/StrUtil.h"
#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbText.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int kWords = 100;
constexpr int kResetRefCycles = 8;

struct Lane {
    std::string refClk, txp, txn, rxp, rxn, txFab, rxFab, txRefOut, txReset, rxReset, txData, txCtrl, rxData, rxCtrl,
        alignEn;
    bool bonded = false;
};

struct Lanes {
    std::vector<Lane> lanes;
    std::string coding;  // 8B10B, 64B66B or NONE
    int width = 0;
    double refPs = 0.0, wordPs = 0.0;
    int preamble = 0;        // words before the first random word
    int commaByte = 0;       // 8B10B: the byte that carries the comma
    int commaChar = 0xBC;    // 8B10B: the comma character
    bool Chars() const { return coding == "8B10B"; }
    // The receiver's words hold the transmitter's from this bit on, looked
    // for in the last two words received: without coding the boundary is
    // where the receiver's first bit arrived, any bit of a word; with coding
    // the lane aligns the words itself.
    int FirstShift() const { return coding == "NONE" ? 1 : width; }
    bool Bonded() const {
        return lanes.size() > 1 && std::all_of(lanes.begin(), lanes.end(), [](const Lane& l) { return l.bonded; });
    }
    // The preamble word as bits, MSB first.
    std::string PreambleBits() const {
        if (!Chars()) return std::string(width, '0');
        std::string bits;
        for (int byte = width / 8 - 1; byte >= 0; --byte) {
            const int value = byte == commaByte ? commaChar : 0x50;  // D16.2 beside the comma
            for (int b = 7; b >= 0; --b) bits += (value >> b) & 1 ? '1' : '0';
        }
        return bits;
    }
    std::string CtrlBits() const {
        std::string bits(width / 8, '0');
        bits[bits.size() - 1 - commaByte] = '1';
        return bits;
    }
};

std::string Num(double value) { return Olm_TbText::Real(value); }
std::string Int(int value) { return std::to_string(value); }
std::string Sfx(std::size_t lane) { return "_" + std::to_string(lane); }

void AddVerilog(const Lanes& g, Olm_TbText& text) {
    const std::string w = Int(g.width), n = Int(kWords);
    std::string d = "    bit tb_go = 0;\n    integer tb_waited = 0, tb_i = 0;\n";
    std::string c;
    std::set<std::string> refClocks;
    for (std::size_t i = 0; i < g.lanes.size(); ++i) {
        const Lane& l = g.lanes[i];
        const std::string s = Sfx(i), clk = l.txRefOut;
        d += "    reg [" + Int(g.width - 1) + ":0] tb_sent" + s + " [0:" + Int(kWords - 1) + "];\n"
             "    reg [" + Int(g.width - 1) + ":0] tb_got" + s + " [0:" + Int(kWords - 1) + "];\n"
             "    reg [" + Int(2 * g.width - 1) + ":0] tb_pair" + s + " = 0;\n"
             "    integer tb_edge" + s + " = 0, tb_n" + s + " = 0, tb_t0" + s + " = -1, tb_cnt" + s + " = 0, tb_lat" + s +
             " = 0, tb_sh" + s + " = " + w + ", tb_try" + s + " = 0;\n"
             "    function automatic [" + Int(g.width - 1) + ":0] tb_word" + s + "(input [" + Int(2 * g.width - 1) +
             ":0] pair, input integer shift);\n"
             "        tb_word" + s + " = pair >> shift;\n"
             "    endfunction\n";
        if (refClocks.insert(l.refClk).second)
            c += "    always #(" + Num(g.refPs / 2.0) + ") " + l.refClk + " = ~" + l.refClk + ";\n";
        c += "    initial for (tb_i = 0; tb_i < " + n + "; tb_i = tb_i + 1) begin\n";
        for (int b = 0; b < g.width; b += 32)
            c += "        tb_sent" + s + "[tb_i][" + Int(std::min(b + 31, g.width - 1)) + ":" + Int(b) + "] = $urandom;\n";
        c += "    end\n"
             "    always @(posedge " + clk + ") tb_edge" + s + " <= tb_edge" + s + " + 1;\n"
             "    // Lane " + Int(static_cast<int>(i)) + ": between the rising edges of its word clock, take what the\n"
             "    // receiver shows and give the transmitter its next word.\n"
             "    always @(negedge " + clk + ") if (tb_go) begin\n"
             "        tb_pair" + s + " = {" + l.rxData + ", tb_pair" + s + "[" + Int(2 * g.width - 1) + ":" + w + "]};\n"
             "        if (tb_cnt" + s + " == 0) begin\n"
             "            for (tb_try" + s + " = " + w + "; tb_try" + s + " >= " + Int(g.FirstShift()) + "; tb_try" + s +
             " = tb_try" + s + " - 1)\n"
             "                if (tb_cnt" + s + " == 0 && tb_t0" + s + " >= 0 && tb_word" + s + "(tb_pair" + s + ", tb_try" + s +
             ") === tb_sent" + s + "[0]) begin\n"
             "                    tb_sh" + s + " = tb_try" + s + ";\n"
             "                    tb_lat" + s + " = tb_edge" + s + " - tb_t0" + s + ";\n"
             "                    tb_got" + s + "[0] = tb_word" + s + "(tb_pair" + s + ", tb_sh" + s + ");\n"
             "                    tb_cnt" + s + " = 1;\n"
             "                end\n"
             "        end else if (tb_cnt" + s + " < " + n + ") begin\n"
             "            tb_got" + s + "[tb_cnt" + s + "] = tb_word" + s + "(tb_pair" + s + ", tb_sh" + s + ");\n"
             "            tb_cnt" + s + " = tb_cnt" + s + " + 1;\n"
             "        end\n"
             "        if (tb_n" + s + " >= " + Int(g.preamble) + " && tb_n" + s + " < " + Int(g.preamble + kWords) + ") begin\n"
             "            " + l.txData + " = tb_sent" + s + "[tb_n" + s + " - " + Int(g.preamble) + "];\n" +
             (l.txCtrl.empty() ? "" : "            " + l.txCtrl + " = 0;\n") +
             "            if (tb_n" + s + " == " + Int(g.preamble) + ") tb_t0" + s + " = tb_edge" + s + " + 1;\n"
             "        end else begin\n"
             "            " + l.txData + " = " + w + "'b" + g.PreambleBits() + ";\n" +
             (l.txCtrl.empty() ? "" : "            " + l.txCtrl + " = " + Int(g.width / 8) + "'b" + g.CtrlBits() + ";\n") +
             "        end\n"
             "        tb_n" + s + " = tb_n" + s + " + 1;\n"
             "    end\n\n";
    }
    text.Declare(d);
    text.Concurrent(c);

    std::string s = "        tb_stage = \"reset\";\n";
    for (const Lane& l : g.lanes) {
        s += "        " + l.txData + " = " + w + "'b" + g.PreambleBits() + ";\n";
        if (!l.txCtrl.empty()) s += "        " + l.txCtrl + " = " + Int(g.width / 8) + "'b" + g.CtrlBits() + ";\n";
        if (!l.alignEn.empty()) s += "        " + l.alignEn + " = 1'b1;\n";
        for (const std::string& reset : {l.txReset, l.rxReset})
            if (!reset.empty()) s += "        " + reset + " = 1'b1;\n";
    }
    s += "        #(" + Num(kResetRefCycles * g.refPs) + ");\n";
    for (const Lane& l : g.lanes)
        for (const std::string& reset : {l.txReset, l.rxReset})
            if (!reset.empty()) s += "        " + reset + " = 1'b0;\n";
    std::string allDone, notDone;
    for (std::size_t i = 0; i < g.lanes.size(); ++i)
        allDone += std::string(i ? " && " : "") + "tb_cnt" + Sfx(i) + " == " + n;
    s += "        tb_go = 1;\n"
         "        tb_stage = \"sending\";\n"
         "        while (!(" + allDone + ") && tb_waited < " + Int(g.preamble + kWords + 200) + ") begin\n"
         "            #(" + Num(g.wordPs) + ");\n"
         "            tb_waited = tb_waited + 1;\n"
         "        end\n";
    for (std::size_t i = 0; i < g.lanes.size(); ++i) {
        const std::string sx = Sfx(i), lane = "lane " + Int(static_cast<int>(i));
        s += "        tb_check(tb_cnt" + sx + " > 0, \"" + lane + " (" + g.lanes[i].rxData + "): word 0 never received\");\n"
             "        if (tb_cnt" + sx + " > 0)\n"
             "            for (tb_i = 0; tb_i < " + n + "; tb_i = tb_i + 1)\n"
             "                tb_check(tb_i < tb_cnt" + sx + " && tb_got" + sx + "[tb_i] === tb_sent" + sx +
             "[tb_i], $sformatf(\"" + lane + " (" + g.lanes[i].rxData + ") word %0d: received %h, sent %h\", tb_i, tb_got" +
             sx + "[tb_i], tb_sent" + sx + "[tb_i]));\n";
        if (g.Bonded() && i > 0)
            s += "        if (tb_cnt" + sx + " > 0 && tb_cnt_0 > 0) tb_check(tb_lat" + sx + " == tb_lat_0, $sformatf(\"bonded " + lane +
                 ": word 0 after %0d word clocks, lane 0 after %0d\", tb_lat" + sx + ", tb_lat_0));\n";
    }
    text.Step(s);
}

void AddVhdl(const Lanes& g, Olm_TbText& text) {
    const std::string n = Int(kWords), n0 = Int(g.width);
    const std::string slv = "std_logic_vector(" + Int(g.width - 1) + " downto 0)";
    std::string d = "    type tb_lane_words is array (0 to " + Int(kWords - 1) + ") of " + slv + ";\n"
                    "    signal tb_go : boolean := false;\n";
    std::string c;
    std::set<std::string> refClocks;
    for (std::size_t i = 0; i < g.lanes.size(); ++i) {
        const Lane& l = g.lanes[i];
        const std::string s = Sfx(i), clk = l.txRefOut;
        d += "    signal tb_sent" + s + ", tb_got" + s + " : tb_lane_words;\n"
             "    signal tb_cnt" + s + ", tb_lat" + s + " : integer := 0;\n";
        if (refClocks.insert(l.refClk).second)
            c += "    " + l.refClk + " <= not " + l.refClk + " after " + Num(g.refPs / 2.0) + " ps;\n";
        c += "    -- Lane " + Int(static_cast<int>(i)) + ": between the rising edges of its word clock, take what the\n"
             "    -- receiver shows and give the transmitter its next word.\n"
             "    tb_lane" + s + " : process\n"
             "        variable seed1 : positive := " + Int(11 + static_cast<int>(i)) + ";\n"
             "        variable seed2 : positive := " + Int(977 + 31 * static_cast<int>(i)) + ";\n"
             "        variable x : real;\n"
             "        variable sent : tb_lane_words;\n"
             "        variable edge, n, cnt : integer := 0;\n"
             "        variable t0 : integer := -1;\n"
             "        variable sh : integer := " + Int(g.width) + ";\n"
             "        variable pair : std_logic_vector(" + Int(2 * g.width - 1) + " downto 0) := (others => '0');\n"
             "    begin\n"
             "        for m in sent'range loop\n"
             "            for b in sent(m)'range loop\n"
             "                uniform(seed1, seed2, x);\n"
             "                if x >= 0.5 then\n"
             "                    sent(m)(b) := '1';\n"
             "                else\n"
             "                    sent(m)(b) := '0';\n"
             "                end if;\n"
             "            end loop;\n"
             "        end loop;\n"
             "        tb_sent" + s + " <= sent;\n"
             "        " + l.txData + " <= \"" + g.PreambleBits() + "\";\n" +
             (l.txCtrl.empty() ? "" : "        " + l.txCtrl + " <= \"" + g.CtrlBits() + "\";\n") +
             "        loop\n"
             "            wait until " + clk + "'event;\n"
             "            if " + clk + " = '1' then\n"
             "                edge := edge + 1;\n"
             "            elsif tb_go then\n"
             "                pair := " + l.rxData + " & pair(" + Int(2 * g.width - 1) + " downto " + n0 + ");\n"
             "                if cnt = 0 then\n"
             "                    for try in " + n0 + " downto " + Int(g.FirstShift()) + " loop\n"
             "                        if cnt = 0 and t0 >= 0 and pair(try + " + Int(g.width - 1) + " downto try) = sent(0) then\n"
             "                            sh := try;\n"
             "                            tb_lat" + s + " <= edge - t0;\n"
             "                            tb_got" + s + "(0) <= pair(try + " + Int(g.width - 1) + " downto try);\n"
             "                            cnt := 1;\n"
             "                        end if;\n"
             "                    end loop;\n"
             "                elsif cnt < " + n + " then\n"
             "                    tb_got" + s + "(cnt) <= pair(sh + " + Int(g.width - 1) + " downto sh);\n"
             "                    cnt := cnt + 1;\n"
             "                end if;\n"
             "                tb_cnt" + s + " <= cnt;\n"
             "                if n >= " + Int(g.preamble) + " and n < " + Int(g.preamble + kWords) + " then\n"
             "                    " + l.txData + " <= sent(n - " + Int(g.preamble) + ");\n" +
             (l.txCtrl.empty() ? "" : "                    " + l.txCtrl + " <= (others => '0');\n") +
             "                    if n = " + Int(g.preamble) + " then\n"
             "                        t0 := edge + 1;\n"
             "                    end if;\n"
             "                else\n"
             "                    " + l.txData + " <= \"" + g.PreambleBits() + "\";\n" +
             (l.txCtrl.empty() ? "" : "                    " + l.txCtrl + " <= \"" + g.CtrlBits() + "\";\n") +
             "                end if;\n"
             "                n := n + 1;\n"
             "            end if;\n"
             "        end loop;\n"
             "    end process;\n\n";
    }
    text.Declare(d);
    text.Concurrent(c);

    std::string s;
    for (const Lane& l : g.lanes) {
        if (!l.alignEn.empty()) s += "        " + l.alignEn + " <= '1';\n";
        for (const std::string& reset : {l.txReset, l.rxReset})
            if (!reset.empty()) s += "        " + reset + " <= '1';\n";
    }
    s += "        wait for " + Num(kResetRefCycles * g.refPs) + " ps;\n";
    for (const Lane& l : g.lanes)
        for (const std::string& reset : {l.txReset, l.rxReset})
            if (!reset.empty()) s += "        " + reset + " <= '0';\n";
    std::string allDone;
    for (std::size_t i = 0; i < g.lanes.size(); ++i)
        allDone += std::string(i ? " and " : "") + "tb_cnt" + Sfx(i) + " = " + n;
    s += "        tb_go <= true;\n"
         "        for i in 1 to " + Int(g.preamble + kWords + 200) + " loop\n"
         "            wait for " + Num(g.wordPs) + " ps;\n"
         "            exit when " + allDone + ";\n"
         "        end loop;\n";
    for (std::size_t i = 0; i < g.lanes.size(); ++i) {
        const std::string sx = Sfx(i), lane = "lane " + Int(static_cast<int>(i));
        s += "        tb_check(tb_cnt" + sx + " > 0, \"" + lane + " (" + g.lanes[i].rxData + "): word 0 never received\");\n"
             "        if tb_cnt" + sx + " > 0 then\n"
             "            for i in 0 to " + Int(kWords - 1) + " loop\n"
             "                tb_check(i < tb_cnt" + sx + " and tb_got" + sx + "(i) = tb_sent" + sx + "(i), \"" + lane +
             " (" + g.lanes[i].rxData + ") word \" & integer'image(i) & \": received \" & to_hstring(tb_got" + sx +
             "(i)) & \", sent \" & to_hstring(tb_sent" + sx + "(i)));\n"
             "            end loop;\n"
             "        end if;\n";
        if (g.Bonded() && i > 0)
            s += "        if tb_cnt" + sx + " > 0 and tb_cnt_0 > 0 then\n"
                 "            tb_check(tb_lat" + sx + " = tb_lat_0, \"bonded " + lane + ": word 0 after \" & integer'image(tb_lat" +
                 sx + ") & \" word clocks, lane 0 after \" & integer'image(tb_lat_0));\n"
                 "        end if;\n";
    }
    text.Step(s);
}

bool IsLane(const Olm_HdlInstance& instance) {
    return Pal::StrUtil::EqualNoCase(instance.primitive, "HSX3") || Pal::StrUtil::EqualNoCase(instance.primitive, "HSX10") ||
           Pal::StrUtil::EqualNoCase(instance.primitive, "HSX11");
}

}  // namespace

bool Olm_TbLaneBench::Applies(const Olm_TbDesign& design) {
    const auto& instances = design.View().instances;
    return std::any_of(instances.begin(), instances.end(), IsLane);
}

bool Olm_TbLaneBench::Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error) {
    Lanes g;
    double lineRate = 0.0, refMHz = 0.0;
    bool first = true;
    for (const Olm_HdlInstance& instance : design.View().instances) {
        if (!IsLane(instance)) continue;
        const std::string name = "lane " + instance.name + ": ";
        const std::string tx = design.Value(instance, "TX_ENCODING", ""), rx = design.Value(instance, "RX_DECODING", "");
        const int txWidth = static_cast<int>(design.Number(instance, "TX_DATA_WIDTH", 0));
        const int rxWidth = static_cast<int>(design.Number(instance, "RX_DATA_WIDTH", 0));
        if (tx != rx || (tx != "8B10B" && tx != "64B66B" && tx != "NONE")) {
            error = name + "the transmitter codes " + tx + " and the receiver decodes " + rx +
                    "; a looped-back lane needs one coding (8B10B, 64B66B or NONE) both ways";
            return false;
        }
        if (txWidth != rxWidth || txWidth < 8 || txWidth > 64 || txWidth % 8) {
            error = name + "the transmit and receive data widths must be equal whole bytes to loop a lane back";
            return false;
        }
        const std::string loopback = design.Value(instance, "LOOPBACK_MODE", "NONE");
        if (loopback == "FAR_END_PMA") {
            error = name + "far-end loopback sends the receive line back out; a testbench cannot loop the lane back";
            return false;
        }
        const std::string comma = design.Value(instance, "COMMA_VALUE", "K28.5");
        int commaChar = comma == "K28.5" ? 0xBC : comma == "K28.1" ? 0x3C : comma == "K28.7" ? 0xFC : -1;
        if (tx == "8B10B" && (!design.Flag(instance, "COMMA_DETECT", false) || commaChar < 0)) {
            error = name + "the receiver detects no comma (K28.1, K28.5 or K28.7), so it cannot find the word boundary";
            return false;
        }
        const double rate = design.Number(instance, "LINE_RATE", 0.0), ref = design.Number(instance, "REFCLK_FREQ", 0.0);
        Lane l;
        l.refClk = design.PortOf(instance, "REFCLK");
        l.txp = design.PortOf(instance, "TXP");
        l.txn = design.PortOf(instance, "TXN");
        l.rxp = design.PortOf(instance, "RXP");
        l.rxn = design.PortOf(instance, "RXN");
        l.txFab = design.PortOf(instance, "TXFABCLK");
        l.rxFab = design.PortOf(instance, "RXFABCLK");
        l.txRefOut = design.PortOf(instance, "TXREFOUT");
        l.txReset = design.PortOf(instance, "TXRESET");
        l.rxReset = design.PortOf(instance, "RXRESET");
        l.txData = design.PortOf(instance, "TXDATA");
        l.rxData = design.PortOf(instance, "RXDATA");
        l.txCtrl = tx == "8B10B" ? design.PortOf(instance, "TXISCTRL") : "";
        l.alignEn = design.PortOf(instance, "RXALIGNEN");
        l.bonded = design.Value(instance, "LANE_BOND_MODE", "NONE") != "NONE";
        for (const Lane& other : g.lanes)
            if (other.rxp == l.rxp || other.txData == l.txData || other.txFab == l.txFab) {
                error = name + "it shares its receive line, data or fabric clock port with another lane; a lane is "
                               "looped back on ports of its own";
                return false;
            }
        if (first) {
            g.coding = tx;
            g.width = txWidth;
            g.commaChar = commaChar;
            g.commaByte = design.Flag(instance, "COMMA_ALIGN_MSB", false) ? txWidth / 8 - 1 : 0;
            lineRate = rate;
            refMHz = ref;
            first = false;
        } else if (tx != g.coding || txWidth != g.width || rate != lineRate || ref != refMHz) {
            error = name + "the lanes differ in coding, width, line rate or reference clock";
            return false;
        }
        // Data and control ports as wide as the data, or the whole pins
        // (a design without the wizard's widths), the data in their low bits.
        const auto port = [&design](const std::string& port, int width, bool wider = false) {
            return design.HasPort(port, width, wider);
        };
        if (!port(l.refClk, 1) || !port(l.txp, 1) || !port(l.rxp, 1) || !port(l.txFab, 1) || !port(l.rxFab, 1) ||
            !port(l.txRefOut, 1) || !port(l.txData, txWidth, true) || !port(l.rxData, txWidth, true) ||
            (tx == "8B10B" && !port(l.txCtrl, txWidth / 8, true))) {
            error = name + "its reference clock, serial, fabric clock, word clock (TXREFOUT), data or control "
                           "character pins are not on wrapper ports of their widths";
            return false;
        }
        for (auto [name, bits] : {std::pair{&l.txData, txWidth}, std::pair{&l.rxData, txWidth}, std::pair{&l.txCtrl, txWidth / 8}})
            if (!name->empty() && design.FindPort(*name)->width > bits)
                *name += text.Verilog() ? "[" + Int(bits - 1) + ":0]" : "(" + Int(bits - 1) + " downto 0)";
        g.lanes.push_back(l);
    }
    if (g.lanes.empty() || !(lineRate > 0.1 && lineRate < 100.0) || !(refMHz > 1.0 && refMHz < 2000.0)) {
        error = "the lanes' line rate or reference clock is missing or not usable";
        return false;
    }
    const double codeRate = g.coding == "8B10B" ? 0.8 : g.coding == "64B66B" ? 64.0 / 66.0 : 1.0;
    g.refPs = 1e6 / refMHz;
    g.wordPs = g.width * 1e3 / lineRate / codeRate;
    // 64B66B: the receiver slips bit by bit until 32 sync headers in a row
    // are good (a block is 64 / width words).
    g.preamble = g.coding == "64B66B" ? 400 * (64 / g.width) : 32;
    for (const Lane& l : g.lanes) {
        text.Loop(l.rxp, l.txp);
        if (!l.rxn.empty() && !l.txn.empty()) text.Loop(l.rxn, l.txn);
        text.Loop(l.txFab, l.txRefOut);
        text.Loop(l.rxFab, l.txRefOut);
    }
    text.SetTimeUnit("1ps");
    const double budget = (kResetRefCycles + 16) * g.refPs + (g.preamble + kWords + 260) * g.wordPs + 1e6;
    text.SetWatchdog(text.Verilog() ? Num(budget) : Num(budget) + " ps");
    if (text.Verilog()) AddVerilog(g, text);
    else AddVhdl(g, text);
    return true;
}
