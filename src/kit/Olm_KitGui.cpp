#include "kit/Olm_KitGui.h"

#include "gui_nx/Nx_Wizard.h"
#include "kit/Olm_Field.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_KitPage.h"
#include "kit/Olm_KitTable.h"
#include "kit/Olm_SymbolPanel.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "pal/StrUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QString ToQt(const std::string& text) { return QString::fromLocal8Bit(text.c_str()); }

// Entry widths in the form and in tables.
constexpr int kNumberWidth = 160;
constexpr int kTextWidth = 220;
constexpr int kTableNumberWidth = 90;
constexpr int kTableTextWidth = 130;
// The notes line up with the body's text.
constexpr int kNoteMargin = 9;

// The scrolling body of a page. It asks for room for all of its content, so
// that the window opens large enough to show it whole where the screen
// allows (QScrollArea alone asks for a fixed share of the font size).
class BodyScroll : public QScrollArea {
public:
    BodyScroll() {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
    }
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        const QSize content = widget() ? widget()->sizeHint() : QSize();
        return content + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

// A table of a page: as wide as the page lets it be, scrolling sideways
// beyond that instead of widening the window past the screen. Its height is
// the table's own and room for the scroll bar, so that no row hides behind it.
class TableScroll : public QScrollArea {
public:
    explicit TableScroll(QWidget* table) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setWidget(table);
    }
    QSize sizeHint() const override {
        const QSize content = widget()->sizeHint();
        return {content.width() + 2 * frameWidth(), minimumSizeHint().height()};
    }
    QSize minimumSizeHint() const override {
        return {kTableTextWidth, widget()->minimumSizeHint().height() + 2 * frameWidth() +
                                     horizontalScrollBar()->sizeHint().height()};
    }
};

}  // namespace

// The values on the page: a field of this page from its widget, anything
// else from the model.
class Olm_KitGui::WidgetValues : public Olm_FieldValues {
public:
    explicit WidgetValues(const Olm_KitGui& gui) : m_gui(gui) {}

    std::string Text(std::string_view attribute) const override {
        for (const Entry& entry : m_gui.m_entries) {
            if (Pal::StrUtil::EqualNoCase(entry.field->GetAttribute(), attribute)) return m_gui.WidgetText(*entry.field);
        }
        return m_gui.m_page->ModelValues().Text(attribute);
    }

private:
    const Olm_KitGui& m_gui;
};

Olm_KitGui::Olm_KitGui(Nx_Wizard* wizard, Olm_KitPage* page)
    : Nx_WizardPage(wizard),
      m_page(page),
      m_body(new QWidget),
      m_column(new QVBoxLayout(m_body)),
      m_values(std::make_unique<WidgetValues>(*this)) {
    setPageName(ToQt(page->GetTitle()));
    m_body->setObjectName(ToQt(page->GetTitle()));
    if (!page->GetIntro().empty()) {
        auto* intro = new QLabel(ToQt(page->GetIntro()));
        intro->setWordWrap(true);
        m_column->addWidget(intro);
    }
    if (!page->FormFields().empty()) {
        auto* form = new QFormLayout;
        form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        for (const auto& field : page->FormFields()) {
            QWidget* widget = MakeWidget(*field, false);
            auto* label = new QLabel(ToQt(field->GetLabel()));
            label->setBuddy(widget);
            form->addRow(label, widget);
            m_entries.push_back({field.get(), widget, label});
        }
        m_column->addLayout(form);
    }
    for (const auto& table : page->Tables()) {
        auto* tableBox = new QWidget;
        tableBox->setObjectName(QStringLiteral("table%1").arg(m_tables.size()));
        auto* grid = new QGridLayout(tableBox);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setHorizontalSpacing(8);
        for (int c = 0; c < static_cast<int>(table->Headers().size()); ++c) {
            auto* header = new QLabel(ToQt(table->Headers()[c]));
            QFont bold = header->font();
            bold.setBold(true);
            header->setFont(bold);
            grid->addWidget(header, 0, c);
        }
        for (int row = 0; row < table->RowCount(); ++row) {
            for (int c = 0; c < static_cast<int>(table->Row(row).size()); ++c) {
                const Olm_Field& field = *table->Row(row)[c];
                QWidget* widget = MakeWidget(field, true);
                grid->addWidget(widget, row + 1, c);
                m_entries.push_back({&field, widget, nullptr});
            }
        }
        m_column->addSpacing(8);
        auto* tableScroll = new TableScroll(tableBox);
        tableScroll->setObjectName(tableBox->objectName() + QStringLiteral("Scroll"));
        m_column->addWidget(tableScroll);
        m_tables.push_back(grid);
    }
    page->BuildGui(*this);
    m_column->addStretch(1);
    // The page: the body, which scrolls when the window is smaller than it,
    // and below it the notes, which stay in sight however the body scrolls.
    auto* pageBox = new QWidget;
    pageBox->setObjectName(m_body->objectName() + QStringLiteral("Page"));
    auto* pageColumn = new QVBoxLayout(pageBox);
    pageColumn->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new BodyScroll;
    scroll->setObjectName(m_body->objectName() + QStringLiteral("Scroll"));
    scroll->setWidget(m_body);
    pageColumn->addWidget(scroll, 1);
    for (std::size_t i = 0; i < page->Notes().size(); ++i) {
        auto* note = new QLabel;
        note->setObjectName(QStringLiteral("note%1").arg(i));
        note->setWordWrap(true);
        note->setContentsMargins(kNoteMargin, 0, kNoteMargin, 0);
        if (i == 0) pageColumn->addSpacing(8);
        pageColumn->addWidget(note);
        m_notes.push_back(note);
    }
    setPageWidget(pageBox);
}

Olm_KitGui::~Olm_KitGui() {
    // Only a wizard takes the body over; without one it is still ours.
    if (!wizard()) delete pageWidget();
}

QWidget* Olm_KitGui::MakeWidget(const Olm_Field& field, bool inTable) {
    const Olm_AllowedValues& allowed = field.GetAllowed();
    QWidget* widget = nullptr;
    if (!field.IsPort() && allowed.GetKind() == Olm_AllowedValues::Kind::Boolean) {
        // In a table the box carries the field's label, in the form its row does.
        auto* box = new QCheckBox(inTable ? ToQt(field.GetLabel()) : QString());
        QObject::connect(box, &QCheckBox::toggled, box, [this] { Changed(); });
        widget = box;
    } else if (!field.IsPort() && allowed.GetKind() == Olm_AllowedValues::Kind::Choice) {
        auto* box = new QComboBox;
        // As wide as the longest choice, also when a page changes the choices.
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        for (const std::string& choice : allowed.GetChoices()) box->addItem(ToQt(choice));
        QObject::connect(box, &QComboBox::currentIndexChanged, box, [this] { Changed(); });
        widget = box;
    } else {
        auto* edit = new QLineEdit;
        if (!field.IsPort() && allowed.IsRange()) {
            // Numbers only; whether one is inside the range is checked on Next.
            const QString pattern = allowed.GetKind() == Olm_AllowedValues::Kind::Integer
                                        ? QStringLiteral("[+-]?[0-9]*")
                                        : QStringLiteral("[+-]?[0-9]*\\.?[0-9]*([eE][+-]?[0-9]*)?");
            edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
            edit->setFixedWidth(inTable ? kTableNumberWidth : kNumberWidth);
        } else {
            edit->setMinimumWidth(inTable ? kTableTextWidth : kTextWidth);
        }
        QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { Changed(); });
        widget = edit;
    }
    widget->setObjectName(ToQt(field.GetAttribute()));
    if (!field.IsPort() && allowed.GetKind() != Olm_AllowedValues::Kind::Text)
        widget->setToolTip(ToQt(field.Describe() + ": " + allowed.Describe()));
    return widget;
}

QGridLayout* Olm_KitGui::Table(int index) const {
    return index >= 0 && index < static_cast<int>(m_tables.size()) ? m_tables[index] : nullptr;
}

QWidget* Olm_KitGui::FieldWidget(std::string_view attribute) const {
    for (const Entry& entry : m_entries)
        if (Pal::StrUtil::EqualNoCase(entry.field->GetAttribute(), attribute)) return entry.widget;
    return nullptr;
}

const Olm_FieldValues& Olm_KitGui::Values() const { return *m_values; }

std::string Olm_KitGui::WidgetText(const Olm_Field& field) const {
    for (const Entry& entry : m_entries) {
        if (entry.field != &field) continue;
        if (auto* box = qobject_cast<QCheckBox*>(entry.widget)) return box->isChecked() ? "TRUE" : "FALSE";
        if (auto* box = qobject_cast<QComboBox*>(entry.widget)) return box->currentText().toStdString();
        if (auto* edit = qobject_cast<QLineEdit*>(entry.widget)) return edit->text().trimmed().toStdString();
    }
    return {};
}

void Olm_KitGui::SetWidgetText(const Olm_Field& field, const std::string& value) {
    for (const Entry& entry : m_entries) {
        if (entry.field != &field) continue;
        if (auto* box = qobject_cast<QCheckBox*>(entry.widget)) box->setChecked(Pal::StrUtil::EqualNoCase(value, "TRUE"));
        else if (auto* box = qobject_cast<QComboBox*>(entry.widget)) {
            // A value that is not one of the choices is shown as it is, so
            // that the check on Next can name it.
            const int index = box->findText(ToQt(field.GetAllowed().Canonical(value)));
            if (index < 0) box->addItem(ToQt(value));
            box->setCurrentIndex(index >= 0 ? index : box->count() - 1);
        } else if (auto* edit = qobject_cast<QLineEdit*>(entry.widget)) {
            edit->setText(ToQt(value));
        }
    }
}

void Olm_KitGui::dataToWidgets() {
    Olm_WizData* data = m_page->GetWizDataPtr();
    if (!data) return;
    m_loading = true;
    for (const Entry& entry : m_entries) {
        if (Olm_Block* block = m_page->BlockOf(*entry.field)) SetWidgetText(*entry.field, entry.field->Read(*data, *block));
    }
    m_loading = false;
    Changed();
}

// Next has written the values into the model already (Olm_KitPage::Accept).
void Olm_KitGui::widgetsToData() {}

void Olm_KitGui::Changed() {
    if (m_loading) return;
    for (const Entry& entry : m_entries) {
        const bool on = entry.field->IsEnabled(*m_values);
        entry.widget->setEnabled(on);
        if (entry.label) entry.label->setEnabled(on);
    }
    for (std::size_t i = 0; i < m_notes.size(); ++i) m_notes[i]->setText(ToQt(m_page->Notes()[i](*m_values)));
    m_page->Refresh(*this);
    if (Olm_SymbolPanel* panel = Olm_SymbolPanel::Of(wizard())) panel->PageChanged(*this);
}

int Olm_KitGui::advancedSupport() { return 0; }

void Olm_KitGui::onActive() { Changed(); }

bool Olm_KitGui::onCancel() { return true; }

bool Olm_KitGui::onNext() { return m_page->Accept(*m_values); }

void Olm_KitGui::onMoreInfo() {
    if (Olm_KitMain* main = m_page->Main()) main->ShowHelp(m_page->GetTitle());
}
