// A block-RAM FIFO wizard as a plugin of olmwiz (wizard bram_fifo, data type
// bram of olm_bram.dev): one block RAM of 36 Kbit as a FIFO, synchronous or
// with a clock per side, with almost-full and almost-empty flags.
#include "OlmKit.h"
#include "plugin/Olm_TestbenchPlugin.h"
#include "plugin/Olm_WizardPlugin.h"

#include <QObject>

#include <algorithm>
#include <string>

namespace {

constexpr int kBits = 36864;  // 32 Kbit of data and 4 Kbit of parity per block RAM

bool Async(const Olm_FieldValues& v) { return v.Text("FIFO_MODE") == "ASYNC"; }

// The words the block RAM holds at a width: 9, 18 and 36 bits use the parity bits.
int Depth(int width) { return width % 9 == 0 ? kBits / width : kBits * 8 / 9 / width; }

class BramFifoWizard : public Olm_KitMain {
public:
    explicit BramFifoWizard(bool batch) : Olm_KitMain("bram_fifo", batch, "Olm Wizard - Block RAM FIFO") {
        SetBlockType("BRAM_FIFO");
        Olm_KitPage& page = AddPage("FIFO Setup", "A first-in first-out buffer in one block RAM.");
        page.AddField("FIFO_MODE", "Clocking:");
        page.AddField("DATA_WIDTH", "Data width (bits):");
        page.AddField("FIRST_WORD_FALL_THROUGH", "First word falls through:");
        page.AddField("DO_REG", "Output register:");
        page.AddField("ALMOST_FULL_OFFSET", "Almost full, words before full:");
        page.AddField("ALMOST_EMPTY_OFFSET", "Almost empty, words after empty:");
        page.AddPort("DI", "Write data port:").BusWidthFrom("DATA_WIDTH");
        page.AddPort("DO", "Read data port:").BusWidthFrom("DATA_WIDTH");
        page.AddPort("WRCLK", "Write clock port:");
        page.AddPort("RDCLK", "Read clock port:").EnabledWhen(Async).WhenDisabled(Olm_Field::Tie::Ground);
        page.AddPort("WREN", "Write enable port:");
        page.AddPort("RDEN", "Read enable port:");
        page.AddPort("RST", "Reset port:");
        page.AddPort("FULL", "Full flag port:");
        page.AddPort("EMPTY", "Empty flag port:");
        page.AddPort("ALMOSTFULL", "Almost full flag port:");
        page.AddPort("ALMOSTEMPTY", "Almost empty flag port:");
        // Checked as the designer types, and in batch mode before anything is written.
        page.AddCheck({"ALMOST_FULL_OFFSET", "ALMOST_EMPTY_OFFSET"}, [](const Olm_FieldValues& v) {
            const int depth = Depth(v.Int("DATA_WIDTH"));
            if (std::max(v.Int("ALMOST_FULL_OFFSET"), v.Int("ALMOST_EMPTY_OFFSET")) < depth) return std::string();
            return "An almost-full or almost-empty offset of " + std::to_string(depth) + " words or more never " +
                   "clears: the FIFO holds " + std::to_string(depth) + " words.";
        });
    }

    bool Apply() override {
        Olm_ModelEdit::SetValue(Block(), "DEPTH", std::to_string(Depth(ModelValues().Int("DATA_WIDTH"))));
        return true;
    }

    std::vector<std::string> FeatureLines() override {
        const Olm_FieldValues& v = ModelValues();
        return {"1 block RAM configured as a " + std::string(Async(v) ? "dual-clock" : "single-clock") + " FIFO: " +
                std::to_string(Depth(v.Int("DATA_WIDTH"))) + " words of " + v.Text("DATA_WIDTH") + " bits" +
                (v.Text("FIRST_WORD_FALL_THROUGH") == "TRUE" ? ", first word falls through." : ".")};
    }

    void AddConstraints(Olm_ConstraintTemplate& pkx) override {
        Olm_KitMain::AddConstraints(pkx);
        pkx.AddClock(ModelValues().Text(Olm_Field::PortAttribute("WRCLK")), 0.0);
        if (Async(ModelValues())) pkx.AddClock(ModelValues().Text(Olm_Field::PortAttribute("RDCLK")), 0.0);
    }
};

// The testbench: after a reset, one word is written and EMPTY must fall after
// the read latency of the first word; then the FIFO is filled to one word
// past full and read empty, each word checked in order on DO (its latency
// set by FIRST_WORD_FALL_THROUGH and DO_REG) and the flags checked against
// the words held after every write and read.
const char* kVerilog[] = {"    integer tb_i, tb_n;\n"
    "    function [${W}-1:0] tb_word(input integer i); tb_word = {3{i[12:0] + 13'd1}}; endfunction\n"
    "    task tb_flags(input integer n); tb_check(${FULL} === (n == ${D}) && ${AF} === (n >= ${D} - ${AFO}) && ${AE} === (n <= ${AEO}) && ${EMPTY} === (n == 0),\n"
    "        $sformatf(\"%0d words held: FULL %b ALMOSTFULL %b ALMOSTEMPTY %b EMPTY %b\", n, ${FULL}, ${AF}, ${AE}, ${EMPTY})); endtask\n",
    "    always #5 ${WC} = ~${WC};\n", "    always #7 ${RC} = ~${RC};\n",
    "        ${RST} = 1; repeat (4) @(posedge ${WC}); ${RST} = 0; repeat (4) @(posedge ${RC}); #1 tb_flags(0);\n"
    "        @(negedge ${WC}) ${DI} = tb_word(0); ${WE} = 1; @(posedge ${WC}) #1 ${WE} = 0;\n"
    "        repeat (${PRE}) begin tb_check(${EMPTY} === 1, \"EMPTY fell before the first word's read latency\"); @(posedge ${RC}) #1; end\n"
    "        tb_check(${EMPTY} === 0 && (!${FWFT} || ${DO} === tb_word(0)), \"the first word is not out after ${PRE} read clock edges\");\n"
    "        for (tb_i = 1; tb_i <= ${D}; tb_i = tb_i + 1) begin\n"
    "            @(negedge ${WC}) ${DI} = tb_word(tb_i); ${WE} = 1; @(posedge ${WC}) #1 ${WE} = 0; tb_flags(tb_i < ${D} ? tb_i + 1 : ${D});\n"
    "        end\n"
    "        for (tb_i = -1; tb_i <= ${D}; tb_i = tb_i + 1) begin\n"
    "            if (tb_i >= 0) begin @(negedge ${RC}) ${RE} = 1; @(posedge ${RC}) #1 ${RE} = 0; end\n"
    "            tb_n = tb_i + 1 - ${LAT};\n"
    "            if (tb_n >= 0 && tb_n < ${D}) tb_check(${DO} === tb_word(tb_n), $sformatf(\"read %0d: DO %h, not word %0d\", tb_i, ${DO}, tb_n));\n"
    "            tb_flags(tb_i + 1 < ${D} ? ${D} - tb_i - 1 : 0);\n"
    "        end\n"};
const char* kVhdl[] = {"    function tb_word(i : natural) return std_logic_vector is\n"
    "        constant n : unsigned(12 downto 0) := to_unsigned((i + 1) mod 8192, 13);\n"
    "    begin\n"
    "        return std_logic_vector(resize(n & n & n, ${W}));\n"
    "    end function;\n",
    "    ${WC} <= not ${WC} after 5 ns;\n", "    ${RC} <= not ${RC} after 7 ns;\n",
    "        ${RST} <= '1'; for i in 1 to 4 loop wait until rising_edge(${WC}); end loop;\n"
    "        ${RST} <= '0'; for i in 1 to 4 loop wait until rising_edge(${RC}); end loop; wait for 1 ns; tb_flags(0);\n"
    "        wait until falling_edge(${WC}); ${DI} <= tb_word(0); ${WE} <= '1'; wait until rising_edge(${WC}); wait for 1 ns; ${WE} <= '0';\n"
    "        for i in 1 to ${PRE} loop\n"
    "            tb_check(${EMPTY} = '1', \"EMPTY fell before the first word's read latency\"); wait until rising_edge(${RC}); wait for 1 ns;\n"
    "        end loop;\n"
    "        tb_check(${EMPTY} = '0' and (not ${FWFT} or ${DO} = tb_word(0)), \"the first word is not out after ${PRE} read clock edges\");\n"
    "        for i in 1 to ${D} loop\n"
    "            wait until falling_edge(${WC}); ${DI} <= tb_word(i); ${WE} <= '1'; wait until rising_edge(${WC}); wait for 1 ns; ${WE} <= '0';\n"
    "            tb_flags(minimum(i + 1, ${D}));\n"
    "        end loop;\n"
    "        for i in -1 to ${D} loop\n"
    "            if i >= 0 then wait until falling_edge(${RC}); ${RE} <= '1'; wait until rising_edge(${RC}); wait for 1 ns; ${RE} <= '0'; end if;\n"
    "            if i + 1 - ${LAT} >= 0 and i + 1 - ${LAT} < ${D} then\n"
    "                tb_check(${DO} = tb_word(i + 1 - ${LAT}), \"read \" & integer'image(i) & \": DO \" & to_hstring(${DO}) & \", not word \" & integer'image(i + 1 - ${LAT}));\n"
    "            end if;\n"
    "            tb_flags(maximum(${D} - i - 1, 0));\n"
    "        end loop;\n",
    "        procedure tb_flags(n : natural) is\n"
    "        begin\n"
    "            tb_check(((${FULL} = '1') = (n = ${D})) and ((${AF} = '1') = (n >= ${D} - ${AFO})) and ((${AE} = '1') = (n <= ${AEO})) and ((${EMPTY} = '1') = (n = 0)),\n"
    "                integer'image(n) & \" words held: FULL \" & to_string(${FULL}) & \" ALMOSTFULL \" & to_string(${AF}) & \" ALMOSTEMPTY \" & to_string(${AE}) & \" EMPTY \" & to_string(${EMPTY}));\n"
    "        end procedure;\n"};

}  // namespace

// What olmwiz loads: makes the wizard for its one wizard type and writes the testbench of BRAM_FIFO.
class BramFifoPlugin : public QObject, public Olm_WizardPlugin, public Olm_TestbenchPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OLM_WIZARD_PLUGIN_IID FILE "bram_fifo.json")
    Q_INTERFACES(Olm_WizardPlugin Olm_TestbenchPlugin)

public:
    std::unique_ptr<Olm_KitMain> MakeWizard(const std::string& wizType, bool batch) override {
        return wizType == "bram_fifo" ? std::make_unique<BramFifoWizard>(batch) : nullptr;
    }

    bool AddTestbench(const Olm_TbDesign& design, Olm_TbText& tb, std::string& error) override {
        const Olm_HdlInstance& fifo = *design.Instances("BRAM_FIFO").front();
        const bool async = design.Value(fifo, "FIFO_MODE", "SYNC") == "ASYNC";
        const bool fwft = design.Flag(fifo, "FIRST_WORD_FALL_THROUGH", false), doReg = design.Number(fifo, "DO_REG", 0) == 1;
        const int width = static_cast<int>(design.Number(fifo, "DATA_WIDTH", 0));
        if (width != 4 && width != 9 && width != 18 && width != 36) {
            error = "the FIFO's DATA_WIDTH is not 4, 9, 18 or 36";
            return false;
        }
        const int depth = Depth(width);
        std::vector<std::pair<std::string, std::string>> names = {
            {"W", std::to_string(width)}, {"D", std::to_string(depth)},
            {"AFO", std::to_string(static_cast<int>(design.Number(fifo, "ALMOST_FULL_OFFSET", 16)))},
            {"AEO", std::to_string(static_cast<int>(design.Number(fifo, "ALMOST_EMPTY_OFFSET", 16)))},
            {"FWFT", tb.Verilog() ? (fwft ? "1" : "0") : (fwft ? "true" : "false")},
            {"PRE", std::to_string(fwft ? 1 + doReg : 0)}, {"LAT", std::to_string(fwft ? 0 : 1 + doReg)}};
        for (const auto& [name, pin] : {std::pair{"DI", "DI"}, {"DO", "DO"}, {"WC", "WRCLK"}, {"RC", async ? "RDCLK" : "WRCLK"},
                                        {"WE", "WREN"}, {"RE", "RDEN"}, {"RST", "RST"}, {"FULL", "FULL"}, {"EMPTY", "EMPTY"},
                                        {"AF", "ALMOSTFULL"}, {"AE", "ALMOSTEMPTY"}}) {
            names.emplace_back(name, design.PortOf(fifo, pin));
            if (names.back().second.empty()) {
                error = std::string("the FIFO's pin ") + pin + " reaches no port of the wrapper";
                return false;
            }
        }
        const char* const* text = tb.Verilog() ? kVerilog : kVhdl;
        tb.SetTimeUnit("1ns");
        tb.SetWatchdog(std::to_string(40 * depth + 1000) + (tb.Verilog() ? "" : " ns"));
        tb.Declare(Olm_TbText::Fill(text[0], names));
        tb.Concurrent(Olm_TbText::Fill(text[1], names) + (async ? Olm_TbText::Fill(text[2], names) : ""));
        tb.Step(Olm_TbText::Fill(text[3], names));
        if (!tb.Verilog()) tb.ProcessDeclare(Olm_TbText::Fill(text[4], names));
        return true;
    }
};

#include "bram_fifo.moc"
