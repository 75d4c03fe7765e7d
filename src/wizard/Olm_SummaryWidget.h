#pragma once

#include "ui_Olm_SummaryWidget.h"

#include <QWidget>

// The form of the summary page (Olm_SummaryWidget.ui): three read-only text
// panes (features, files to be generated, block attributes) and the radio
// buttons in the button group bgShow that choose between all modifiable
// attributes (id 0) and only those that differ from their default (id 1).
// Every child is a public member named as the child.
//
// From the older form: the frameless, title-less button group widget is the
// plain widget bgShowBox with the QButtonGroup bgShow (idClicked(int) is its
// clicked(int)); the text panes' scroll-view resize modes have no Qt 6
// counterpart and are left to QTextEdit, which fits its text to the pane.
class Olm_SummaryWidget : public QWidget, public Ui_Olm_SummaryWidget {
    Q_OBJECT

public:
    // Without a name the form is called "Olm_SummaryWidget".
    explicit Olm_SummaryWidget(QWidget* parent = nullptr, const char* name = nullptr,
                               Qt::WindowFlags flags = {});
    ~Olm_SummaryWidget() override;

protected slots:
    // Sets the texts through Qt's translation, with the class name as context.
    virtual void languageChange();

protected:
    void changeEvent(QEvent* event) override;
};
