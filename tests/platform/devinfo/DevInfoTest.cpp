// The device-data library without OLMW_DATA_DIR: the installation's data
// folder. (The loader tests cover the lookup through the variable.)

#include "TestSupport.h"

#include "devinfo/DevPart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(DevInfo, WithoutTheVariableUsesTheInstallationDataFolder) {
    ::setenv("OLMW_DATA_DIR", "", 1);  // empty counts as unset
    DevPart part(nullptr, nullptr, nullptr);
    const char* path = part.getdatafilename(0, "olm_tkl.dev", 1, -1);
    ::unsetenv("OLMW_DATA_DIR");
    ASSERT_NE(path, nullptr) << "data folder: " << DevSpec::getdatadir();
    const std::filesystem::path found(path);
    EXPECT_EQ(found.lexically_relative(found.parent_path().parent_path().parent_path()), "share/olmw/olm_tkl.dev");
    EXPECT_TRUE(std::filesystem::is_regular_file(found));
}

}  // namespace
