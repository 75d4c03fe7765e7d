#pragma once

#include "ui_Olm_Wait2UI.h"

#include <QDialog>

// The form of the modeless wait dialog: one centred text ("Waiting...") in a
// vertical layout. The label is the member textLabel.
class Olm_Wait2UI : public QDialog, public Ui_Olm_Wait2UI {
    Q_OBJECT

public:
    // A null name gives the object name "Olm_Wait2DialogBase".
    explicit Olm_Wait2UI(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                         Qt::WindowFlags flags = {});
    ~Olm_Wait2UI() override;

protected:
    void changeEvent(QEvent* event) override;

protected slots:
    // Sets the caption and the text through Qt translation.
    virtual void languageChange();
};
