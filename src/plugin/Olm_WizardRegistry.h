#pragma once

#include "datafiles/Olm_DataTypes.h"
#include "kit/Olm_RunSession.h"
#include "shared/OlmBaseExport.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Olm_KitMain;

// The wizards a program offers: its built-in wizards and the wizard plugins
// (Olm_WizardPlugin) found in plugin folders. Finding a plugin reads its
// metadata only; the plugin is loaded when one of its wizards is made.
//
//   Olm_WizardRegistry registry;
//   registry.AddBuiltIn({"tkl_pll", "a PLL", {"tkl_pll"}}, make);
//   registry.Discover(Olm_WizardRegistry::PluginFolders());
//   registry.RegisterDataTypes();
//   registry.RegisterTestbenches();
//   const Olm_WizardRegistry::Wizard* w = registry.Find("bram_fifo");
//   Olm_RunSession::Factory factory = registry.FactoryOf(*w, "bram_fifo", why);
class OLM_BASE_EXPORT Olm_WizardRegistry {
public:
    // Makes the wizard main of a wizard type for batch (true) or window mode.
    using Maker = std::function<std::unique_ptr<Olm_KitMain>(const std::string& wizType, bool batch)>;

    struct Wizard {
        std::string name;                      // what --wizard names
        std::string summary;                   // one line
        std::vector<std::string> wizardTypes;  // the wizard types it makes (the first is its default)
        bool anyType = false;                  // it works on the data of any wizard type, given with --type
        std::string origin;                    // "built-in", or the path of the plugin file
        std::vector<Olm_DataTypes::Entry> dataFiles;  // the data types its plugin registers
        std::vector<std::string> testbenches;  // the primitives its plugin writes the testbench of
    };

    // A file of a plugin folder that gives no wizard, and why.
    struct Skipped {
        std::string file;
        std::string reason;
    };
    // A plugin folder searched, and where it came from.
    struct Folder {
        std::string path;
        std::string source;  // "OLMW_WIZARD_PATH" or "installed"
        bool exists = false;
    };

    Olm_WizardRegistry();
    ~Olm_WizardRegistry();
    Olm_WizardRegistry(const Olm_WizardRegistry&) = delete;
    Olm_WizardRegistry& operator=(const Olm_WizardRegistry&) = delete;

    // Adds a wizard built into the program; its origin becomes "built-in".
    // False (nothing added) when the name is empty or taken.
    bool AddBuiltIn(Wizard wizard, Maker make);

    // The plugin folders, in the order they are searched: the folders of
    // OLMW_WIZARD_PATH (colon-separated; empty entries skipped), then the
    // installed plugin folder (lib/olmw/wizards beside the library).
    static std::vector<Folder> PluginFolders();
    // The installed plugin folder; empty when it cannot be determined.
    static std::string InstalledPluginFolder();

    // Reads the metadata of every shared library in the folders, in order
    // (the files of a folder by name), without loading any; other files are
    // passed over without a word. A shared library is
    // skipped, with its reason kept, when it is unreadable or holds no plugin
    // metadata, when its interface is another one or another version of this
    // one, when its metadata lacks a name or wizard types or names a bad data
    // file, or when its name is taken (by a built-in wizard or a plugin found
    // earlier). A missing folder is no error.
    void Discover(const std::vector<Folder>& folders);

    // Registers the data files of every plugin found with Olm_DataTypes. A
    // plugin whose data type cannot be registered (taken by another plugin)
    // is removed and skipped with the reason.
    void RegisterDataTypes();

    // Adds to Olm_TestbenchWriter the bench of each primitive of the
    // metadata's "testbenches" of every plugin found (Olm_TestbenchPlugin);
    // its plugin is loaded when the bench is first used. A plugin whose bench
    // cannot be added (its primitive has a bench already) is removed and
    // skipped with the reason. The benches are removed with the registry.
    void RegisterTestbenches();

    // Every wizard, built-in ones first, then the plugins in the order found.
    const std::vector<Wizard>& Wizards() const { return m_wizards; }
    // The wizard of a name, or null.
    const Wizard* Find(const std::string& name) const;
    const std::vector<Folder>& FoldersSearched() const { return m_folders; }
    const std::vector<Skipped>& SkippedFiles() const { return m_skipped; }

    // The factory of a wizard for a wizard type; a plugin is loaded here (once).
    // Null, and why set, when the plugin cannot be loaded or is no wizard
    // plugin after all.
    Olm_RunSession::Factory FactoryOf(const Wizard& wizard, const std::string& wizType, std::string& why);

private:
    struct Plugin;
    void Skip(const std::string& file, const std::string& reason);
    void Remove(std::size_t index, const std::string& reason);

    std::vector<Wizard> m_wizards;
    std::vector<Maker> m_makers;                    // of built-in wizards, by index; null for plugins
    std::vector<std::shared_ptr<Plugin>> m_plugins;  // of plugin wizards, by index; null for built-ins
    std::vector<std::string> m_benches;              // the primitives of the benches added
    std::vector<Folder> m_folders;
    std::vector<Skipped> m_skipped;
};
