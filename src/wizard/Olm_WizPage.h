#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

namespace Pal {
class Stream;
}
class Nx_Wizard;
class Nx_WizardPage;
class Olm_Block;
class Olm_StrArray;
class Olm_WizData;
class Olm_WizMain;
class QComboBox;

// The base of every page of a concrete wizard: ties the page to its wizard
// main and to the container it edits, and offers the services all pages
// share. Messages and questions work the same in GUI and in batch mode; every
// message a page issues itself goes out only when the page has a wizard main,
// with that main's batch flag, log stream and silent flag.
//
// The page owns nothing: the container and the wizard main outlive it.
class OLM_BASE_EXPORT Olm_WizPage {
public:
    // HDL selectors of the port-name checks.
    static constexpr int kHdlVhdl = 0;
    static constexpr int kHdlVhdlToo = 1;
    static constexpr int kHdlVerilog = 2;

    explicit Olm_WizPage(Olm_WizMain* main);
    Olm_WizPage(const Olm_WizPage& other);
    Olm_WizPage& operator=(const Olm_WizPage& other);

    // Does the page's work without a window; false stops the batch run.
    virtual bool RunBatch() = 0;
    // Creates the page's GUI page in the wizard; false stops the creation of
    // further pages.
    virtual bool CreateGuiDlg(Nx_Wizard* wizard) = 0;
    // The page's GUI page, or null.
    virtual Nx_WizardPage* GetGui() = 0;
    // Pages may be deleted through this class; it releases nothing itself.
    virtual ~Olm_WizPage();

    Olm_WizData* GetWizDataPtr() const { return m_wizData; }
    void SetWizDataPtr(Olm_WizData* data) { m_wizData = data; }
    Olm_WizMain* GetWizMainPtr() const { return m_wizMain; }

    // Batch: the line (with "ERROR: " in front for errors) goes to standard
    // output unless silent, and to the log when there is one. GUI: a modal
    // box, critical for errors and warning otherwise, showing the text as
    // rich text behind "<qt>" unless plain is set.
    static void DoMessage(Pal::String text, bool batch, Pal::Stream* log, bool isError,
                          bool silent, bool plain);
    // DoMessage with the wizard main's settings; either flag makes an error.
    // Nothing happens without a wizard main.
    void IssueMessage(Pal::String text, bool isError, bool isError2, bool plain);
    // 1 for yes, 0 for no. Batch mode answers yes and writes the batch note
    // (when not empty) like a message; without a wizard main the answer is yes.
    int IssueYesNoQuestion(Pal::String question, Pal::String batchNote);

    // Index of the first item whose text equals text exactly, or -1.
    static int GetComboBoxIndex(QComboBox* box, Pal::String text);
    // Makes the first item with that text current and returns true; otherwise
    // makes item 0 current (when there is one) and returns false.
    static bool SetComboBoxText(QComboBox* box, Pal::String text);

    // The block of that name, set active; null (reporting an internal error
    // when asked to) when there is none.
    Olm_Block* FindAndActivateBlk(Olm_WizData* data, Pal::String name, bool reportMissing);
    // Deletes every block of that primitive type from the container.
    static void DeleteTheseBlks(Olm_WizData* data, Pal::String primType);

    // Shows the help topic "<category> <family>"; true when it was shown.
    bool InvokeMoreInfo(Pal::String category);

    // Name checks of a column of names; rows are numbered from 1.
    // True when the names differ from each other and from every block name
    // of the design (empty rows are skipped). At most one message, about the
    // first row with a problem.
    bool UniqueNameCheck(Olm_WizData* data, Olm_StrArray* names, bool showMessage);
    // True when every row holds a legal port name of the HDL selected
    // (0 and 1 VHDL, 2 Verilog, anything else accepts every name); report
    // lists the illegal rows under a heading.
    static bool CheckIllegalPortnames(Olm_StrArray* names, Pal::String& report, int hdl);
    // True when the name is empty or a legal port name; message says why not.
    static bool IsPortnameLegal(Pal::String& name, Pal::String& message, int hdl);

protected:
    Olm_WizData* m_wizData;
    Olm_WizMain* m_wizMain;
};
