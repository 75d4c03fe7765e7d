// The device-data library: where it finds data files and the storage of the
// paths it returns.

#include "TestSupport.h"

#include "devinfo/DevPart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(DevInfo, FindsFilesInTheFolderOfTheEnvironmentVariable) {
    olmtest::ScratchDir dir;
    dir.Write("olm_x.dev", "WizData: x;\n");
    ::setenv("OLMW_DATA_DIR", (dir.Path().string() + "/").c_str(), 1);
    DevPart part(nullptr, nullptr, nullptr);
    char* path = part.getdatafilename(0, "olm_x.dev", 1, -1);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(std::filesystem::path(path), dir.Path() / "olm_x.dev");
    // The same text is handed out again: repeated lookups do not grow memory.
    EXPECT_EQ(DevPart("korvo4", "d", "p").getdatafilename(0, "olm_x.dev", 1, -1), path);

    EXPECT_EQ(part.getdatafilename(0, "olm_missing.dev", 1, -1), nullptr);
    EXPECT_EQ(part.getdatafilename(0, "", 1, -1), nullptr);
    EXPECT_EQ(part.getdatafilename(0, nullptr, 1, -1), nullptr);
    std::filesystem::create_directory(dir.File("folder.dev"));
    EXPECT_EQ(part.getdatafilename(0, "folder.dev", 1, -1), nullptr);
    ::unsetenv("OLMW_DATA_DIR");
}

TEST(DevInfo, WithoutTheVariableUsesTheInstallationDataFolder) {
    ::unsetenv("OLMW_DATA_DIR");
    ::setenv("OLMW_DATA_DIR", "", 1);  // empty counts as unset
    DevPart part(nullptr, nullptr, nullptr);
    const char* path = part.getdatafilename(0, "olm_tkl.dev", 1, -1);
    ::unsetenv("OLMW_DATA_DIR");
    ASSERT_NE(path, nullptr) << "data folder: " << DevSpec::getdatadir();
    const std::filesystem::path found(path);
    EXPECT_EQ(found.filename(), "olm_tkl.dev");
    EXPECT_EQ(found.parent_path().filename(), "olmw");
    EXPECT_EQ(found.parent_path().parent_path().filename(), "share");
    EXPECT_TRUE(std::filesystem::is_regular_file(found));
}

TEST(DevInfo, PartKeepsItsNames) {
    DevPart none(nullptr, nullptr, nullptr);
    EXPECT_EQ(none.family(), "");
    DevPart part("korvo4", "k4x20", "ff672");
    EXPECT_EQ(part.family(), "korvo4");
    EXPECT_EQ(part.device(), "k4x20");
    EXPECT_EQ(part.package(), "ff672");
}

}  // namespace
