#pragma once

// A bridge over a container loaded from a small data file written for the
// test, and a scripted engine answering the family; data-file text helpers.

#include "DataDir.h"
#include "ScriptedEngine.h"
#include "TestSupport.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"

#include <gtest/gtest.h>

#include <memory>

namespace kfztest {

class KfzFixture : public ::testing::Test {
protected:
    // Loads dataText as the installed data file of the wizard type and makes
    // the bridge; the test fails when the data does not load.
    void Setup(const char* wizType, const std::string& fileName, const std::string& dataText,
               const char* family = "korvo5") {
        m_dataDir.Write(fileName, dataText);
        m_override = std::make_unique<olmtest::DataDirOverride>(m_dataDir.Path().string());
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
    olmtest::ScratchDir m_dataDir;
    std::unique_ptr<olmtest::DataDirOverride> m_override;
};

// A data file of the given WizData name and body.
inline std::string Data(const char* wizName, const std::string& body = "") {
    return std::string("Version: 1.0;\nWizData: ") + wizName + ";\n" + body + "EndWizData;\n";
}

// A data-file attribute whose only possible value is its default.
inline std::string Attr(const char* name, const char* value) {
    return std::string("    Attribute: ") + name + ";\n      PossibleValues: " + value + ";\n      DefaultValue: " +
           value + ";\n      IsModifiable: TRUE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n";
}

}  // namespace kfztest
