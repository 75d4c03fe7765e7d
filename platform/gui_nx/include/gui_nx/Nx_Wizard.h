#pragma once

#include "gui_nx/GuiNxExport.h"

#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWizard>

#include <vector>

class Nx_WheelGuard;
class Nx_WizardPage;
class QWizardPage;

// The wizard window: a QWizard whose pages are Nx_WizardPage objects.
//
// A page joins the wizard by being constructed with the wizard as its parent;
// pages appear in the order they were made. The wizard calls the page's
// virtual slots while the user moves through it:
//   - init() (when the page's class has such a slot) once, before the page is
//     first shown;
//   - dataToWidgets() and then onActive() each time the page becomes current;
//   - onNext() before leaving a page with Next, onFinish() before finishing,
//     onBack() before going back, onCancel() before the wizard is cancelled or
//     closed; each may refuse the move by returning false. widgetsToData()
//     follows an accepted Next or Finish;
//   - pages whose skip check holds are passed over (nextId);
//   - onMoreInfo() from the "More Info" help button, onAdvanced() from the
//     "Advanced" button of a page whose advancedSupport() is not 0.
// exec() returns 1 when the user finished the wizard and 0 when it was left.
// The wizard owns its pages (they are its QObject children) and their widgets.
//
// The window opens at openingSize(): large enough for the largest page, as
// far as a 1280 x 800 screen allows (pages scroll inside beyond that). F1
// does what "More Info" does while that button is shown and enabled. The
// mouse wheel changes a combo box or spin box of a page only while it has
// the focus (Nx_WheelGuard); otherwise it scrolls the page.
class NX_API Nx_Wizard : public QWizard {
    Q_OBJECT

public:
    // flags, when not 0, are the window flags of the wizard.
    explicit Nx_Wizard(const QString& caption, QWidget* parent = nullptr,
                       const QString& name = QString(), bool modal = false, unsigned flags = 0);
    ~Nx_Wizard() override;

    // Shows the "More Info" help button on the pages that ask for it.
    void showMoreInfo(bool show);
    bool isMoreInfoShown() const { return m_moreInfo; }

    // The pages in wizard order.
    QList<Nx_WizardPage*> nxPages() const;
    Nx_WizardPage* currentNxPage() const;
    // The page after (before) the given one, or null.
    Nx_WizardPage* nxPageAfter(const Nx_WizardPage* page) const;
    Nx_WizardPage* nxPageBefore(const Nx_WizardPage* page) const;

    // The size the window opens at: its size hint (every page asks for the
    // room of the largest), at most maxOpeningSize().
    QSize openingSize() const;
    // The largest window a 1280 x 800 screen shows whole, with room for the
    // window frame and a panel: 1240 x 740; less when the screen is smaller.
    static QSize maxOpeningSize();

    // Snapshot mode: exec() then shows no window to the user; it walks the
    // pages with Next from the first, saves each as
    // "<folder>/NN-<page title>.png" (NN from 01; the title in lower case,
    // blanks as '-') at the opening size, and returns 0 without finishing.
    // Message boxes go to standard error meanwhile (Nx_MessageBox). The
    // walk stops at the first page that refuses Next or cannot be saved:
    // snapshotProblem() then says why. The folder must exist.
    void setPageSnapshots(const QString& folder) { m_snapshotFolder = folder; }
    QStringList pageSnapshots() const { return m_snapshots; }
    QString snapshotProblem() const { return m_walkProblem; }
    // Walk mode: exec() shows no window to the user either; it presses Next
    // on every page from the first and then Finish, as a designer would, and
    // returns 1 when the wizard finished, else 0; with setPageSnapshots it
    // also saves each page as it passes it. Message boxes are answered
    // unattended meanwhile (Nx_MessageBox). The walk stops at the first page
    // that is not complete (isComplete: its Next and Finish are disabled),
    // that refuses Next or Finish, or on which another modal dialog opens
    // (the walk cannot answer it: it is closed at once). A dialog that ends by
    // itself, such as a wait dialog that closes when its work is done, sets
    // the property kEndsByItself to true, and the walk waits for it. When the
    // walk stops, walkProblem() says why, naming the page; walkEnded() is
    // emitted either way.
    void setWalkToFinish(bool walk) { m_walkToFinish = walk; }
    static constexpr const char* kEndsByItself = "nxEndsByItself";
    QString walkProblem() const { return m_walkProblem; }
    // The file name of a page's snapshot: "NN-<title>.png".
    static QString snapshotName(int number, const QString& pageTitle);

    int exec() override;
    void setVisible(bool visible) override;

signals:
    // The end of a snapshot walk: the files saved, and why it stopped early
    // (empty when every page was saved).
    void pageSnapshotsTaken(const QStringList& files, const QString& problem);
    // The end of a walk to Finish: why it stopped (empty when it finished).
    void walkEnded(const QString& problem);

public:

    // Cancelling asks the current page first (onCancel).
    void reject() override;
    void done(int result) override;
    // The next page that is not skipped (Nx_WizardPage::isSkipped), or -1.
    int nextId() const override;

protected:
    bool validateCurrentPage() override;

private slots:
    void onBackClicked();
    void onHelpRequested();
    void onAdvancedClicked();
    void onCurrentPageChanged(int id);

private:
    friend class Nx_WizardPage;
    struct Entry {
        QPointer<Nx_WizardPage> page;
        QWizardPage* host = nullptr;
        int id = -1;
    };

    // Called by Nx_WizardPage.
    void attachPage(Nx_WizardPage* page);
    void detachPage(Nx_WizardPage* page);
    void setPageBody(Nx_WizardPage* page, QWidget* body);
    void setPageTitle(Nx_WizardPage* page, const QString& title);
    void updateHelpButtons();

    const Entry* findEntry(const Nx_WizardPage* page) const;
    const Entry* findEntry(int id) const;
    void initializeNxPage(int id);
    void onHelpKey();
    int walkPages();
    // Closes a modal dialog other than the wizard that opened during a walk.
    void closeForeignDialog();

    std::vector<Entry> m_entries;
    Nx_WheelGuard* m_wheelGuard = nullptr;  // a child of the wizard
    QString m_snapshotFolder;
    QStringList m_snapshots;
    QString m_walkProblem;
    bool m_walkToFinish = false;
    bool m_openedOnce = false;
    bool m_moreInfo = false;
    bool m_finishing = false;
    bool m_destroying = false;
};
