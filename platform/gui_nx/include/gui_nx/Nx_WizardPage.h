#pragma once

#include "gui_nx/GuiNxExport.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class Nx_Wizard;

// One page of an Nx_Wizard. The page is a QObject; what the user sees is the
// widget handed to setPageWidget. Constructed with an Nx_Wizard as parent, the
// page joins that wizard as its last page and is owned by it; any other
// parent makes a page that belongs to no wizard.
class NX_API Nx_WizardPage : public QObject {
    Q_OBJECT

public:
    enum DisplayState { DisplayOff = 0, DisplayOn = 1 };

    explicit Nx_WizardPage(QWidget* parent);
    ~Nx_WizardPage() override;

    void setPageName(const QString& name);
    QString pageName() const { return m_name; }
    // Names of the following and the preceding page of the wizard; empty at
    // either end or without a wizard.
    QString pageNextName() const;
    QString pageBackName() const;

    // The page body. The wizard shows it inside the page and owns it from then
    // on; a later call replaces the body shown.
    void setPageWidget(QWidget* widget);
    QWidget* pageWidget() const { return m_widget; }

    // Whether the wizard's "More Info" button is shown and enabled while this
    // page is current (both on by default; the button appears only when the
    // wizard itself shows more info).
    void showMoreInfo(DisplayState state);
    void enableMoreInfo(DisplayState state);
    bool isMoreInfoShown() const { return m_showMoreInfo; }
    bool isMoreInfoEnabled() const { return m_enableMoreInfo; }

    Nx_Wizard* wizard() const;

    // The wizard passes over this page, going forward and back, while the
    // check says so (asked each time the user moves); none: never.
    void setSkipCheck(std::function<bool()> check) { m_skipCheck = std::move(check); }
    bool isSkipped() const { return m_skipCheck && m_skipCheck(); }

    // Next and Finish are enabled on this page only while the check holds
    // (none: always); the page calls completeChanged() whenever the answer
    // may have changed, and the wizard asks again.
    void setCompleteCheck(std::function<bool()> check) { m_completeCheck = std::move(check); }
    bool isComplete() const { return !m_completeCheck || m_completeCheck(); }

signals:
    void completeChanged();

public slots:
    // Not 0 when the page wants an "Advanced" button (which calls onAdvanced()).
    virtual int advancedSupport() = 0;
    // Moves the page's data into its widgets and back; nothing by default.
    virtual void dataToWidgets();
    virtual void widgetsToData();
    virtual void onActive() = 0;
    virtual bool onCancel() = 0;
    // Going back is allowed by default.
    virtual bool onBack();
    virtual bool onNext() = 0;
    // Finishing is allowed by default.
    virtual bool onFinish();
    virtual void onMoreInfo() = 0;
    virtual void onAdvanced();

private:
    friend class Nx_Wizard;

    QPointer<Nx_Wizard> m_wizard;
    QPointer<QWidget> m_widget;
    QString m_name;
    std::function<bool()> m_skipCheck;
    std::function<bool()> m_completeCheck;
    bool m_showMoreInfo = true;
    bool m_enableMoreInfo = true;
    bool m_initialized = false;
};
