#pragma once

// A bridge over a container loaded from installed data of the test's own
// (a folder of tests/kfz/data), and a scripted engine answering the family;
// the expected texts of tests/kfz/golden.

#include "DataDir.h"
#include "ScriptedEngine.h"
#include "TestSupport.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"

#include <gtest/gtest.h>

#include <memory>

namespace kfztest {

// The folder of tests/kfz/data that serves as the installed data.
inline std::string DataFolder(const char* name) { return std::string(OLM_KFZ_TEST_DIR) + "/data/" + name; }

// The text of a file of tests/kfz/golden.
inline std::string Golden(const char* name) { return olmtest::ReadFile(std::string(OLM_KFZ_TEST_DIR) + "/golden/" + name); }

class KfzFixture : public ::testing::Test {
protected:
    // Loads the data file of the wizard type from the data folder and makes
    // the bridge; the test fails when the data does not load.
    void Setup(const char* wizType, const char* dataFolder, const char* family = "korvo5") {
        m_override = std::make_unique<olmtest::DataDirOverride>(DataFolder(dataFolder));
        engine.SetFamily(family);
        bridge = std::make_unique<Olm_KfzWizData>(&engine, Pal::String(wizType));
        ASSERT_TRUE(bridge->SetupWizData());
        data = bridge->GetWizDataPtr();
        ASSERT_NE(data, nullptr);
        engine.log.clear();
    }

    void TearDown() override { delete data; }

    olmtest::ScriptedEngine engine;
    std::unique_ptr<Olm_KfzWizData> bridge;
    Olm_WizData* data = nullptr;  // owned by the test, as by a wizard

private:
    std::unique_ptr<olmtest::DataDirOverride> m_override;
};

}  // namespace kfztest
