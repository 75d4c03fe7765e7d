// `olmwiz hdl` against real HDL tools. For every block of every installed
// data file a design file is made through the engine's commands (the block,
// its pins, external signals on some pins, a VCC tie and a bit-level tie),
// and the Verilog wrapper with its black boxes must elaborate with Icarus
// Verilog and lint clean with Verilator (-Wall; the black boxes, empty by
// nature, are exempt through a configuration file given on the command line
// only), and the VHDL wrapper must analyse and elaborate with GHDL.
// Also the command line: help, usage errors, unreadable input, unwritable
// output, an illegal design name, a primitive the data files do not know.

#include "EngineTestSupport.h"
#include "GoldenSections.h"
#include "TestSupport.h"

#include "datafiles/Olm_DataFileReader.h"
#include "model/Olm_Attribute.h"
#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_WizData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using enginetest::Cmd;
using Result = olmtest::CommandResult;

// Points the tool at the data files of the source tree.
class HdlTool : public ::testing::Test {
protected:
    void SetUp() override { setenv("OLMW_DATA_DIR", OLM_DATA_SOURCE_DIR, 1); }

    Result Hdl(const std::vector<std::string>& args, std::string* err = nullptr) {
        std::vector<std::string> argv{OLMWIZ_PATH, "hdl"};
        argv.insert(argv.end(), args.begin(), args.end());
        return olmtest::RunIn(m_dir.Path(), argv, err);
    }

    olmtest::ScratchDir m_dir;
};

// Writes the design of one data-file block into the engine; see the file
// comment. The tie pattern of a pin ("OLM_PIN_TIE") is written the way the
// wizards' save writes it: whole-pin ties or one bit property per bit.
void MakeDesign(Olm_Engine& engine, Olm_Block& block) {
    const std::string name = block.GetName().str();
    Cmd(engine, "add", "block", name, block.GetPrimType().str(), "1");
    for (int i = 0; i < block.GetFlagList().GetSize(); ++i)
        Cmd(engine, "add", "blkprop", name, "PROP_" + block.GetFlagList().GetAt(i).str(), "TRUE");
    for (Olm_Attribute* attr : block.GetAttributeList()) {
        if (attr->IsActive() && !attr->GetCurrentValue().IsEmpty())
            Cmd(engine, "add", "blkprop", name, attr->GetName().str(), attr->GetCurrentValue().str());
    }
    bool vccTieDone = false, bitTieDone = false, narrowDone = false;
    std::set<std::string> tieSignals;
    int inputs = 0;
    auto connectExternal = [&](const std::string& sig, const std::string& pin, int width) {
        Cmd(engine, "add", "signal", sig);
        Cmd(engine, "set", "externalsig", sig, sig);
        if (width > 0) Cmd(engine, "set", "bus", sig, std::to_string(width));
        Cmd(engine, "connect", "signal", sig, pin, name);
    };
    auto bitTies = [&](const std::string& pin, int top, const std::string& bits) {
        for (std::size_t i = 0; i < bits.size(); ++i) {
            const std::string bit = std::to_string(top - static_cast<int>(i));
            tieSignals.insert(bits[i] == '1' ? "VCCa" : "GNDa");
            Cmd(engine, "add", "pinprop", pin, name, "OLMW_ONLY_PIN_SIG_BIT_" + bit + ":" + bit,
                (bits[i] == '1' ? "VCCa" : "GNDa") + std::string("[0:0]"));
        }
        Cmd(engine, "connect", "signal", bits[0] == '1' ? "VCCa" : "GNDa", pin, name);
        bitTieDone = true;
    };
    for (Olm_Pin* pin : block.GetPinList()) {
        const std::string pinName = pin->GetName().str();
        const std::string dir = pin->GetDirection() == "OUT" ? "output" : pin->GetDirection() == "INOUT" ? "bidir" : "input";
        const int width = pin->GetWidth();
        const int top = std::max(pin->GetStartBit(), pin->GetEndBit());
        const int busWidth = pin->HasBus() ? width : 0;
        Cmd(engine, "add", "pin", dir, pinName, name);
        Cmd(engine, "set", "pinwidth", pinName, name,
            "[" + std::to_string(pin->GetStartBit()) + ":" + std::to_string(pin->GetEndBit()) + "]");
        if (pin->HasBus()) Cmd(engine, "set", "hasbus", pinName, name);
        bool used = true;
        const std::string tie = pin->GetAttributeValue("OLM_PIN_TIE").str();
        const std::size_t b = tie.find("'b");
        if (pin->IsVcc() || pin->IsGrounded()) {
            Cmd(engine, "set", pin->IsVcc() ? "vccpin" : "gndpin", pinName, name);
        } else if (b != std::string::npos && tie.find('0') != std::string::npos && tie.find('1', b) != std::string::npos) {
            bitTies(pinName, top, tie.substr(b + 2));
        } else if (dir == "output") {
            // One output bus one bit narrower than its pin.
            const bool narrow = !narrowDone && width >= 2;
            narrowDone = narrowDone || narrow;
            connectExternal("o_" + pinName, pinName, narrow ? width - 1 : busWidth);
        } else if (dir == "bidir") {
            connectExternal("io_" + pinName, pinName, busWidth);
        } else if (!vccTieDone && width == 1) {
            Cmd(engine, "set", "vccpin", pinName, name);
            vccTieDone = true;
        } else if (!bitTieDone && width >= 2) {
            std::string bits;
            for (int i = 0; i < width; ++i) bits += i % 2 ? '0' : '1';
            bitTies(pinName, top, bits);
        } else if (inputs++ % 2 == 0) {
            connectExternal("i_" + pinName, pinName, busWidth);
        } else {
            used = false;  // saved as unused: the wrapper ties it to 0
        }
        if (used) Cmd(engine, "add", "pinprop", pinName, name, "PROP_PINISACTIVE", "TRUE");
    }
    for (const std::string& sig : tieSignals) {
        Cmd(engine, "add", "signal", sig);
        Cmd(engine, "set", sig == "VCCa" ? "vccsig" : "gndsig", sig);
    }
}

TEST_F(HdlTool, EveryInstalledPrimitivePassesTheHdlTools) {
    if (!olmtest::OnPath("iverilog") && !olmtest::OnPath("verilator") && !olmtest::OnPath("ghdl"))
        GTEST_SKIP() << "no HDL tool installed";
    int designs = 0;
    for (const auto& entry : fs::directory_iterator(OLM_DATA_SOURCE_DIR)) {
        if (entry.path().extension() != ".dev") continue;
        Olm_WizData wizData;
        {
            Olm_DataFileReader reader;
            ASSERT_TRUE(reader.Open(entry.path().c_str()));
            ASSERT_TRUE(reader.ReadFile(&wizData)) << entry.path();
        }
        const std::string stem = entry.path().stem().string();
        for (Olm_Block* block : wizData.GetBlkList()) {
            const std::string design = stem + "_" + block->GetName().str();
            SCOPED_TRACE(design);
            ++designs;
            Olm_Engine engine;
            engine.SetFamily(stem == "olm_hsx11" ? "korvo4" : "korvo5");
            MakeDesign(engine, *block);
            Pal::String error;
            ASSERT_TRUE(engine.Save(m_dir.File(design + ".kfz").c_str(), &error)) << error.c_str();
            for (const auto& [lang, ext] : {std::pair{"verilog", ".v"}, std::pair{"vhdl", ".vhd"}}) {
                std::string err;
                const Result r = Hdl({"--kfz", design + ".kfz", "--lang", lang, "-o", design + ext, "--stubs",
                                      design + "_stubs" + ext}, &err);
                ASSERT_EQ(r.code, 0) << err;
                EXPECT_EQ(err, "");  // every pin and parameter is known from the data
            }
            const std::string verilogText = olmtest::ReadFile(m_dir.File(design + ".v"));
            EXPECT_NE(verilogText.find("1'b1"), std::string::npos) << "the VCC tie is missing";
            for (const std::string& finding : olmtest::HdlToolFindings(m_dir.Path(), design)) ADD_FAILURE() << finding;
        }
    }
    EXPECT_GE(designs, 15);
}

TEST_F(HdlTool, CommandLinesExitAndReportAsListedAndRefusedOnesWriteNothing) {
    Olm_Engine engine;
    Cmd(engine, "add", "block", "U1", "INV", "1");
    ASSERT_TRUE(engine.Save(m_dir.File("9top.kfz").c_str()));
    ASSERT_TRUE(engine.Save(m_dir.File("top.kfz").c_str()));
    olmtest::GoldenSections golden(OLM_TRANSLATOR_GOLDEN_DIR "/hdl_command_lines.txt");
    golden.CheckAnswers("command lines", [&](const std::string& line) {
        std::istringstream args(line);
        std::string err, first;
        const Result r = Hdl({std::istream_iterator<std::string>(args), std::istream_iterator<std::string>()}, &err);
        std::istringstream shown(err.empty() ? r.output : err);
        while (std::getline(shown, first) && first.find(": warning: ") != std::string::npos) {
        }
        const bool written = fs::exists(m_dir.Path() / "out.v") || fs::exists(m_dir.Path() / "out.vhd");
        EXPECT_FALSE(r.code != 0 && written) << line;
        return std::to_string(r.code) + ": " + first;
    });
}

TEST_F(HdlTool, PrimitiveUnknownToTheDataFilesIsDeclaredFromTheDesignWithAWarning) {
    Olm_Engine engine;
    Cmd(engine, "add", "block", "U1", "INV", "1");
    ASSERT_TRUE(engine.Save(m_dir.File("top.kfz").c_str()));
    std::string err;
    ASSERT_EQ(Hdl({"--kfz", "top.kfz", "--lang", "verilog", "-o", "a.v", "--stubs", "a_stubs.v"}, &err).code, 0);
    EXPECT_NE(err.find("primitive 'INV' is not among the known primitives"), std::string::npos) << err;
    EXPECT_NE(olmtest::ReadFile(m_dir.File("a_stubs.v")).find("module INV;"), std::string::npos);
}

// A primitive of another maker's data file in the data folder: its stubs
// declare every parameter of the data with the data's default and kind, also
// those the design leaves out, and both languages pass the HDL tools.
TEST_F(HdlTool, OtherDataFilesOfTheDataFolderGiveTheirPrimitivesParameters) {
    const std::string dataFile = m_dir.Write("data/acme_fifo.dev",
        "WizData: acme_fifo;\nBlock: FIFO;\nPrimitive: ACME_FIFO;\n"
        "InputPin: WCLK;\nInputPin: DIN; Width=[7:0]; HasBus=TRUE;\nOutputPin: DOUT; Width=[7:0]; HasBus=TRUE;\n"
        "Attribute: DEPTH;\nPossibleValues: OLMRANGE=16:4096;\nDefaultValue: 512;\nEndAttribute;\n"
        "Attribute: RATIO;\nPossibleValues: OLMRANGE=0.5:4.0;\nDefaultValue: 2;\nSaveToKFZ: FALSE;\nEndAttribute;\n"
        "Attribute: MODE;\nPossibleValues: STANDARD, FWFT;\nDefaultValue: FWFT;\nSaveToKFZ: FALSE;\nEndAttribute;\n"
        "EndBlock;\nEndWizData;\n");
    setenv("OLMW_DATA_DIR", fs::path(dataFile).parent_path().c_str(), 1);
    Olm_WizData wizData;
    Olm_DataFileReader reader;
    ASSERT_TRUE(reader.Open(dataFile.c_str()) && reader.ReadFile(&wizData));
    wizData.GetBlkList().front()->GetNamedAttribute("DEPTH")->SetCurrentValue("1024");
    Olm_Engine engine;
    engine.SetFamily("korvo5");
    MakeDesign(engine, *wizData.GetBlkList().front());
    ASSERT_TRUE(engine.Save(m_dir.File("fifo.kfz").c_str()));
    for (const auto& [lang, ext] : {std::pair{"verilog", ".v"}, std::pair{"vhdl", ".vhd"}}) {
        std::string err;
        ASSERT_EQ(Hdl({"--kfz", "fifo.kfz", "--lang", lang, "-o", std::string("fifo") + ext, "--stubs",
                       std::string("fifo_stubs") + ext}, &err).code, 0) << err;
        EXPECT_EQ(err, "") << "the primitive is known from the data";
    }
    const std::string verilog = olmtest::ReadFile(m_dir.File("fifo_stubs.v"));
    for (const char* param : {"parameter integer DEPTH = 512", "parameter real RATIO = 2.0", "parameter MODE = \"FWFT\""})
        EXPECT_NE(verilog.find(param), std::string::npos) << param << " in\n" << verilog;
    const std::string vhdl = olmtest::ReadFile(m_dir.File("fifo_stubs.vhd"));
    for (const char* generic : {"DEPTH : integer := 512", "RATIO : real := 2.0", "MODE : string := \"FWFT\""})
        EXPECT_NE(vhdl.find(generic), std::string::npos) << generic << " in\n" << vhdl;
    EXPECT_NE(olmtest::ReadFile(m_dir.File("fifo.v")).find("DEPTH(1024)"), std::string::npos);
    for (const std::string& finding : olmtest::HdlToolFindings(m_dir.Path(), "fifo")) ADD_FAILURE() << finding;
}

}  // namespace
