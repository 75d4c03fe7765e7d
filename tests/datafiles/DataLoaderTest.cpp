// The loader: which installed data file a wizard type and family load,
// looked up through the device-data library (OLMW_DATA_DIR points at a
// scratch folder), its errors and what it keeps.

#include "DataDir.h"
#include "ReaderTestUtil.h"

#include "datafiles/Olm_Data.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using ::testing::ElementsAre;

namespace {

// Each data file names itself in its WizData statement.
class DataLoader : public ::testing::Test {
protected:
    DataLoader() {
        for (const char* name : {"olm_tkl.dev", "olm_hsx.dev", "olm_hsx11.dev", "olm_dsp.dev", "olm_ssio.dev"})
            m_dir.Write(name, std::string("Version: 1;\nWizData: ") + name + ";\nBlock: B;\nEndBlock;\n");
    }

    olmtest::ScratchDir m_dir;
    olmtest::DataDirOverride m_override{m_dir.Path().string()};
    olmtest::MsgCapture m_capture;
    Olm_Data m_data;
};

TEST_F(DataLoader, ChoosesTheFileByTheFirstThreeCharactersAndForHsxTheFamily) {
    const char* const cases[][3] = {
        {"tkl_bddeskew", "korvo4", "olm_tkl.dev"}, {"TKL_PLL", "", "olm_tkl.dev"},
        {"hsx", "korvo4", "olm_hsx11.dev"},        {"hsx", "KORVO4", "olm_hsx11.dev"},
        {"hsx", "korvo5", "olm_hsx.dev"},          {"hsx", "qkorvo4", "olm_hsx.dev"},
        {"hsx", "qrkorvo4", "olm_hsx.dev"},        {"hsx", "akorvo4", "olm_hsx.dev"},
        {"hsx", "korvo4x", "olm_hsx.dev"},         {"hsx_anything", "", "olm_hsx.dev"},
        {"dsp_mult", "korvo4", "olm_dsp.dev"},     {"ssionon", "", "olm_ssio.dev"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(m_data.ReadDataFile(c[0], c[1])) << c[0] << " " << c[1];
        EXPECT_EQ(m_data.GetWizData()->GetWizType(), c[2]) << c[0] << " " << c[1];
    }
    EXPECT_TRUE(m_capture.Texts().empty());
}

TEST_F(DataLoader, UnknownWizardTypesLeaveNoContainer) {
    for (const char* type : {"ds", "", "abc_tkl", "xtkl"}) {
        ASSERT_TRUE(m_data.ReadDataFile("tkl", ""));  // the container of an earlier read goes
        olmtest::MsgCapture capture;
        EXPECT_FALSE(m_data.ReadDataFile(type, "korvo4"));
        EXPECT_EQ(m_data.GetWizData(), nullptr);
        EXPECT_THAT(capture.Texts(),
                    ElementsAre(std::string("The specified wizard '") + type + "' is not a valid wizard type"));
        EXPECT_EQ(capture.Reports()[0].category, "DesignEntry");
        EXPECT_EQ(capture.Reports()[0].source, "../s/WizData");
    }
}

TEST_F(DataLoader, DataFileThatIsNotInstalled) {
    std::filesystem::remove(m_dir.File("olm_dsp.dev"));
    std::filesystem::create_directory(m_dir.File("olm_dsp.dev"));  // a folder is no data file
    EXPECT_FALSE(m_data.ReadDataFile("dsp_mac", ""));
    EXPECT_EQ(m_data.GetWizData(), nullptr);
    EXPECT_THAT(m_capture.Texts(), ElementsAre("Could not find the installed Olm Wizard datafile 'olm_dsp.dev'.  "
                                               "Please check that this file is installed correctly.\n"));
}

TEST_F(DataLoader, DataFileWithErrorsKeepsThePartlyFilledContainer) {
    const std::string path = m_dir.Write("olm_ssio.dev", "Version: 7;\nWizData: partial;\nBlock: B;\nOops;\n");
    EXPECT_FALSE(m_data.ReadDataFile("ssio_mem", ""));
    ASSERT_NE(m_data.GetWizData(), nullptr);
    EXPECT_EQ(m_data.GetWizData()->GetVersion(), "7");
    EXPECT_EQ(m_data.GetWizData()->GetWizType(), "partial");
    EXPECT_THAT(m_capture.Texts(),
                ElementsAre(dftest::Unrecognized(4, "Oops;", path),
                            "An error occured in reading the Olm Wizard datafile '" + path +
                                "'.  Please check that this file is installed correctly.\n"));
    EXPECT_EQ(m_capture.Reports()[1].source, "../s/WizData");
}

TEST_F(DataLoader, GetDataFileNameFindsTheInstalledPathOnly) {
    Pal::String path("unchanged");
    for (const char* absent : {"olm_none.dev", "", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(m_data.GetDataFileName(absent, path));
    EXPECT_EQ(path, "unchanged");
    ASSERT_TRUE(m_data.GetDataFileName("olm_tkl.dev", path));
    EXPECT_EQ(std::filesystem::path(path.str()), m_dir.Path() / "olm_tkl.dev");
}

}  // namespace
