#include "plugin/Olm_WizardRegistry.h"

#include "kit/Olm_KitMain.h"
#include "plugin/Olm_TestbenchPlugin.h"
#include "plugin/Olm_WizardPlugin.h"
#include "proof/Olm_TestbenchWriter.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#ifndef OLM_WIZARD_PLUGIN_REL_DIR
#error "OLM_WIZARD_PLUGIN_REL_DIR must give the plugin folder relative to the library folder"
#endif

namespace fs = std::filesystem;

// A plugin file and, once loaded, its wizard interface. The loader is never
// unloaded: wizard mains made by the plugin may outlive any use of it.
struct Olm_WizardRegistry::Plugin {
    std::string file;
    std::unique_ptr<QPluginLoader> loader;
    Olm_WizardPlugin* instance = nullptr;

    // The plugin's object, loaded once; null with why set when it cannot be loaded.
    QObject* Object(std::string& why) {
        QObject* object = loader->instance();
        if (!object) why = "cannot load the wizard plugin '" + file + "': " + loader->errorString().toStdString();
        return object;
    }
};

namespace {

std::string Text(const QJsonValue& value) { return value.toString().toStdString(); }

std::vector<std::string> Split(const char* text) {
    std::vector<std::string> parts;
    if (!text) return parts;
    const std::string all = text;
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find(':', start);
        if (end == std::string::npos) end = all.size();
        std::string part = all.substr(start, end - start);
        while (part.size() > 1 && part.back() == '/') part.pop_back();
        if (!part.empty()) parts.push_back(part);
        start = end + 1;
    }
    return parts;
}

// The wizard a plugin's metadata describes, or why it describes none.
std::string WizardOf(const QJsonObject& meta, Olm_WizardRegistry::Wizard& wizard) {
    const QString iid = meta.value("IID").toString();
    if (iid != OLM_WIZARD_PLUGIN_IID) {
        if (iid.startsWith(OLM_WIZARD_PLUGIN_IID_BASE))
            return "wrong interface version: " + iid.toStdString() + " (this program takes " OLM_WIZARD_PLUGIN_IID ")";
        return "not a wizard plugin: its interface is '" + iid.toStdString() + "'";
    }
    const QJsonObject data = meta.value("MetaData").toObject();
    wizard.name = Text(data.value("name"));
    if (wizard.name.empty()) return "its metadata names no wizard (\"name\")";
    wizard.summary = Text(data.value("summary"));
    for (const QJsonValue& type : data.value("wizardTypes").toArray())
        if (!type.toString().isEmpty()) wizard.wizardTypes.push_back(type.toString().toStdString());
    if (wizard.wizardTypes.empty()) return "its metadata names no wizard type (\"wizardTypes\")";
    for (const QJsonValue& value : data.value("dataFiles").toArray()) {
        const QJsonObject file = value.toObject();
        Olm_DataTypes::Entry entry{Text(file.value("type")), Text(file.value("file")), ""};
        if (entry.type.empty() || entry.file.empty())
            return "its metadata has a data file without \"type\" and \"file\"";
        wizard.dataFiles.push_back(entry);
    }
    for (const QJsonValue& primitive : data.value("testbenches").toArray()) {
        if (primitive.toString().isEmpty()) return "its metadata names a testbench without a primitive";
        wizard.testbenches.push_back(primitive.toString().toStdString());
    }
    return {};
}

}  // namespace

Olm_WizardRegistry::Olm_WizardRegistry() = default;

Olm_WizardRegistry::~Olm_WizardRegistry() {
    for (const std::string& primitive : m_benches) Olm_TestbenchWriter::RemoveBench(primitive);
}

bool Olm_WizardRegistry::AddBuiltIn(Wizard wizard, Maker make) {
    if (wizard.name.empty() || Find(wizard.name) || !make) return false;
    wizard.origin = "built-in";
    m_wizards.push_back(std::move(wizard));
    m_makers.push_back(std::move(make));
    m_plugins.push_back(nullptr);
    return true;
}

std::string Olm_WizardRegistry::InstalledPluginFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Olm_WizardRegistry::InstalledPluginFolder), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    fs::path library = fs::canonical(info.dli_fname, ec);
    if (ec) return {};
    return (library.parent_path() / OLM_WIZARD_PLUGIN_REL_DIR).lexically_normal().string();
}

std::vector<Olm_WizardRegistry::Folder> Olm_WizardRegistry::PluginFolders() {
    std::vector<Folder> folders;
    for (const std::string& path : Split(std::getenv("OLMW_WIZARD_PATH")))
        folders.push_back({path, "OLMW_WIZARD_PATH", false});
    if (std::string installed = InstalledPluginFolder(); !installed.empty())
        folders.push_back({installed, "installed", false});
    return folders;
}

void Olm_WizardRegistry::Skip(const std::string& file, const std::string& reason) {
    m_skipped.push_back({file, reason});
}

void Olm_WizardRegistry::Discover(const std::vector<Folder>& folders) {
    for (Folder folder : folders) {
        std::error_code ec;
        folder.exists = fs::is_directory(folder.path, ec);
        m_folders.push_back(folder);
        if (!folder.exists) continue;
        std::vector<std::string> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder.path, ec)) {
            std::error_code typeError;
            if (entry.is_regular_file(typeError)) files.push_back(entry.path().string());
        }
        std::sort(files.begin(), files.end());
        for (const std::string& file : files) {
            // Only shared libraries can be plugins; other files are no candidates.
            if (!QLibrary::isLibrary(QString::fromStdString(file))) continue;
            if (::access(file.c_str(), R_OK) != 0) {
                Skip(file, "unreadable: " + std::error_code(errno, std::generic_category()).message());
                continue;
            }
            auto loader = std::make_unique<QPluginLoader>(QString::fromStdString(file));
            const QJsonObject meta = loader->metaData();
            if (meta.isEmpty()) {
                Skip(file, "unreadable: no plugin metadata (" + loader->errorString().toStdString() + ")");
                continue;
            }
            Wizard wizard;
            if (const std::string problem = WizardOf(meta, wizard); !problem.empty()) {
                Skip(file, problem);
                continue;
            }
            if (const Wizard* taken = Find(wizard.name)) {
                Skip(file, "duplicate name: the wizard '" + wizard.name + "' comes from " + taken->origin + " already");
                continue;
            }
            wizard.origin = file;
            for (Olm_DataTypes::Entry& entry : wizard.dataFiles) entry.origin = file;
            m_wizards.push_back(std::move(wizard));
            m_makers.push_back(nullptr);
            m_plugins.push_back(std::make_shared<Plugin>(Plugin{file, std::move(loader), nullptr}));
        }
    }
}

void Olm_WizardRegistry::RegisterDataTypes() {
    for (std::size_t i = 0; i < m_wizards.size();) {
        std::string problem;
        for (const Olm_DataTypes::Entry& entry : m_wizards[i].dataFiles)
            if (problem.empty()) problem = Olm_DataTypes::Register(entry);
        if (problem.empty()) {
            ++i;
            continue;
        }
        Remove(i, "data file: " + problem);
    }
}

void Olm_WizardRegistry::Remove(std::size_t index, const std::string& reason) {
    Skip(m_wizards[index].origin, reason);
    m_wizards.erase(m_wizards.begin() + static_cast<std::ptrdiff_t>(index));
    m_makers.erase(m_makers.begin() + static_cast<std::ptrdiff_t>(index));
    m_plugins.erase(m_plugins.begin() + static_cast<std::ptrdiff_t>(index));
}

void Olm_WizardRegistry::RegisterTestbenches() {
    for (std::size_t i = 0; i < m_wizards.size();) {
        std::string problem;
        std::vector<std::string> added;
        for (const std::string& primitive : m_wizards[i].testbenches) {
            if (!problem.empty() || !m_plugins[i]) break;
            // The plugin is loaded by the bench's first use, not here.
            std::shared_ptr<Plugin> plugin = m_plugins[i];
            problem = Olm_TestbenchWriter::AddBench(
                primitive, [plugin](const Olm_TbDesign& design, Olm_TbText& tb, std::string& error) {
                    QObject* object = plugin->Object(error);
                    if (!object) return false;
                    auto* bench = qobject_cast<Olm_TestbenchPlugin*>(object);
                    if (!bench) {
                        error = "the plugin '" + plugin->file + "' does not implement " OLM_TESTBENCH_PLUGIN_IID;
                        return false;
                    }
                    return bench->AddTestbench(design, tb, error);
                });
            if (problem.empty()) added.push_back(primitive);
        }
        if (problem.empty()) {
            m_benches.insert(m_benches.end(), added.begin(), added.end());
            ++i;
            continue;
        }
        for (const std::string& primitive : added) Olm_TestbenchWriter::RemoveBench(primitive);
        Remove(i, "testbench: " + problem);
    }
}

const Olm_WizardRegistry::Wizard* Olm_WizardRegistry::Find(const std::string& name) const {
    for (const Wizard& wizard : m_wizards)
        if (wizard.name == name) return &wizard;
    return nullptr;
}

Olm_RunSession::Factory Olm_WizardRegistry::FactoryOf(const Wizard& wizard, const std::string& wizType,
                                                      std::string& why) {
    const std::size_t index = static_cast<std::size_t>(&wizard - m_wizards.data());
    if (index >= m_wizards.size()) {
        why = "the wizard '" + wizard.name + "' is not one of this registry";
        return nullptr;
    }
    if (const Maker& make = m_makers[index])
        return [make, wizType](bool batch) { return make(wizType, batch); };
    Plugin& plugin = *m_plugins[index];
    if (!plugin.instance) {
        QObject* object = plugin.Object(why);
        if (!object) return nullptr;
        plugin.instance = qobject_cast<Olm_WizardPlugin*>(object);
        if (!plugin.instance) {
            why = "the plugin '" + plugin.file + "' does not implement " OLM_WIZARD_PLUGIN_IID;
            return nullptr;
        }
    }
    Olm_WizardPlugin* instance = plugin.instance;
    return [instance, wizType](bool batch) { return instance->MakeWizard(wizType, batch); };
}
