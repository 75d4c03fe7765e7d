#pragma once

#include <QtPlugin>

#include <memory>
#include <string>

class Olm_KitMain;

// The interface of a wizard plugin, and its version: a plugin names it with
// Q_PLUGIN_METADATA(IID OLM_WIZARD_PLUGIN_IID FILE "wizard.json"). The
// registry (Olm_WizardRegistry) skips a plugin built for another version.
#define OLM_WIZARD_PLUGIN_IID_BASE "org.olmw.WizardPlugin/"
#define OLM_WIZARD_PLUGIN_IID OLM_WIZARD_PLUGIN_IID_BASE "1"

// A wizard as a Qt plugin: a shared library with one QObject that also
// derives from this class, and JSON metadata that the registry reads
// without loading the library:
//
//   {
//     "name": "bram_fifo",                        // the wizard's name (olmwiz run --wizard)
//     "summary": "a FIFO in a block RAM",         // one line for listings
//     "wizardTypes": ["bram_fifo"],               // the wizard types it makes
//     "dataFiles": [{"type": "bram", "file": "olm_bram.dev"}]
//   }
//
// "dataFiles" (optional) registers the data file of each data type of the
// plugin's own (Olm_DataTypes): a wizard type "T" or "T_..." loads the file
// of the data type "T", found through the data search path.
//
//   class BramFifoPlugin : public QObject, public Olm_WizardPlugin {
//       Q_OBJECT
//       Q_PLUGIN_METADATA(IID OLM_WIZARD_PLUGIN_IID FILE "bram_fifo.json")
//       Q_INTERFACES(Olm_WizardPlugin)
//   public:
//       std::unique_ptr<Olm_KitMain> MakeWizard(const std::string&, bool batch) override { ... }
//   };
class Olm_WizardPlugin {
public:
    virtual ~Olm_WizardPlugin() = default;

    // Makes the wizard main of wizType (one of the metadata's "wizardTypes")
    // for a batch run or a run in a window; null for a type it does not make.
    virtual std::unique_ptr<Olm_KitMain> MakeWizard(const std::string& wizType, bool batch) = 0;
};

Q_DECLARE_INTERFACE(Olm_WizardPlugin, OLM_WIZARD_PLUGIN_IID)
