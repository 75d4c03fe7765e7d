#include "kit/Olm_KitPage.h"

#include "kit/Olm_KitGui.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_KitFormat.h"
#include "kit/Olm_KitTable.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "pal/StrUtil.h"

#include <QPointer>


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

bool Olm_KitPage::CheckFields(const Olm_FieldValues& values) {
    bool ok = true;
    for (const Olm_Field* field : Fields()) {
        if (!field->IsEnabled(values)) continue;
        const std::string problem = field->Problem(values.Text(field->GetAttribute()));
        if (problem.empty()) continue;
        m_main->Report(Olm_KitMain::Severity::Error, problem);
        ok = false;
    }
    return ok;
}

bool Olm_KitPage::CheckPorts(const Olm_FieldValues& values) {
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
    const int hdl = m_main->GetHdlSelector();
    Olm_WizData* data = GetWizDataPtr();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const Port& port = ports[i];
        if (port.name.empty()) {
            Error("%s: a port name is needed.", port.field->Describe().c_str());
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            // Pins of several blocks on one net share its port.
            const bool sameNet = !port.field->GetNet().empty() &&
                                 Pal::StrUtil::EqualNoCase(ports[j].field->GetNet(), port.field->GetNet());
            if (sameNet && ports[j].name == port.name) continue;
            if (sameNet) {
                Error("%s and %s connect the same net %s, which leaves the design under one port name; they name it "
                      "'%s' and '%s'.",
                      ports[j].field->Describe().c_str(), port.field->Describe().c_str(), port.field->GetNet().c_str(),
                      ports[j].name.c_str(), port.name.c_str());
                return false;
            }
            if (!Pal::StrUtil::EqualNoCase(ports[j].name, port.name)) continue;
            const bool exact = ports[j].name == port.name;
            Error("The port name '%s' of %s %s the port name '%s' of %s. All port names must differ, also in more "
                  "than letter case.",
                  port.name.c_str(), port.field->Describe().c_str(), exact ? "is also" : "differs only in letter case from",
                  ports[j].name.c_str(), ports[j].field->Describe().c_str());
            return false;
        }
        if (data && data->GetNamedBlock(port.name.c_str())) {
            Error("The port name '%s' of %s is the name of a block of the design. All names must be unique.",
                  port.name.c_str(), port.field->Describe().c_str());
            return false;
        }
        Pal::String name = port.name;
        Pal::String message;
        if (!IsPortnameLegal(name, message, hdl)) {
            Error("%s: %s", port.field->Describe().c_str(), message.c_str());
            return false;
        }
    }
    return true;
}

bool Olm_KitPage::Accept(const Olm_FieldValues& values) {
    if (!m_main || !GetWizDataPtr()) return false;
    if (!CheckFields(values) || !CheckPorts(values) || !Check(values)) return false;
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
