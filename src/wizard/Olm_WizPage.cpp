#include "wizard/Olm_WizPage.h"

#include "wizard/Olm_WizMain.h"

#include "datafiles/Olm_MessageReporter.h"
#include "engine/Olm_StrArray.h"
#include "gui_nx/Nx_HelpManager.h"
#include "gui_nx/Nx_MessageBox.h"
#include "model/Olm_WizData.h"
#include "pal/Stream.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include <QApplication>
#include <QComboBox>

namespace {

const char* const kMoreInfoWarning =
    "Unable to run the web browser in order to show the More Info requested.";

QString ToQt(const Pal::String& text) { return QString::fromLocal8Bit(text.c_str()); }

// Asks the translator of the selected language; other selectors accept.
bool TranslatorAccepts(const Pal::String& name, Pal::String& reason, int hdl) {
    Pal::String candidate = name;
    switch (hdl) {
    case Olm_WizPage::kHdlVhdl:
    case Olm_WizPage::kHdlVhdlToo: return Olm_VhdlTranslator::IsPortnameLegal(candidate, reason);
    case Olm_WizPage::kHdlVerilog: return Olm_VerilogTranslator::IsPortnameLegal(candidate, reason);
    default: return true;
    }
}

// The window form of every message of the library: a modal message box,
// critical for an error, information for a note when there is an
// application, a warning otherwise; rich text behind "<qt>" unless plain.
// Registered with the message reporter while the window layer is loaded.
class WindowMessageSink : public Olm_MessageReporter::Sink {
public:
    WindowMessageSink() { Olm_MessageReporter::SetWindowSink(this); }
    ~WindowMessageSink() override { Olm_MessageReporter::SetWindowSink(nullptr); }
    bool IsWindow() const override { return true; }
    void Deliver(const Olm_MessageReporter::Message& message) override {
        if (message.batch) return;
        const QString text = QString::fromLocal8Bit(message.text.c_str());
        using Severity = Olm_MessageReporter::Severity;
        if (message.severity == Severity::Info && QApplication::instance()) {
            Nx_MessageBox::information(QStringLiteral("<qt>") + text, 1, 0, 0);
            return;
        }
        const QString shown = message.plain ? text : QStringLiteral("<qt>") + text;
        if (message.severity == Severity::Error) Nx_MessageBox::critical(shown, 1, 0, 0);
        else Nx_MessageBox::warning(shown, 1, 0, 0);
    }
};
WindowMessageSink g_windowMessageSink;

}  // namespace

Olm_WizPage::Olm_WizPage(Olm_WizMain* main)
    : m_wizData(main ? main->GetWizDataPtr() : nullptr), m_wizMain(main) {}

Olm_WizPage::Olm_WizPage(const Olm_WizPage& other) = default;

Olm_WizPage& Olm_WizPage::operator=(const Olm_WizPage& other) = default;

Olm_WizPage::~Olm_WizPage() = default;

void Olm_WizPage::DoMessage(Pal::String text, bool batch, Pal::Stream* log, bool isError,
                            bool silent, bool plain) {
    Olm_MessageReporter::Message message;
    message.severity = isError ? Olm_MessageReporter::Severity::Error : Olm_MessageReporter::Severity::Warning;
    message.text = text.c_str();
    message.batch = batch;
    message.log = log;
    message.silent = silent;
    message.plain = plain;
    Olm_MessageReporter::Current().Report(message);
}

void Olm_WizPage::IssueMessage(Pal::String text, bool isError, bool isError2, bool plain) {
    if (!m_wizMain) return;
    DoMessage(text, m_wizMain->IsBatchMode(), m_wizMain->GetLogFilePtr(), isError || isError2,
              m_wizMain->GetSilentMode(), plain);
}

int Olm_WizPage::IssueYesNoQuestion(Pal::String question, Pal::String batchNote) {
    if (!m_wizMain) return 1;
    if (m_wizMain->IsBatchMode()) {
        if (!batchNote.IsEmpty()) {
            // The note of the answer given: a line on the console and in the log.
            Olm_MessageReporter::Message note;
            note.severity = Olm_MessageReporter::Severity::Info;
            note.text = batchNote.c_str();
            note.log = m_wizMain->GetLogFilePtr();
            note.silent = m_wizMain->GetSilentMode();
            Olm_MessageReporter::Current().Report(note);
        }
        return 1;
    }
    const int answer = Nx_MessageBox::question(QStringLiteral("<qt>") + ToQt(question),
                                               QStringLiteral("Yes"), QStringLiteral("No"),
                                               QString(), 0, -1);
    return answer == 1 ? 0 : 1;
}

int Olm_WizPage::GetComboBoxIndex(QComboBox* box, Pal::String text) {
    if (!box) return -1;
    const QString wanted = ToQt(text);
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).compare(wanted) == 0) return i;
    return -1;
}

bool Olm_WizPage::SetComboBoxText(QComboBox* box, Pal::String text) {
    if (!box) return false;
    const int index = GetComboBoxIndex(box, text);
    if (index >= 0) {
        box->setCurrentIndex(index);
        return true;
    }
    if (box->count() > 0) box->setCurrentIndex(0);
    return false;
}

Olm_Block* Olm_WizPage::FindAndActivateBlk(Olm_WizData* data, Pal::String name, bool reportMissing) {
    if (!data) return nullptr;
    if (Olm_Block* block = data->GetNamedBlock(name)) {
        block->SetIsActive(true);
        return block;
    }
    if (reportMissing) IssueMessage("Olm Wizard internal data error", true, false, false);
    return nullptr;
}

void Olm_WizPage::DeleteTheseBlks(Olm_WizData* data, Pal::String primType) {
    if (!data) return;
    data->GetBlkList().EraseIf(
        [&primType](const Olm_Block* block) { return block->GetPrimType().Compare(primType, Pal::String::kNoCase) == 0; });
}

bool Olm_WizPage::InvokeMoreInfo(Pal::String category) {
    if (!m_wizMain) return false;
    if (!m_wizMain->m_moreInfoAvailable) {
        IssueMessage(kMoreInfoWarning, false, false, false);
        return false;
    }
    Pal::String topic = category;
    topic += " ";
    topic += m_wizMain->GetFamily();
    if (Nx_HelpManager* help = m_wizMain->m_helpManager)
        return help->showHelpTopic(QStringLiteral("olmw.map"), ToQt(topic),
                                   Nx_HelpManager::TopicPrefix(2));
    IssueMessage(kMoreInfoWarning, false, false, false);
    return false;
}

bool Olm_WizPage::UniqueNameCheck(Olm_WizData* data, Olm_StrArray* names, bool showMessage) {
    if (!data || !names) return false;
    const int rows = names->GetSize();
    for (int i = 0; i < rows; ++i) {
        const Pal::String name = names->GetAt(i);
        if (name.IsEmpty()) continue;
        for (int j = 0; j < rows; ++j) {
            if (j == i) continue;
            // Equal only with the same length and the same bytes.
            if (names->GetAt(j).str() != name.str()) continue;
            if (showMessage) {
                Pal::String message;
                message.Format("The name '%s' is entered in both row %d and row %d.  All names must be unique.",
                               name.c_str(), i + 1, j + 1);
                IssueMessage(message, true, false, false);
            }
            return false;
        }
        if (data->GetNamedBlock(name)) {
            if (showMessage) {
                Pal::String message;
                message.Format("The name %s used in row %d is already used in the design.  All names must be unique.",
                               name.c_str(), i + 1);
                IssueMessage(message, true, false, false);
            }
            return false;
        }
    }
    return true;
}

bool Olm_WizPage::CheckIllegalPortnames(Olm_StrArray* names, Pal::String& report, int hdl) {
    report = "";
    if (!names) return true;
    report = "The names specified in the following rows are not legal portnames and must be changed:";
    bool allLegal = true;
    for (int row = 1; row <= names->GetSize(); ++row) {
        const Pal::String name = names->GetAt(row - 1);
        Pal::String reason;
        if (TranslatorAccepts(name, reason, hdl)) continue;
        allLegal = false;
        Pal::String entry;
        entry.Format("%s  - row %d: %s: %s", "\r\n", row, name.c_str(), reason.c_str());
        report += entry;
    }
    return allLegal;
}

bool Olm_WizPage::IsPortnameLegal(Pal::String& name, Pal::String& message, int hdl) {
    message = "";
    if (name.IsEmpty()) return true;
    Pal::String reason;
    if (TranslatorAccepts(name, reason, hdl)) return true;
    Pal::String text;
    text.Format("The name '%s' is not a legal portname: %s", name.c_str(), reason.c_str());
    message = text;
    return false;
}
