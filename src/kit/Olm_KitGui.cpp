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
#include <QLocale>
#include <QToolButton>
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

// Whether the designer's locale writes decimals with a comma.
bool DecimalComma() { return QLocale().decimalPoint() == QStringLiteral(","); }

// Marks a field's widget as having a problem, or not.
void Mark(QWidget* widget, bool problem) {
    if (widget->property("olmProblem").toBool() == problem) return;
    widget->setProperty("olmProblem", problem);
    if (qobject_cast<QLineEdit*>(widget))
        widget->setStyleSheet(problem ? QStringLiteral("QLineEdit { border: 2px solid #c00000; }") : QString());
}

void SetRed(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    label->setPalette(palette);
}

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
            m_entries.push_back({field.get(), widget, label});
            Entry& entry = m_entries.back();
            form->addRow(label, MakeCell(entry, false));
            // The reason in a row of its own under the field, shown with a problem.
            entry.reason = MakeReason(*field);
            entry.form = form;
            form->setWidget(form->rowCount(), QFormLayout::FieldRole, entry.reason);
            form->setRowVisible(entry.reason, false);
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
                m_entries.push_back({&field, widget, nullptr});
                grid->addWidget(MakeCell(m_entries.back(), true), row + 1, c);
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
    m_problems = new QLabel;
    m_problems->setObjectName(QStringLiteral("problems"));
    m_problems->setWordWrap(true);
    m_problems->setTextFormat(Qt::PlainText);
    m_problems->setContentsMargins(kNoteMargin, 0, kNoteMargin, 0);
    SetRed(m_problems);
    m_problems->hide();
    pageColumn->addWidget(m_problems);
    setPageWidget(pageBox);
    setCompleteCheck([this] { return m_complete; });
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
        if (field.IsNumberEntry()) {
            // What a number can be made of; whether it is one inside the
            // range is checked as it is typed. A comma is taken, so that it is
            // read as the decimal separator or named, never dropped.
            const QString pattern = allowed.GetKind() == Olm_AllowedValues::Kind::Integer
                                        ? QStringLiteral("[+-]?[0-9]*([.,][0-9]*)?")
                                        : QStringLiteral("[+-]?[0-9]*[.,]?[0-9]*([eE][+-]?[0-9]*)?");
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

QLabel* Olm_KitGui::MakeReason(const Olm_Field& field) {
    auto* reason = new QLabel;
    reason->setObjectName(ToQt(field.GetAttribute() + "_reason"));
    reason->setWordWrap(true);
    reason->setTextFormat(Qt::PlainText);
    SetRed(reason);
    reason->hide();
    return reason;
}

QWidget* Olm_KitGui::MakeCell(Entry& entry, bool withReason) {
    if (!withReason && !entry.field->IsDerived()) return entry.widget;
    auto* cell = new QWidget;
    auto* column = new QVBoxLayout(cell);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(entry.widget);
    const Olm_Field& field = *entry.field;
    if (field.IsDerived()) {
        // Locked, the field follows its inputs; unlocked, it keeps what the
        // designer types.
        auto* lock = new QToolButton;
        lock->setObjectName(ToQt(field.GetAttribute() + "_lock"));
        lock->setCheckable(true);
        lock->setChecked(true);
        lock->setText(QStringLiteral("Auto"));
        std::string inputs;
        for (const std::string& input : field.DerivedFrom()) {
            const Olm_Field* source = m_page->FindField(input);
            inputs += (inputs.empty() ? "" : ", ") + (source ? source->Label() : input);
        }
        lock->setToolTip(ToQt("Worked out from " + inputs + "; switch Auto off to enter a value of your own."));
        entry.locked = true;
        entry.lock = lock;
        const Olm_Field* which = &field;
        QObject::connect(lock, &QToolButton::toggled, lock, [this, which](bool on) {
            for (Entry& e : m_entries)
                if (e.field == which) e.locked = on;
            Changed();
        });
        row->addWidget(lock);
    }
    row->addStretch(1);
    column->addLayout(row);
    if (withReason) {
        entry.reason = MakeReason(field);
        column->addWidget(entry.reason);
    }
    return cell;
}

std::vector<std::string> Olm_KitGui::Problems() const { return m_shown; }

bool Olm_KitGui::IsLocked(std::string_view attribute) const {
    for (const Entry& entry : m_entries)
        if (Pal::StrUtil::EqualNoCase(entry.field->GetAttribute(), attribute)) return entry.lock && entry.locked;
    return false;
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
        if (auto* edit = qobject_cast<QLineEdit*>(entry.widget)) {
            const std::string text = edit->text().trimmed().toStdString();
            // The stored value is a number's C form.
            if (field.IsNumberEntry()) return Olm_AllowedValues::CForm(text, DecimalComma());
            return text;
        }
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
    // A derived field whose value is not the derived one was set by the
    // designer: it opens unlocked.
    for (Entry& entry : m_entries) {
        if (!entry.lock) continue;
        const std::string value = WidgetText(*entry.field), derived = entry.field->Derive(*m_values);
        entry.locked = value == derived || Pal::StrUtil::SameNumber(value, derived);
        static_cast<QToolButton*>(entry.lock)->setChecked(entry.locked);
    }
    m_loading = false;
    Changed();
}

// Next has written the values into the model already (Olm_KitPage::Accept).
void Olm_KitGui::widgetsToData() {}

void Olm_KitGui::Changed() {
    if (m_loading) return;
    m_loading = true;
    FollowInputs();
    m_loading = false;
    for (const Entry& entry : m_entries) {
        const bool on = entry.field->IsEnabled(*m_values);
        entry.widget->setEnabled(on);
        if (entry.label) entry.label->setEnabled(on);
        if (entry.lock) entry.lock->setEnabled(on);
    }
    for (std::size_t i = 0; i < m_notes.size(); ++i) m_notes[i]->setText(ToQt(m_page->Notes()[i](*m_values)));
    m_page->Refresh(*this);
    ShowFindings();
    for (const FieldsListener& listener : m_listeners) listener(*m_values, m_complete);
    if (Olm_SymbolPanel* panel = Olm_SymbolPanel::Of(wizard())) panel->PageChanged(*this);
}

void Olm_KitGui::OnFieldsChanged(FieldsListener listener) { m_listeners.push_back(std::move(listener)); }

// Derived fields take their inputs' worked-out value, and choice fields
// offer what the other values allow (the value shown stays, marked, when it
// is no longer offered).
void Olm_KitGui::FollowInputs() {
    for (Entry& entry : m_entries) {
        const Olm_Field& field = *entry.field;
        if (entry.lock) {
            if (auto* edit = qobject_cast<QLineEdit*>(entry.widget)) edit->setReadOnly(entry.locked);
            if (entry.locked) {
                const std::string derived = field.Derive(*m_values);
                if (WidgetText(field) != derived) SetWidgetText(field, derived);
            }
        }
        auto* box = qobject_cast<QComboBox*>(entry.widget);
        if (!box || !field.FiltersChoices()) continue;
        QStringList offered;
        for (const std::string& choice : field.OfferedChoices(*m_values)) offered << ToQt(choice);
        const QString current = box->currentText();
        if (!offered.contains(current) && !current.isEmpty()) offered << current;
        QStringList shown;
        for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
        if (shown == offered) continue;
        box->clear();
        box->addItems(offered);
        box->setCurrentIndex(static_cast<int>(offered.indexOf(current)));
    }
}

void Olm_KitGui::ShowFindings() {
    std::vector<std::string> shown;
    std::map<const Olm_Field*, std::string> reasons;
    std::map<const Olm_Field*, bool> marked;
    for (const Olm_KitPage::Finding& finding : m_page->Findings(*m_values)) {
        shown.push_back(finding.text);
        for (const Olm_Field* field : finding.fields) marked[field] = true;
        if (!finding.fields.empty()) {
            std::string& reason = reasons[finding.fields.front()];
            reason += (reason.empty() ? "" : "\n") + finding.text;
        }
    }
    for (const Entry& entry : m_entries) {
        Mark(entry.widget, marked.count(entry.field) > 0);
        const auto reason = reasons.find(entry.field);
        entry.reason->setText(reason == reasons.end() ? QString() : ToQt(reason->second));
        if (entry.form) entry.form->setRowVisible(entry.reason, reason != reasons.end());
        else entry.reason->setVisible(reason != reasons.end());
    }
    QString list;
    for (const std::string& text : shown)
        list += (list.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("\u2022 ") + ToQt(text);
    m_problems->setText(list);
    m_problems->setVisible(!shown.empty());
    m_shown = std::move(shown);
    m_complete = m_shown.empty();
    emit completeChanged();
}

int Olm_KitGui::advancedSupport() { return 0; }

void Olm_KitGui::onActive() { Changed(); }

bool Olm_KitGui::onCancel() { return true; }

bool Olm_KitGui::onNext() { return m_page->Accept(*m_values); }

void Olm_KitGui::onMoreInfo() {
    if (Olm_KitMain* main = m_page->Main()) main->ShowHelp(m_page->GetTitle());
}
