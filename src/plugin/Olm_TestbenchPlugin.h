#pragma once

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbText.h"

#include <QtPlugin>

#include <string>

// The interface of a wizard plugin that also writes the self-checking
// testbench of its primitives, and its version. It is optional: the object
// of a wizard plugin (Olm_WizardPlugin) may implement it too, and a plugin
// without it works as before. The metadata names the primitives:
//
//   "testbenches": ["BRAM_FIFO"]
//
// and the registry (Olm_WizardRegistry::RegisterTestbenches) adds a bench of
// each to Olm_TestbenchWriter, so that `olmwiz run --testbench`, the window's
// testbench box and `olmwiz sim` write the bench of a design with one of
// them. The plugin is loaded when a bench is first needed.
//
//   class BramFifoPlugin : public QObject, public Olm_WizardPlugin, public Olm_TestbenchPlugin {
//       Q_OBJECT
//       Q_PLUGIN_METADATA(IID OLM_WIZARD_PLUGIN_IID FILE "bram_fifo.json")
//       Q_INTERFACES(Olm_WizardPlugin Olm_TestbenchPlugin)
//   public:
//       bool AddTestbench(const Olm_TbDesign& design, Olm_TbText& tb, std::string& error) override { ... }
//   };
#define OLM_TESTBENCH_PLUGIN_IID "org.olmw.TestbenchPlugin/1"

class Olm_TestbenchPlugin {
public:
    virtual ~Olm_TestbenchPlugin() = default;

    // Adds to tb the checks of a design that has an instance of one of the
    // metadata's "testbenches" (Olm_TestbenchWriter::Bench): tb is the frame
    // of the testbench in its language (tb.Verilog()), with the wrapper's
    // ports as signals and the wrapper instantiated; the bench declares,
    // drives and checks with tb_check(condition, text) what the design file
    // asks for (design.Value of the instance's properties and requests), not
    // what the wrapper says. False with error saying why the design cannot
    // be checked.
    virtual bool AddTestbench(const Olm_TbDesign& design, Olm_TbText& tb, std::string& error) = 0;
};

Q_DECLARE_INTERFACE(Olm_TestbenchPlugin, OLM_TESTBENCH_PLUGIN_IID)
