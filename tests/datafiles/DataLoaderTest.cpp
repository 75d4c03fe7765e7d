// The loader: choice of the installed data file, lookup through the
// device-data library (OLMW_DATA_DIR points at a scratch folder), its errors
// and what it keeps; and the dump entry points.

#include "ReaderTestUtil.h"

#include "datafiles/Olm_Data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using ::testing::ElementsAre;

namespace {

// Each data file names itself in its WizData statement.
class DataLoader : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"olm_tkl.dev", "olm_hsx.dev", "olm_hsx11.dev", "olm_dsp.dev", "olm_ssio.dev"})
            m_dir.Write(name, std::string("Version: 1;\nWizData: ") + name + ";\nBlock: B;\nEndBlock;\n");
        ::setenv("OLMW_DATA_DIR", m_dir.Path().c_str(), 1);
    }
    void TearDown() override { ::unsetenv("OLMW_DATA_DIR"); }

    // The data file that a wizard type and family load, or "" on failure.
    std::string Loaded(const char* wizType, const char* family) {
        Olm_Data data;
        if (!data.ReadDataFile(wizType, family)) return "";
        return data.GetWizData()->GetWizType().str();
    }

    olmtest::ScratchDir m_dir;
};

TEST_F(DataLoader, ChoosesTheFileByTheFirstThreeCharactersAndTheFamily) {
    const struct {
        const char* wizType;
        const char* family;
        const char* file;
    } cases[] = {
        {"tkl_bddeskew", "korvo4", "olm_tkl.dev"}, {"TKL_PLL", "", "olm_tkl.dev"},
        {"hsx", "korvo4", "olm_hsx11.dev"},        {"hsx", "KORVO4", "olm_hsx11.dev"},
        {"hsx", "korvo5", "olm_hsx.dev"},          {"hsx", "qkorvo4", "olm_hsx.dev"},
        {"hsx", "korvo4x", "olm_hsx.dev"},         {"hsx_anything", "", "olm_hsx.dev"},
        {"dsp_mult", "korvo4", "olm_dsp.dev"},     {"ssionon", "", "olm_ssio.dev"},
    };
    for (const auto& c : cases) EXPECT_EQ(Loaded(c.wizType, c.family), c.file) << c.wizType << " " << c.family;
}

TEST_F(DataLoader, UnknownWizardTypesLeaveNoContainer) {
    for (const char* type : {"ds", "", "abc_tkl", "xtkl"}) {
        Olm_Data data;
        ASSERT_TRUE(data.ReadDataFile("tkl", ""));  // the container of an earlier read goes
        olmtest::MsgCapture capture;
        EXPECT_FALSE(data.ReadDataFile(type, "korvo4"));
        EXPECT_EQ(data.GetWizData(), nullptr);
        EXPECT_THAT(capture.Texts(),
                    ElementsAre(std::string("The specified wizard '") + type + "' is not a valid wizard type"));
        EXPECT_EQ(capture.Reports()[0].category, "DesignEntry");
        EXPECT_EQ(capture.Reports()[0].source, "../s/WizData");
    }
}

TEST_F(DataLoader, DataFileThatIsNotInstalled) {
    std::filesystem::remove(m_dir.File("olm_dsp.dev"));
    std::filesystem::create_directory(m_dir.File("olm_dsp.dev"));  // a folder is no data file
    olmtest::MsgCapture capture;
    Olm_Data data;
    EXPECT_FALSE(data.ReadDataFile("dsp_mac", ""));
    EXPECT_EQ(data.GetWizData(), nullptr);
    EXPECT_THAT(capture.Texts(), ElementsAre("Could not find the installed Olm Wizard datafile 'olm_dsp.dev'.  Please "
                                             "check that this file is installed correctly.\n"));
}

TEST_F(DataLoader, DataFileWithErrorsKeepsThePartlyFilledContainer) {
    const std::string path = m_dir.Write("olm_ssio.dev", "Version: 7;\nWizData: partial;\nBlock: B;\nOops;\n");
    olmtest::MsgCapture capture;
    Olm_Data data;
    EXPECT_FALSE(data.ReadDataFile("ssio_mem", ""));
    ASSERT_NE(data.GetWizData(), nullptr);
    EXPECT_EQ(data.GetWizData()->GetVersion(), "7");
    EXPECT_EQ(data.GetWizData()->GetWizType(), "partial");
    EXPECT_THAT(capture.Texts(),
                ElementsAre(dftest::WithPath(dftest::Unrecognized(4, "Oops;"), path),
                            "An error occured in reading the Olm Wizard datafile '" + path +
                                "'.  Please check that this file is installed correctly.\n"));
    EXPECT_EQ(capture.Reports()[1].source, "../s/WizData");
}

TEST_F(DataLoader, GetDataFileNameFindsTheInstalledPathOnly) {
    Olm_Data data;
    Pal::String path("unchanged");
    EXPECT_FALSE(data.GetDataFileName("olm_none.dev", path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_FALSE(data.GetDataFileName(nullptr, path));
    EXPECT_FALSE(data.GetDataFileName("", path));
    EXPECT_EQ(path, "unchanged");
    ASSERT_TRUE(data.GetDataFileName("olm_tkl.dev", path));
    EXPECT_EQ(std::filesystem::path(path.str()), m_dir.Path() / "olm_tkl.dev");
}

class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::filesystem::path& dir) : m_old(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~CurrentDirectory() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

TEST_F(DataLoader, DumpEntryPoints) {
    olmtest::ScratchDir out;
    olmtest::MsgCapture capture;
    Olm_Data data;
    Olm_Data::DumpDataFile(nullptr, out.File("none.dmp").c_str());
    data.DumpDataFile(out.File("empty.dmp").c_str());  // no container yet
    EXPECT_FALSE(std::filesystem::exists(out.File("none.dmp")));
    EXPECT_FALSE(std::filesystem::exists(out.File("empty.dmp")));

    ASSERT_TRUE(data.ReadDataFile("tkl", ""));
    data.DumpDataFile(out.File("tkl.dmp").c_str());
    const std::string text = olmtest::ReadFile(out.File("tkl.dmp"));
    EXPECT_EQ(text.substr(0, 44), "WizData: olm_tkl.dev;\n  Version: 1;\n  WizTyp");
    EXPECT_EQ(text.substr(text.size() - 12), "EndWizData;\n");

    {
        CurrentDirectory cd(out.Path());
        Olm_Data::DumpDataFile(data.GetWizData(), nullptr);
    }
    EXPECT_EQ(olmtest::ReadFile(out.File("olmwtest.dmp")), text);

    data.DumpDataFile(out.File("no/such/folder/x.dmp").c_str());
    EXPECT_FALSE(std::filesystem::exists(out.File("no")));
    EXPECT_TRUE(capture.Texts().empty());
}

}  // namespace
