#pragma once

#include "kit/Olm_Field.h"
#include "kit/Olm_FieldValues.h"
#include "wizard/Olm_WizPage.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Olm_KitGui;
class Olm_KitMain;
class Olm_KitTable;

// A page of a toolkit wizard (Olm_KitMain): a title, an introduction and
// bound fields (Olm_Field), in a form and in tables. The page does the
// three things every page does alike: in batch mode it checks the fields'
// values in the model; in a window it builds its window page from the fields
// (Olm_KitGui) and checks what the user entered when Next is pressed; in both
// it then writes the values into the model. The wizard main owns its pages.
//
// Checking a page: every enabled field's value must be what the installed
// data allows (each problem is reported, naming the attribute and what is
// allowed); every enabled port name of this page and the pages before must be
// given, be a legal port name of the HDL chosen, and differ from every other
// port name (letter case folded, as VHDL does) and from the block names;
// then the page's declarative checks (AddCheck) hold, then Check runs. Only
// then are the values written. The window runs the same checks as the
// designer types (Findings), marks each field that has a problem with the
// reason beside it, lists every problem of the page and keeps Next and
// Finish disabled until there is none.
//
// A page needs no class of its own for fields alone:
//
//   Olm_KitPage& page = AddPage("General Setup", "Choose the widths.");
//   page.AddField("A_WIDTH", "Operand A width (bits):");
//
// Derive from it for checks across fields (Check), widgets of its own
// (BuildGui, Refresh), or work of its own when it is accepted (Accepted).
class OLM_BASE_EXPORT Olm_KitPage : public Olm_WizPage {
public:
    // The title is qualified for DSP wizards ("General Setup - Multiplier",
    // Olm_WizMain::FormPageName) and names the page's help topic.
    Olm_KitPage(Olm_KitMain* main, std::string title, std::string intro = {});
    ~Olm_KitPage() override;

    // A field in the page's form, after the ones added before.
    Olm_Field& Add(Olm_Field field);
    Olm_Field& AddField(std::string attribute, std::string label);
    Olm_Field& AddPort(std::string pin, std::string label);
    // A table of fields below the form, one column per header.
    Olm_KitTable& AddTable(std::vector<std::string> headers);
    // A line of text below the fields and tables that the window keeps up to
    // date with the values on the page (a latency, a worked-out clock, ...);
    // batch mode shows none.
    using Note = std::function<std::string(const Olm_FieldValues&)>;
    void AddNote(Note note);
    const std::vector<Note>& Notes() const { return m_notes; }

    // A problem of the page: the fields it concerns (none: the page as a
    // whole), the message that batch mode and Next report (it names the
    // attribute, as an option file does), and the same in plain words for
    // the designer, which the window shows beside the first field.
    struct Finding {
        std::vector<const Olm_Field*> fields;
        std::string message;
        std::string text;
    };
    // A check across fields: empty when the values go together, else the
    // reason, in plain words (it is the message and the text alike).
    using PageCheck = std::function<std::string(const Olm_FieldValues&)>;
    // Adds a check that concerns the fields of the attributes named (marked
    // in the window; names of no field of the page are passed over). The
    // checks run in the order added, once every enabled field's value is
    // allowed, in batch mode, on Next and in the window as the values change:
    //   page.AddCheck({"P_WIDTH"}, [](const Olm_FieldValues& v) {
    //       return v.Int("P_WIDTH") <= v.Int("A_WIDTH") + v.Int("B_WIDTH") ? "" : "The product is too wide."; });
    void AddCheck(std::vector<std::string> fields, PageCheck check);
    // Every problem of the values on this page: each enabled field's value
    // against its rule, each port name, then (when the fields' values are
    // all allowed) each failing check. Empty: the page can be accepted as far
    // as the toolkit knows (Check may still refuse it).
    std::vector<Finding> Findings(const Olm_FieldValues& values);

    // The block the page's fields belong to unless a field names another
    // (Olm_Field::OnBlock): the active block of this primitive type; by
    // default the wizard main's block (Olm_KitMain::SetBlockType).
    void SetBlockType(std::string primType);
    // The primitive type given to SetBlockType (empty: the wizard main's).
    const std::string& GetBlockType() const { return m_blockType; }
    Olm_Block* Block() const;
    // The block of a field of this page.
    Olm_Block* BlockOf(const Olm_Field& field) const;

    // The page is left out (in a window and in batch mode) while the
    // condition holds on the model's values.
    void SkipWhen(Olm_Field::Condition condition);
    bool IsSkipped() const;

    const std::string& GetTitle() const { return m_title; }
    const std::string& GetIntro() const { return m_intro; }
    Olm_KitMain* Main() const { return m_main; }
    // Every field of the page, the form's first, then each table's by rows.
    std::vector<const Olm_Field*> Fields() const;
    const std::vector<std::unique_ptr<Olm_Field>>& FormFields() const { return m_fields; }
    const std::vector<std::unique_ptr<Olm_KitTable>>& Tables() const { return m_tables; }
    // The field bound to an attribute (a port field by PortAttribute), or null.
    const Olm_Field* FindField(std::string_view attribute) const;
    // The model's values as this page's conditions and checks see them in
    // batch mode: its own fields through their binding (pages of several
    // blocks may bind the same attribute name), anything else as the wizard
    // main's ModelValues.
    const Olm_FieldValues& ModelValues() const;

    // Checks across fields, after the fields' own checks; report with Error
    // and return false to keep the page. True by default.
    virtual bool Check(const Olm_FieldValues& values);
    // Called after the values were written into the model; nothing by default.
    virtual void Accepted();
    // Widgets of the page's own, added below the fields (gui.Column()).
    virtual void BuildGui(Olm_KitGui& gui);
    // Called in the window when the page becomes current and whenever a
    // field changes, to bring the page's own widgets up to date.
    virtual void Refresh(Olm_KitGui& gui);

    // Reports an error, a warning or a note (printf-style) with the wizard
    // main's settings: a message box in a window, a line in batch mode.
    void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Warning(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Info(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Binds every field to the block of its primitive type in the installed
    // data (Olm_Field::Bind), and gives a field without a label the one of the
    // data's labels (Olm_Field::TakeLabel); the wizard main does this before
    // the run.
    void Bind(Olm_WizData& installed, const Olm_AttributeLabels* labels = nullptr);
    // Checks the values, then writes them into the model; false (after
    // reporting) when something is wrong. RunBatch and Next both come here.
    bool Accept(const Olm_FieldValues& values);

    bool RunBatch() override;
    bool CreateGuiDlg(Nx_Wizard* wizard) override;
    Nx_WizardPage* GetGui() override;

private:
    bool CheckFields(const Olm_FieldValues& values);
    std::vector<Finding> FieldFindings(const Olm_FieldValues& values) const;
    std::vector<Finding> PortFindings(const Olm_FieldValues& values);
    std::vector<Finding> CheckFindings(const Olm_FieldValues& values) const;
    struct Declared {
        std::vector<std::string> fields;
        PageCheck check;
    };
    std::vector<Declared> m_checks;

    Olm_KitMain* m_main;
    std::string m_title;
    std::string m_intro;
    std::string m_blockType;
    std::vector<std::unique_ptr<Olm_Field>> m_fields;
    std::vector<std::unique_ptr<Olm_KitTable>> m_tables;
    std::vector<Note> m_notes;
    Olm_Field::Condition m_skip;
    struct GuiRef;  // the window page, which the wizard window owns
    std::unique_ptr<GuiRef> m_gui;
    class PageValues;
    std::unique_ptr<PageValues> m_values;
};
