// The wizard registry on plugin folders made by each test: built-in wizards
// and plugins in one list, the search order, and every reason a file of a
// plugin folder is skipped.

#include "TestSupport.h"

#include "datafiles/Olm_DataTypes.h"
#include "kit/Olm_KitMain.h"
#include "plugin/Olm_WizardRegistry.h"
#include "proof/Olm_TestbenchWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using ::testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

class WizardRegistry : public ::testing::Test {
protected:
    WizardRegistry() {
        Olm_DataTypes::Clear();
        m_registry.AddBuiltIn({"tkl_pll", "a PLL", {"tkl_pll"}, false, "", {}, {}},
                              [](const std::string& type, bool batch) { return std::make_unique<Olm_KitMain>(type, batch); });
    }
    ~WizardRegistry() override { Olm_DataTypes::Clear(); }

    // A plugin folder below the scratch folder, with copies of plugin files.
    Olm_WizardRegistry::Folder Folder(const std::string& name, const std::vector<std::string>& plugins) {
        const fs::path folder = m_dir.Path() / name;
        fs::create_directories(folder);
        for (const std::string& plugin : plugins) fs::copy_file(plugin, folder / fs::path(plugin).filename());
        return {folder.string(), "OLMW_WIZARD_PATH", false};
    }
    std::string ReasonFor(const std::string& file) const {
        for (const auto& skipped : m_registry.SkippedFiles())
            if (fs::path(skipped.file).filename() == file) return skipped.reason;
        return "(not skipped)";
    }

    olmtest::ScratchDir m_dir;
    Olm_WizardRegistry m_registry;
};

TEST_F(WizardRegistry, PluginsFollowTheBuiltInWizardsAndTheirDataTypesAreRegistered) {
    m_registry.Discover({Folder("a", {OLM_TEST_PLUGIN}), {(m_dir.Path() / "missing").string(), "installed", false}});
    m_registry.RegisterDataTypes();
    ASSERT_EQ(m_registry.Wizards().size(), 2u);
    EXPECT_EQ(m_registry.Wizards()[0].origin, "built-in");
    const Olm_WizardRegistry::Wizard* probe = m_registry.Find("probe");
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->wizardTypes, (std::vector<std::string>{"probe_a", "probe_b"}));
    EXPECT_EQ(fs::path(probe->origin).parent_path(), m_dir.Path() / "a");
    EXPECT_TRUE(m_registry.FoldersSearched()[0].exists);
    EXPECT_FALSE(m_registry.FoldersSearched()[1].exists);  // a missing folder is searched, and no error
    EXPECT_TRUE(m_registry.SkippedFiles().empty());
    EXPECT_EQ(Olm_DataTypes::FileOf("probe_b", ""), "olm_probe.dev");

    // Loaded only when a wizard is made: the plugin's own factory.
    std::string why;
    const Olm_RunSession::Factory factory = m_registry.FactoryOf(*probe, "probe_b", why);
    ASSERT_TRUE(factory) << why;
    const std::unique_ptr<Olm_KitMain> main = factory(true);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->GetWizType(), "probe_b");
}

TEST_F(WizardRegistry, SkippedFilesAndTheirReasons) {
    const Olm_WizardRegistry::Folder first = Folder("first", {OLM_TEST_PLUGIN, OLM_OLD_PLUGIN});
    const Olm_WizardRegistry::Folder second = Folder("second", {OLM_TEST_PLUGIN});
    m_dir.Write("second/libjunk.so", "not a shared library at all");
    m_dir.Write("second/README", "notes");
    m_registry.Discover({first, second});
    ASSERT_EQ(m_registry.Wizards().size(), 2u);
    EXPECT_EQ(fs::path(m_registry.Find("probe")->origin).parent_path(), m_dir.Path() / "first");  // first found wins
    EXPECT_THAT(ReasonFor(fs::path(OLM_OLD_PLUGIN).filename()),
                HasSubstr("wrong interface version: org.olmw.WizardPlugin/0"));
    EXPECT_THAT(ReasonFor("libjunk.so"), HasSubstr("unreadable: no plugin metadata"));
    EXPECT_EQ(ReasonFor("README"), "(not skipped)");  // no candidate
    EXPECT_EQ(m_registry.SkippedFiles().size(), 3u);  // the old plugin, the second copy, junk
    for (const auto& skipped : m_registry.SkippedFiles())
        if (fs::path(skipped.file).parent_path() == m_dir.Path() / "second" &&
            fs::path(skipped.file).filename() == fs::path(OLM_TEST_PLUGIN).filename()) {
            EXPECT_THAT(skipped.reason, HasSubstr("duplicate name: the wizard 'probe' comes from " +
                                                  (m_dir.Path() / "first").string()));
        }
}

TEST_F(WizardRegistry, ABuiltInNameOrATakenDataTypeKeepsThePluginOut) {
    m_registry.AddBuiltIn({"probe", "built in", {"probe"}, false, "", {}, {}},
                          [](const std::string& type, bool batch) { return std::make_unique<Olm_KitMain>(type, batch); });
    m_registry.Discover({Folder("a", {OLM_TEST_PLUGIN})});
    EXPECT_EQ(m_registry.Find("probe")->origin, "built-in");
    EXPECT_THAT(ReasonFor(fs::path(OLM_TEST_PLUGIN).filename()), HasSubstr("duplicate name: the wizard 'probe' comes "
                                                                           "from built-in"));

    Olm_WizardRegistry other;
    EXPECT_EQ(Olm_DataTypes::Register({"probe", "olm_other.dev", "elsewhere"}), "");
    other.Discover({Folder("b", {OLM_TEST_PLUGIN})});
    other.RegisterDataTypes();
    EXPECT_EQ(other.Find("probe"), nullptr);
    ASSERT_EQ(other.SkippedFiles().size(), 1u);
    EXPECT_THAT(other.SkippedFiles()[0].reason, HasSubstr("data file: the data type 'probe' is registered already"));
}

// The bench of a plugin's primitive is added once; a second plugin naming the
// same primitive stays out, and the benches go with their registry.
TEST_F(WizardRegistry, ATakenTestbenchPrimitiveKeepsThePluginOut) {
    {
        Olm_WizardRegistry first;
        first.Discover({Folder("a", {OLM_TEST_PLUGIN})});
        first.RegisterTestbenches();
        EXPECT_EQ(Olm_TestbenchWriter::BenchPrimitives(), std::vector<std::string>{"PROBE"});
        m_registry.Discover({Folder("b", {OLM_TEST_PLUGIN})});
        m_registry.RegisterTestbenches();
        EXPECT_EQ(m_registry.Find("probe"), nullptr);
        EXPECT_THAT(ReasonFor(fs::path(OLM_TEST_PLUGIN).filename()),
                    HasSubstr("testbench: the primitive PROBE has a bench already"));
    }
    EXPECT_TRUE(Olm_TestbenchWriter::BenchPrimitives().empty());
}

TEST(WizardPluginFolders, WizardPathFirstThenTheInstalledFolder) {
    ::setenv("OLMW_WIZARD_PATH", "/one::/two/", 1);
    const std::vector<Olm_WizardRegistry::Folder> folders = Olm_WizardRegistry::PluginFolders();
    ::unsetenv("OLMW_WIZARD_PATH");
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].path, "/one");
    EXPECT_EQ(folders[1].path, "/two");
    EXPECT_EQ(folders[2].source, "installed");
    EXPECT_THAT(folders[2].path, ::testing::EndsWith("/olmw/wizards"));
}

}  // namespace
