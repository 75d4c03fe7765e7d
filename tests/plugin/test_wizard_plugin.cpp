// A wizard plugin of this interface version: the wizard "probe" of the wizard
// types probe_a and probe_b, with the data type "probe".
#include "OlmKit.h"
#include "plugin/Olm_WizardPlugin.h"

#include <QObject>

class ProbePlugin : public QObject, public Olm_WizardPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OLM_WIZARD_PLUGIN_IID FILE "test_wizard_plugin.json")
    Q_INTERFACES(Olm_WizardPlugin)

public:
    std::unique_ptr<Olm_KitMain> MakeWizard(const std::string& wizType, bool batch) override {
        return std::make_unique<Olm_KitMain>(wizType, batch);
    }
};

#include "test_wizard_plugin.moc"
