#include "kit/Olm_KitPage.h"

#include "kit/Olm_KitGui.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_KitFormat.h"
#include "kit/Olm_KitTable.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "pal/StrUtil.h"

#include <QPointer>

#include <algorithm>


struct Olm_KitPage::GuiRef {
    QPointer<Nx_WizardPage> page;
};

class Olm_KitPage::PageValues : public Olm_FieldValues {
public:
    explicit PageValues(const Olm_KitPage& page) : m_page(page) {}
    std::string Text(std::string_view attribute) const override {
        Olm_WizData* data = m_page.GetWizDataPtr();
        if (const Olm_Field* field = m_page.FindField(attribute); field && data) {
            Olm_Block* block = m_page.BlockOf(*field);
            return block ? field->Read(*data, *block) : field->GetDefault();
        }
        return m_page.m_main ? m_page.m_main->ModelValues().Text(attribute) : std::string();
    }

private:
    const Olm_KitPage& m_page;
};

Olm_KitPage::Olm_KitPage(Olm_KitMain* main, std::string title, std::string intro)
    : Olm_WizPage(main),
      m_main(main),
      m_title(Olm_WizMain::FormPageName(title.c_str(), main ? main->GetWizType() : Pal::String()).str()),
      m_intro(std::move(intro)),
      m_gui(std::make_unique<GuiRef>()),
      m_values(std::make_unique<PageValues>(*this)) {}

Olm_KitPage::~Olm_KitPage() = default;

Olm_Field& Olm_KitPage::Add(Olm_Field field) {
    m_fields.push_back(std::make_unique<Olm_Field>(std::move(field)));
    return *m_fields.back();
}

Olm_Field& Olm_KitPage::AddField(std::string attribute, std::string label) {
    return Add(Olm_Field(std::move(attribute), std::move(label)));
}

Olm_Field& Olm_KitPage::AddPort(std::string pin, std::string label) {
    return Add(Olm_Field::Port(std::move(pin), std::move(label)));
}

Olm_KitTable& Olm_KitPage::AddTable(std::vector<std::string> headers) {
    m_tables.push_back(std::make_unique<Olm_KitTable>(std::move(headers)));
    return *m_tables.back();
}

void Olm_KitPage::AddNote(Note note) { m_notes.push_back(std::move(note)); }

void Olm_KitPage::SetBlockType(std::string primType) { m_blockType = std::move(primType); }

Olm_Block* Olm_KitPage::Block() const {
    if (!m_main) return nullptr;
    return m_blockType.empty() ? m_main->Block() : m_main->FindBlock(m_blockType);
}

Olm_Block* Olm_KitPage::BlockOf(const Olm_Field& field) const {
    if (!field.GetBlockType().empty() && m_main) return m_main->FindBlock(field.GetBlockType());
    return Block();
}

void Olm_KitPage::SkipWhen(Olm_Field::Condition condition) { m_skip = std::move(condition); }

bool Olm_KitPage::IsSkipped() const { return m_skip && m_main && m_skip(m_main->ModelValues()); }

std::vector<const Olm_Field*> Olm_KitPage::Fields() const {
    std::vector<const Olm_Field*> fields;
    for (const auto& field : m_fields) fields.push_back(field.get());
    for (const auto& table : m_tables)
        for (int row = 0; row < table->RowCount(); ++row)
            for (const auto& field : table->Row(row)) fields.push_back(field.get());
    return fields;
}

const Olm_Field* Olm_KitPage::FindField(std::string_view attribute) const {
    for (const Olm_Field* field : Fields())
        if (Pal::StrUtil::EqualNoCase(field->GetAttribute(), attribute)) return field;
    return nullptr;
}

void Olm_KitPage::Bind(Olm_WizData& installed, const Olm_AttributeLabels* labels) {
    const auto bind = [&](Olm_Field& field) {
        std::string type = field.GetBlockType();
        if (type.empty()) {
            const Olm_Block* block = Block();
            type = block ? block->GetPrimType().str() : m_blockType;
        }
        field.Bind(installed.GetPrimitiveBlock(type.c_str()));
        if (labels) field.TakeLabel(*labels, type);
    };
    for (const auto& field : m_fields) bind(*field);
    for (const auto& table : m_tables)
        for (int row = 0; row < table->RowCount(); ++row)
            for (int column = 0; column < static_cast<int>(table->Row(row).size()); ++column) bind(table->At(row, column));
}

const Olm_FieldValues& Olm_KitPage::ModelValues() const { return *m_values; }

bool Olm_KitPage::Check(const Olm_FieldValues&) { return true; }

void Olm_KitPage::Accepted() {}

void Olm_KitPage::BuildGui(Olm_KitGui&) {}

void Olm_KitPage::Refresh(Olm_KitGui&) {}

void Olm_KitPage::Error(const char* format, ...) {
    if (m_main) OLM_KIT_REPORT(Olm_KitMain::Severity::Error, format, m_main->Report);
}

void Olm_KitPage::Warning(const char* format, ...) {
    if (m_main) OLM_KIT_REPORT(Olm_KitMain::Severity::Warning, format, m_main->Report);
}

void Olm_KitPage::Info(const char* format, ...) {
    if (m_main) OLM_KIT_REPORT(Olm_KitMain::Severity::Info, format, m_main->Report);
}

void Olm_KitPage::AddCheck(std::vector<std::string> fields, PageCheck check) {
    m_checks.push_back({std::move(fields), std::move(check)});
}

std::vector<Olm_KitPage::Finding> Olm_KitPage::FieldFindings(const Olm_FieldValues& values) const {
    std::vector<Finding> findings;
    for (const Olm_Field* field : Fields()) {
        if (!field->IsEnabled(values)) continue;
        const std::string value = values.Text(field->GetAttribute());
        // A choice that is not offered is marked in the window only; the
        // page's checks judge it in batch mode and on Next.
        std::string text = field->Reason(value, values);
        if (!text.empty()) findings.push_back({{field}, field->Problem(value), std::move(text)});
    }
    return findings;
}

std::vector<Olm_KitPage::Finding> Olm_KitPage::PortFindings(const Olm_FieldValues& values) {
    // The enabled ports of this page and of the pages before it: those of
    // earlier pages are in the model already.
    struct Port {
        const Olm_Field* field;
        std::string name;
    };
    std::vector<Port> ports;
    for (const auto& page : m_main->Pages()) {
        const bool current = page.get() == this;
        const Olm_FieldValues& source = current ? values : page->ModelValues();
        if (!current && page->IsSkipped()) continue;
        for (const Olm_Field* field : page->Fields()) {
            if (field->IsPort() && field->IsEnabled(source)) ports.push_back({field, source.Text(field->GetAttribute())});
        }
        if (current) break;
    }
    std::vector<Finding> findings;
    // A port of this page: its problem marks it; one of an earlier page
    // marks the field of this page it clashes with.
    const auto ours = [this](const Olm_Field* field) {
        const std::vector<const Olm_Field*> fields = Fields();
        return std::find(fields.begin(), fields.end(), field) != fields.end();
    };
    const auto add = [&](std::vector<const Olm_Field*> fields, std::string message, std::string text) {
        std::erase_if(fields, [&](const Olm_Field* field) { return !ours(field); });
        findings.push_back({std::move(fields), std::move(message), std::move(text)});
    };
    const int hdl = m_main->GetHdlSelector();
    Olm_WizData* data = GetWizDataPtr();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const Port& port = ports[i];
        if (!ours(port.field)) continue;
        const std::string label = port.field->Label();
        if (port.name.empty()) {
            add({port.field}, port.field->Describe() + ": a port name is needed.", label + ": a port name is needed.");
            continue;
        }
        for (std::size_t j = 0; j < i; ++j) {
            // Pins of several blocks on one net share its port.
            const Port& other = ports[j];
            const bool sameNet = !port.field->GetNet().empty() &&
                                 Pal::StrUtil::EqualNoCase(other.field->GetNet(), port.field->GetNet());
            if (sameNet && other.name == port.name) continue;
            if (sameNet) {
                add({port.field, other.field},
                    other.field->Describe() + " and " + port.field->Describe() + " connect the same net " +
                        port.field->GetNet() + ", which leaves the design under one port name; they name it '" +
                        other.name + "' and '" + port.name + "'.",
                    label + " and " + other.field->Label() + " are one net and need one port name.");
                continue;
            }
            if (!Pal::StrUtil::EqualNoCase(other.name, port.name)) continue;
            const bool exact = other.name == port.name;
            add({port.field, other.field},
                "The port name '" + port.name + "' of " + port.field->Describe() + " " +
                    (exact ? "is also" : "differs only in letter case from") + " the port name '" + other.name +
                    "' of " + other.field->Describe() + ". All port names must differ, also in more than letter case.",
                label + ": '" + port.name + "' is " + (exact ? "also" : "in all but letter case") + " the port of " +
                    other.field->Label() + "; every port needs a name of its own.");
        }
        if (data && data->GetNamedBlock(port.name.c_str())) {
            add({port.field},
                "The port name '" + port.name + "' of " + port.field->Describe() +
                    " is the name of a block of the design. All names must be unique.",
                label + ": '" + port.name + "' is the name of a block of the design; choose another.");
        }
        Pal::String name = port.name;
        Pal::String message;
        if (!IsPortnameLegal(name, message, hdl))
            add({port.field}, port.field->Describe() + ": " + message.str(), label + ": " + message.str());
    }
    return findings;
}

std::vector<Olm_KitPage::Finding> Olm_KitPage::CheckFindings(const Olm_FieldValues& values) const {
    std::vector<Finding> findings;
    for (const Declared& declared : m_checks) {
        std::string problem = declared.check(values);
        if (problem.empty()) continue;
        std::vector<const Olm_Field*> fields;
        for (const std::string& attribute : declared.fields)
            if (const Olm_Field* field = FindField(attribute)) fields.push_back(field);
        findings.push_back({std::move(fields), problem, problem});
    }
    return findings;
}

std::vector<Olm_KitPage::Finding> Olm_KitPage::Findings(const Olm_FieldValues& values) {
    if (!m_main) return {};
    std::vector<Finding> findings = FieldFindings(values);
    const bool fieldsHold = findings.empty();
    for (Finding& finding : PortFindings(values)) findings.push_back(std::move(finding));
    if (fieldsHold)
        for (Finding& finding : CheckFindings(values)) findings.push_back(std::move(finding));
    return findings;
}

bool Olm_KitPage::CheckFields(const Olm_FieldValues& values) {
    bool ok = true;
    for (const Finding& finding : FieldFindings(values)) {
        if (finding.message.empty()) continue;
        m_main->Report(Olm_KitMain::Severity::Error, finding.message);
        ok = false;
    }
    return ok;
}

bool Olm_KitPage::Accept(const Olm_FieldValues& values) {
    if (!m_main || !GetWizDataPtr()) return false;
    if (!CheckFields(values)) return false;
    // The first port problem, as the ports are met; then every failing check.
    if (const std::vector<Finding> ports = PortFindings(values); !ports.empty()) {
        Error("%s", ports.front().message.c_str());
        return false;
    }
    const std::vector<Finding> checks = CheckFindings(values);
    for (const Finding& finding : checks) Error("%s", finding.message.c_str());
    if (!checks.empty() || !Check(values)) return false;
    for (const Olm_Field* field : Fields()) {
        if (Olm_Block* block = BlockOf(*field))
            field->Write(*GetWizDataPtr(), *block, values.Text(field->GetAttribute()), field->IsEnabled(values), values);
    }
    Accepted();
    return true;
}

bool Olm_KitPage::RunBatch() {
    if (IsSkipped()) return true;
    return Accept(ModelValues());
}

bool Olm_KitPage::CreateGuiDlg(Nx_Wizard* wizard) {
    if (!wizard) return false;
    auto* gui = new Olm_KitGui(wizard, this);  // the wizard owns it
    m_gui->page = gui;
    gui->setSkipCheck([this] { return IsSkipped(); });
    return true;
}

Nx_WizardPage* Olm_KitPage::GetGui() { return m_gui->page.data(); }
