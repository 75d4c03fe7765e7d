#include "DataDir.h"
#include "ModelBuilders.h"
#include "TestSupport.h"
#include "kfz/Olm_KfzWizData.h"
#include "engine/Olm_Engine.h"
#include "pal/Version.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Installed {
    const char* wizType;
    const char* family;
    const char* dataFile;  // which installed file the pair loads
};

// Every installed data file, through the wizard type and family that select it.
const Installed kInstalled[] = {
    {"tkl_bddeskew", "korvo5", "olm_tkl.dev"}, {"hsx", "korvo5", "olm_hsx.dev"},
    {"hsx", "korvo4", "olm_hsx11.dev"},        {"dsp_mult", "korvo5", "olm_dsp.dev"},
    {"ssio_mem", "korvo5", "olm_ssio.dev"},
};

// What a design file gives back, by design, compared with the container that
// was saved: the software's version; no connection for inactive pins; and
// flag words other than those the bridge reads back as flags ("HSX3",
// "HSX10", "HSX11" of blocks, "DATAWIDTH" of pins) come back as attributes
// "PROP_<flag>" = "TRUE"; and a signal that an active pin is connected to is
// in the design, so it comes back active.
void ExpectFromDesign(Olm_WizData& saved) {
    saved.SetVersion(Pal::Version::getValue("version"));
    for (Olm_Block* block : saved.GetBlkList()) {
        if (!block->IsActive()) continue;
        for (int i = 0; i < block->GetFlagList().GetSize(); ++i) {
            const Pal::String flag = block->GetFlagList().GetAt(i);
            if (flag == "HSX3" || flag == "HSX10" || flag == "HSX11") continue;
            block->AddAttribute(Pal::String().Format("PROP_%s", flag.c_str()), "TRUE");
        }
        for (Olm_Pin* pin : block->GetPinList()) {
            if (!pin->IsActive()) pin->SetSigName("");
            if (pin->IsActive() && !pin->GetSigName().IsEmpty()) {
                if (Olm_Signal* signal = saved.GetNamedSignal(pin->GetSigName())) signal->SetIsActive(true);
            }
            for (int i = 0; i < pin->GetFlagList().GetSize(); ++i) {
                const Pal::String flag = pin->GetFlagList().GetAt(i);
                if (flag != "DATAWIDTH") pin->AddAttribute(Pal::String().Format("PROP_%s", flag.c_str()), "TRUE");
            }
        }
    }
}

class KfzRoundTrip : public ::testing::TestWithParam<Installed> {};

TEST_P(KfzRoundTrip, InstalledDataComesBackFromItsDesignFile) {
    const Installed& installed = GetParam();
    olmtest::DataDirOverride useBuildTreeData("");
    olmtest::ScratchDir dir;
    const std::string path = dir.File("design.kfz");

    // Installed data, saved through an engine to a design file.
    Olm_Engine first;
    first.SetFamily(installed.family);
    Olm_KfzWizData saver(&first, Pal::String(installed.wizType));
    ASSERT_TRUE(saver.SetupWizData()) << installed.dataFile;
    std::unique_ptr<Olm_WizData> saved(saver.GetWizDataPtr());
    ASSERT_FALSE(saved->GetBlkList().empty());
    ASSERT_TRUE(saver.SaveWizDataToEngine());
    Pal::String error;
    ASSERT_TRUE(first.Save(path.c_str(), &error)) << error.str();

    // A new engine reads the file; installed data synchronised with it.
    Olm_Engine second;
    ASSERT_TRUE(second.Load(path.c_str(), &error)) << error.str();
    EXPECT_EQ(second.GetFamily(), installed.family);
    Olm_KfzWizData loader(&second, Pal::String(installed.wizType));
    ASSERT_TRUE(loader.SetupWizData());
    std::unique_ptr<Olm_WizData> loaded(loader.GetWizDataPtr());
    loader.SyncWizDataWithKFZ();

    ExpectFromDesign(*saved);
    EXPECT_EQ(olmtest::DumpText(*saved), olmtest::DumpText(*loaded));

    // Saved into fresh designs, both containers give the same file.
    first.NewDesign();
    ASSERT_TRUE(saver.SaveWizDataToEngine());
    const std::string expected = dir.File("expected.kfz");
    ASSERT_TRUE(first.Save(expected.c_str(), &error)) << error.str();
    second.NewDesign();
    ASSERT_TRUE(loader.SaveWizDataToEngine());
    const std::string again = dir.File("again.kfz");
    ASSERT_TRUE(second.Save(again.c_str(), &error)) << error.str();
    EXPECT_EQ(olmtest::ReadFile(expected), olmtest::ReadFile(again));
}

INSTANTIATE_TEST_SUITE_P(EveryInstalledFile, KfzRoundTrip, ::testing::ValuesIn(kInstalled),
                         [](const ::testing::TestParamInfo<Installed>& info) {
                             std::string name = info.param.dataFile;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
