// `olmwiz hdl` against real HDL tools. For every block of every installed
// data file a design file is made through the engine's commands (the block,
// its pins, external signals on some pins, a VCC tie and a bit-level tie),
// and the Verilog wrapper with its black boxes must elaborate with Icarus
// Verilog and lint clean with Verilator (-Wall; the black boxes, empty by
// nature, are exempt through a configuration file given on the command line
// only), and the VHDL wrapper must analyse and elaborate with GHDL.
// Also the command line: help, usage errors, unreadable input, unwritable
// output, an illegal design name, byte-identical reruns.

#include "TestSupport.h"

#include "datafiles/Olm_DataFileReader.h"
#include "engine/Olm_Engine.h"
#include "model/Olm_Attribute.h"
#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_WizData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Result = olmtest::CommandResult;
using olmtest::RunIn;

// Points the tool at the data files of the source tree.
class HdlTool : public ::testing::Test {
protected:
    void SetUp() override { setenv("OLMW_DATA_DIR", OLM_DATA_SOURCE_DIR, 1); }

    Result Hdl(const std::vector<std::string>& args, std::string* err = nullptr) {
        std::vector<std::string> argv{OLMWIZ_PATH, "hdl"};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunIn(m_dir.Path(), argv, err);
    }

    olmtest::ScratchDir m_dir;
};

std::string Cmd(Olm_Engine& engine, const char* cmd, const char* a1, const std::string& a2 = {},
                const std::string& a3 = {}, const std::string& a4 = {}, const std::string& a5 = {}) {
    auto arg = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
    return engine.Execute(cmd, a1, arg(a2), arg(a3), arg(a4), arg(a5)).str();
}

// Writes the design of one data-file block into the engine; see the file
// comment. The tie pattern of a pin ("OLM_PIN_TIE") is written the way the
// wizards' save writes it: whole-pin ties or one bit property per bit.
void MakeDesign(Olm_Engine& engine, Olm_Block& block) {
    const std::string name = block.GetName().str();
    Cmd(engine, "add", "block", name, block.GetPrimType().str(), "1");
    for (int i = 0; i < block.GetFlagList().GetSize(); ++i) {
        Cmd(engine, "add", "blkprop", name, "PROP_" + block.GetFlagList().GetAt(i).str(), "TRUE");
    }
    for (Olm_Attribute* attr : block.GetAttributeList()) {
        if (attr->IsActive() && !attr->GetCurrentValue().IsEmpty()) {
            Cmd(engine, "add", "blkprop", name, attr->GetName().str(), attr->GetCurrentValue().str());
        }
    }
    bool vccTieDone = false;
    bool bitTieDone = false;
    bool narrowDone = false;
    bool vccaUsed = false;
    bool gndaUsed = false;
    int inputs = 0;
    auto external = [&](const std::string& sig, int width) {
        Cmd(engine, "add", "signal", sig);
        Cmd(engine, "set", "externalsig", sig, sig);
        if (width > 0) Cmd(engine, "set", "bus", sig, std::to_string(width));
    };
    auto bitTies = [&](const std::string& pin, int top, const std::string& bits) {
        for (std::size_t i = 0; i < bits.size(); ++i) {
            const int bit = top - static_cast<int>(i);
            const std::string sig = bits[i] == '1' ? "VCCa" : "GNDa";
            (bits[i] == '1' ? vccaUsed : gndaUsed) = true;
            Cmd(engine, "add", "pinprop", pin, name,
                "OLMW_ONLY_PIN_SIG_BIT_" + std::to_string(bit) + ":" + std::to_string(bit), sig + "[0:0]");
        }
        Cmd(engine, "connect", "signal", bits[0] == '1' ? "VCCa" : "GNDa", pin, name);
    };
    for (Olm_Pin* pin : block.GetPinList()) {
        const std::string pinName = pin->GetName().str();
        const std::string dir = pin->GetDirection() == "OUT" ? "output" : pin->GetDirection() == "INOUT" ? "bidir"
                                                                                                           : "input";
        const int width = pin->GetWidth();
        Cmd(engine, "add", "pin", dir, pinName, name);
        Cmd(engine, "set", "pinwidth", pinName, name,
            "[" + std::to_string(pin->GetStartBit()) + ":" + std::to_string(pin->GetEndBit()) + "]");
        if (pin->HasBus()) Cmd(engine, "set", "hasbus", pinName, name);
        Cmd(engine, "add", "pinprop", pinName, name, "PROP_PINISACTIVE", "TRUE");
        const std::string tie = pin->GetAttributeValue("OLM_PIN_TIE").str();
        const std::size_t b = tie.find("'b");
        if (pin->IsVcc()) {
            Cmd(engine, "set", "vccpin", pinName, name);
        } else if (pin->IsGrounded()) {
            Cmd(engine, "set", "gndpin", pinName, name);
        } else if (b != std::string::npos && tie.find('0') != std::string::npos && tie.find('1', b) != std::string::npos) {
            bitTies(pinName, std::max(pin->GetStartBit(), pin->GetEndBit()), tie.substr(b + 2));
            bitTieDone = true;
        } else if (dir == "output") {
            const std::string sig = "o_" + pinName;
            // One output bus one bit narrower than its pin.
            int sigWidth = pin->HasBus() ? width : 0;
            if (!narrowDone && width >= 2) {
                sigWidth = width - 1;
                narrowDone = true;
            }
            external(sig, sigWidth);
            Cmd(engine, "connect", "signal", sig, pinName, name);
        } else if (dir == "bidir") {
            external("io_" + pinName, pin->HasBus() ? width : 0);
            Cmd(engine, "connect", "signal", "io_" + pinName, pinName, name);
        } else if (!vccTieDone && width == 1) {
            Cmd(engine, "set", "vccpin", pinName, name);
            vccTieDone = true;
        } else if (!bitTieDone && width >= 2) {
            std::string bits;
            for (int i = 0; i < width; ++i) bits += i % 2 ? '0' : '1';
            bitTies(pinName, std::max(pin->GetStartBit(), pin->GetEndBit()), bits);
            bitTieDone = true;
        } else if (inputs++ % 2 == 0) {
            external("i_" + pinName, pin->HasBus() ? width : 0);
            Cmd(engine, "connect", "signal", "i_" + pinName, pinName, name);
        }
    }
    if (vccaUsed) {
        Cmd(engine, "add", "signal", "VCCa");
        Cmd(engine, "set", "vccsig", "VCCa");
    }
    if (gndaUsed) {
        Cmd(engine, "add", "signal", "GNDa");
        Cmd(engine, "set", "gndsig", "GNDa");
    }
}

TEST_F(HdlTool, EveryInstalledPrimitivePassesTheHdlTools) {
    if (!olmtest::OnPath("iverilog") && !olmtest::OnPath("verilator") && !olmtest::OnPath("ghdl"))
        GTEST_SKIP() << "no HDL tool installed";
    const fs::path dir = m_dir.Path();

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
            ASSERT_TRUE(engine.Save((dir / (design + ".kfz")).c_str(), &error)) << error.c_str();

            std::string err;
            Result r = Hdl({"--kfz", design + ".kfz", "--lang", "verilog", "-o", design + ".v", "--stubs",
                            design + "_stubs.v"}, &err);
            ASSERT_EQ(r.code, 0) << err;
            EXPECT_EQ(err, "");  // every pin and parameter is known from the data
            r = Hdl({"--kfz", design + ".kfz", "--lang", "vhdl", "-o", design + ".vhd", "--stubs",
                     design + "_stubs.vhd"}, &err);
            ASSERT_EQ(r.code, 0) << err;
            const std::string verilogText = olmtest::ReadFile((dir / (design + ".v")).string());
            EXPECT_NE(verilogText.find("1'b1"), std::string::npos) << "the VCC tie is missing";
            EXPECT_NE(verilogText.find("'b"), std::string::npos);

            for (const std::string& finding : olmtest::HdlToolFindings(dir, design)) ADD_FAILURE() << finding;
        }
    }
    EXPECT_GE(designs, 15);
}

TEST_F(HdlTool, CommandLine) {
    Result r = Hdl({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.output.rfind("Usage: olmwiz hdl --kfz FILE --lang verilog|vhdl -o FILE [--stubs FILE]\n", 0), 0u);

    std::string err;
    EXPECT_EQ(Hdl({"--lang", "vhdl", "-o", "x.vhd"}, &err).code, 2);
    EXPECT_EQ(err.rfind("olmwiz hdl: --kfz is required\n", 0), 0u) << err;
    EXPECT_EQ(Hdl({"--kfz", "a.kfz", "--lang", "edif", "-o", "x"}, &err).code, 2);
    EXPECT_EQ(err.rfind("olmwiz hdl: unknown language 'edif' (verilog or vhdl)\n", 0), 0u) << err;
    EXPECT_EQ(Hdl({"--kfz", "a.kfz", "--lang", "vhdl", "-o", "x", "extra"}, &err).code, 2);
    EXPECT_EQ(Hdl({"--kfz", "a.kfz", "--bogus"}, &err).code, 2);

    // A missing design file: the message names it; nothing is written.
    r = Hdl({"--kfz", "missing.kfz", "--lang", "verilog", "-o", "out.v"}, &err);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(err.find("'missing.kfz'"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(m_dir.Path() / "out.v"));

    // A design file named so that the design name is no identifier.
    Olm_Engine engine;
    Cmd(engine, "add", "block", "U1", "INV", "1");
    ASSERT_TRUE(engine.Save(m_dir.File("9top.kfz").c_str()));
    r = Hdl({"--kfz", "9top.kfz", "--lang", "vhdl", "-o", "out.vhd"}, &err);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(err.find("olmwiz hdl: cannot write the VHDL of '9top.kfz': the design name '9top' begins with a digit\n"),
              std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(m_dir.Path() / "out.vhd"));

    ASSERT_TRUE(engine.Save(m_dir.File("top.kfz").c_str()));
    r = Hdl({"--kfz", "top.kfz", "--lang", "verilog", "-o", "no_such_dir/out.v"}, &err);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(err.find("olmwiz hdl: cannot write 'no_such_dir/out.v'\n"), std::string::npos) << err;

    // The same design file gives the same bytes; the primitive unknown to the
    // data files is declared from the design, with a warning.
    ASSERT_EQ(Hdl({"--kfz", "top.kfz", "--lang", "verilog", "-o", "a.v", "--stubs", "a_stubs.v"}, &err).code, 0);
    EXPECT_NE(err.find("primitive 'INV' is not among the known primitives"), std::string::npos) << err;
    ASSERT_EQ(Hdl({"--kfz", m_dir.File("top.kfz"), "--lang", "verilog", "-o", "b.v", "--stubs", "b_stubs.v"}).code, 0);
    EXPECT_EQ(olmtest::ReadFile(m_dir.File("a.v")), olmtest::ReadFile(m_dir.File("b.v")));
    EXPECT_EQ(olmtest::ReadFile(m_dir.File("a_stubs.v")), olmtest::ReadFile(m_dir.File("b_stubs.v")));
    EXPECT_NE(olmtest::ReadFile(m_dir.File("a_stubs.v")).find("module INV;"), std::string::npos);
}

}  // namespace
