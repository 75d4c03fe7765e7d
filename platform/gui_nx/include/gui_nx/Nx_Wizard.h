#pragma once

#include "gui_nx/GuiNxExport.h"

#include <QPointer>
#include <QString>
#include <QWizard>

#include <vector>

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

    std::vector<Entry> m_entries;
    bool m_moreInfo = false;
    bool m_finishing = false;
    bool m_destroying = false;
};
