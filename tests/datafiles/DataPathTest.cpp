// The data search path (the folders of OLMW_DATA_PATH before the data folder),
// the data types that wizard plugins register beside the built-in ones, and
// the simulation models found in the data folders.

#include "DataDir.h"
#include "TestSupport.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "datafiles/Olm_SimModels.h"
#include "devinfo/DevData.h"
#include "model/Olm_WizData.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::string DataFile(const std::string& name) {
    return "Version: 1;\nWizData: " + name + ";\nBlock: B;\nEndBlock;\n";
}

// Three folders: two of OLMW_DATA_PATH (with an empty entry between them)
// and the data folder (OLMW_DATA_DIR).
class DataPath : public ::testing::Test {
protected:
    DataPath() {
        ::setenv("OLMW_DATA_PATH", (m_first.Path().string() + "::" + m_second.Path().string() + "/").c_str(), 1);
        Olm_DataTypes::Clear();
    }
    ~DataPath() override {
        ::unsetenv("OLMW_DATA_PATH");
        Olm_DataTypes::Clear();
    }
    std::string Loaded(const std::string& wizType) {
        Olm_Data data;
        return data.ReadDataFile(wizType, "") ? data.GetWizData()->GetWizType().str() : "(none)";
    }

    olmtest::ScratchDir m_first, m_second, m_installed;
    olmtest::DataDirOverride m_override{m_installed.Path().string()};
    olmtest::MsgCapture m_capture;
};

TEST_F(DataPath, FoldersOfThePathComeFirstInOrderThenTheDataFolder) {
    EXPECT_THAT(DevSpec::getdatafolders(),
                ElementsAre(m_first.Path().string(), m_second.Path().string(), m_installed.Path().string()));
    m_installed.Write("olm_tkl.dev", DataFile("installed"));
    m_installed.Write("olm_dsp.dev", DataFile("installed"));
    m_second.Write("olm_dsp.dev", DataFile("second"));
    m_second.Write("olm_ssio.dev", DataFile("second"));
    m_first.Write("olm_ssio.dev", DataFile("first"));
    EXPECT_EQ(Loaded("tkl_pll"), "installed");
    EXPECT_EQ(Loaded("dsp_mult"), "second");
    EXPECT_EQ(Loaded("ssio_rx"), "first");
    EXPECT_TRUE(m_capture.Texts().empty());
    // OLMW_DATA_DIR still names the data folder alone.
    EXPECT_STREQ(DevSpec::getdatadir(), m_installed.Path().c_str());
}

TEST_F(DataPath, RegisteredDataTypes) {
    struct Row {
        const char* name;
        Olm_DataTypes::Entry entry;
        const char* refusal;  // "" when registered
    };
    const Row rows[] = {
        {"new type", {"bram", "olm_bram.dev", "p1"}, ""},
        {"same again", {"BRAM", "olm_bram.dev", "p2"}, ""},
        {"taken", {"bram", "olm_other.dev", "p2"}, "registered already, with the data file 'olm_bram.dev', by p1"},
        {"built-in prefix", {"dspx", "olm_dspx.dev", "p1"}, "begins like a built-in type"},
        {"short built-in prefix", {"SSI", "olm_s.dev", "p1"}, "begins like a built-in type"},
        {"not a name", {"br-am", "olm_b.dev", "p1"}, "not a name"},
        {"empty", {"", "olm_b.dev", "p1"}, "not a name"},
        {"file in a folder", {"fifo", "../olm_fifo.dev", "p1"}, "not a plain file name"},
    };
    for (const Row& row : rows) {
        const std::string refusal = Olm_DataTypes::Register(row.entry);
        if (*row.refusal == '\0') EXPECT_EQ(refusal, "") << row.name;
        else EXPECT_THAT(refusal, HasSubstr(row.refusal)) << row.name;
    }
    ASSERT_TRUE(Olm_DataTypes::Register({"bram_x", "olm_bramx.dev", "p3"}).empty());
    const char* const finds[][2] = {{"bram", "olm_bram.dev"},     {"bram_fifo", "olm_bram.dev"},
                                    {"BRAM_FIFO", "olm_bram.dev"}, {"bram_x_y", "olm_bramx.dev"},
                                    {"bramx", ""},                 {"bra", ""}};
    for (const auto& f : finds) EXPECT_EQ(Olm_DataTypes::FileOf(f[0], ""), f[1]) << f[0];
    EXPECT_EQ(Olm_DataTypes::FileOf("dsp_bram", ""), "olm_dsp.dev");  // the built-in table first

    m_second.Write("olm_bram.dev", DataFile("bram"));
    EXPECT_EQ(Loaded("bram_fifo"), "bram");
    EXPECT_EQ(Loaded("bram_x"), "(none)");  // registered, but its file is nowhere
    EXPECT_THAT(m_capture.Texts(), ElementsAre(HasSubstr("Could not find the installed Olm Wizard datafile "
                                                         "'olm_bramx.dev'")));
    // A child process learns the registered files that were found.
    Olm_DataTypes::HandDown();
    EXPECT_THAT(Olm_DataTypes::HandedDownFiles(), ElementsAre(m_second.File("olm_bram.dev")));
    ::unsetenv("OLMW_REGISTERED_DATA_FILES");
    EXPECT_THAT(Olm_DataTypes::MissingFileText("bram_x", "olm_bramx.dev"),
                HasSubstr("searched: " + m_first.Path().string() + ", " + m_second.Path().string() + ", " +
                          m_installed.Path().string()));
}

TEST_F(DataPath, AnUnknownTypeKeepsTheLoadersErrorAndTheTextNamesTheFolders) {
    ASSERT_TRUE(Olm_DataTypes::Register({"bram", "olm_bram.dev", "p1"}).empty());
    EXPECT_EQ(Loaded("fifo"), "(none)");
    EXPECT_THAT(m_capture.Texts(), ElementsAre("The specified wizard 'fifo' is not a valid wizard type"));
    EXPECT_EQ(Olm_DataTypes::UnknownTypeText("fifo"),
              "no data file is known for the wizard type 'fifo' (built-in types: tkl..., hsx..., dsp..., ssi...; "
              "registered: bram); the data folders searched: " +
                  m_first.Path().string() + ", " + m_second.Path().string() + ", " + m_installed.Path().string());
}

// A model is taken from the first folder that has it: OLMW_DATA_PATH, then
// the folders of the plugins' data files (here one handed down), then the
// installed data folder; a folder of a registered file already searched
// (m_second) is not searched twice.
TEST_F(DataPath, SimulationModelsComeFromTheDataFoldersInOrder) {
    const olmtest::ScratchDir plugin;
    ::setenv("OLMW_REGISTERED_DATA_FILES", plugin.Write("olm_p.dev", DataFile("p")).c_str(), 1);
    m_second.Write("olm_bram.dev", DataFile("bram"));
    ASSERT_TRUE(Olm_DataTypes::Register({"bram", "olm_bram.dev", "p1"}).empty());
    const auto models = [](const olmtest::ScratchDir& dir) { return dir.File("sim/verilog"); };
    const std::vector<std::string> folders = Olm_SimModels::Folders(Olm_HdlLanguage::Verilog);
    ::unsetenv("OLMW_REGISTERED_DATA_FILES");
    EXPECT_THAT(folders, ElementsAre(models(m_first), models(m_second), models(plugin), models(m_installed)));
    for (const char* file : {"sim/verilog/A.v", "sim/verilog/B.v", "sim/verilog/C.v", "sim/vhdl/D.vhd"})
        m_installed.Write(file, "");
    plugin.Write("sim/verilog/B.v", "");
    plugin.Write("sim/verilog/C.v", "");
    m_first.Write("sim/verilog/C.v", "");
    EXPECT_EQ(Olm_SimModels::Find("A", Olm_HdlLanguage::Verilog, folders), m_installed.File("sim/verilog/A.v"));
    EXPECT_EQ(Olm_SimModels::Find("B", Olm_HdlLanguage::Verilog, folders), plugin.File("sim/verilog/B.v"));
    EXPECT_EQ(Olm_SimModels::Find("C", Olm_HdlLanguage::Verilog, folders), m_first.File("sim/verilog/C.v"));
    EXPECT_EQ(Olm_SimModels::Find("D", Olm_HdlLanguage::Verilog, folders), "");  // only a VHDL model
    EXPECT_EQ(Olm_SimModels::Find("D", Olm_HdlLanguage::Vhdl), m_installed.File("sim/vhdl/D.vhd"));
    EXPECT_EQ(Olm_SimModels::MissingText("D", Olm_HdlLanguage::Verilog, folders),
              "no simulation model of D (D.v) in the folders searched: " + models(m_first) + ", " + models(m_second) +
                  ", " + models(plugin) + ", " + models(m_installed));
}

}  // namespace
