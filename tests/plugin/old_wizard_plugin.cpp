// A wizard plugin built for an earlier version of the interface.
#include "OlmKit.h"
#include "plugin/Olm_WizardPlugin.h"

#include <QObject>

class OldPlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.olmw.WizardPlugin/0" FILE "old_wizard_plugin.json")
};

#include "old_wizard_plugin.moc"
