#pragma once

#include "ui_Olm_WaitUI.h"

#include <QDialog>

// The form of the modal wait dialog: a centred "Generating HDL file..." text
// over a Cancel button, at fixed positions. The children are members named
// as in the form (IDCANCEL2, IDC_STATIC_WAIT_TEXT).
class Olm_WaitUI : public QDialog, public Ui_Olm_WaitUI {
    Q_OBJECT

public:
    // A null name gives the object name "Olm_WaitDialogBase".
    explicit Olm_WaitUI(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                        Qt::WindowFlags flags = {});
    ~Olm_WaitUI() override;

protected:
    void changeEvent(QEvent* event) override;

protected slots:
    // Sets the caption and the texts through Qt translation.
    virtual void languageChange();
};
