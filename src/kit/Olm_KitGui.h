#pragma once

#include "gui_nx/Nx_WizardPage.h"
#include "kit/Olm_FieldValues.h"
#include "shared/OlmBaseExport.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Nx_Wizard;
class Olm_Field;
class Olm_KitPage;
class QFormLayout;
class QGridLayout;
class QLabel;
class QVBoxLayout;
class QWidget;

// The window page of a toolkit page (Olm_KitPage), built from its fields: a
// column with the introduction, a form with a row per field (the labels
// right-aligned), the tables, then what the page adds itself (BuildGui).
// That column scrolls when the window is too small for it; a table wider
// than the window scrolls sideways on its own. The notes stand below the
// column, outside the scrolling, so they are always in sight. Combo boxes are
// as wide as their longest choice.
// The widget of a field follows what the installed data allows: a check box
// for TRUE/FALSE, a combo box of the choices, an entry that takes numbers
// only for a range (its tooltip says which) or a field typed as a number
// (Olm_Field::TypedAsNumber), an entry for text and port names. A field
// whose condition does not hold is disabled, and every change re-evaluates
// the conditions and calls the page's Refresh.
//
// The page checks its values as the designer types (Olm_KitPage::Findings,
// the same checks as batch mode and Next): a field with a problem is marked
// (its "olmProblem" property; an entry gets a red frame) with the reason in
// plain words under it (a label named <attribute>_reason), every problem of
// the page is listed below the notes (a label named "problems"), and Next
// and Finish stay disabled while there is one. A number entry takes digits,
// a sign, a point, a comma and an exponent only; a comma is the decimal
// separator where the locale (QLocale()) writes decimals so, else the field
// is marked for it. A derived field (Olm_Field::DeriveFrom) follows its
// inputs and is read-only until its lock button (<attribute>_lock) is
// unchecked; a choice field shows only the choices offered
// (Olm_Field::OfferWhen).
//
// The window owns this page; the page owns its widgets. Next checks and
// writes what the user entered (Olm_KitPage::Accept); More Info shows the
// page's help (Olm_KitMain::ShowHelp).
class OLM_BASE_EXPORT Olm_KitGui : public Nx_WizardPage {
public:
    Olm_KitGui(Nx_Wizard* wizard, Olm_KitPage* page);
    ~Olm_KitGui() override;

    Olm_KitPage* Page() const { return m_page; }
    // The column of the page body, to add widgets below the fields.
    QVBoxLayout* Column() const { return m_column; }
    // The grid of a table (in the order the tables were added): header row
    // 0, then a row per table row; columns after the fields' are free.
    QGridLayout* Table(int index) const;
    // The widget of a field (QCheckBox, QComboBox or QLineEdit), or null.
    QWidget* FieldWidget(std::string_view attribute) const;
    // The values on the page now (the model's for fields of other pages).
    const Olm_FieldValues& Values() const;
    // A field's value in its widget.
    std::string WidgetText(const Olm_Field& field) const;
    void SetWidgetText(const Olm_Field& field, const std::string& value);
    // Calls the listener after every change of a field on the page (and
    // when the page becomes current), once the page is up to date: the
    // values as the page holds them, and whether it may move on.
    using FieldsListener = std::function<void(const Olm_FieldValues& values, bool complete)>;
    void OnFieldsChanged(FieldsListener listener);
    // The plain-words problems shown now (empty: the page may move on).
    std::vector<std::string> Problems() const;
    // Whether a derived field follows its inputs (true) or keeps what the
    // designer typed (false); false for other fields.
    bool IsLocked(std::string_view attribute) const;

    int advancedSupport() override;
    void dataToWidgets() override;
    void widgetsToData() override;
    void onActive() override;
    bool onCancel() override;
    bool onNext() override;
    void onMoreInfo() override;

private:
    class WidgetValues;
    struct Entry;
    QWidget* MakeWidget(const Olm_Field& field, bool inTable);
    // The cell of a field: its widget, a lock button for a derived field,
    // and (withReason) the reason label under them.
    QWidget* MakeCell(Entry& entry, bool withReason);
    QLabel* MakeReason(const Olm_Field& field);
    void Changed();
    void FollowInputs();
    void ShowFindings();

    Olm_KitPage* m_page;
    QWidget* m_body;
    QVBoxLayout* m_column;
    std::vector<QGridLayout*> m_tables;
    struct Entry {
        const Olm_Field* field;
        QWidget* widget;
        QLabel* label;  // null in tables
        QLabel* reason = nullptr;
        QFormLayout* form = nullptr;  // the form that holds the reason's row
        QWidget* lock = nullptr;  // a derived field's lock button
        bool locked = false;
    };
    std::vector<Entry> m_entries;
    std::vector<QLabel*> m_notes;
    QLabel* m_problems = nullptr;
    std::vector<std::string> m_shown;
    std::vector<FieldsListener> m_listeners;
    bool m_complete = true;
    std::unique_ptr<WidgetValues> m_values;
    bool m_loading = false;
};
