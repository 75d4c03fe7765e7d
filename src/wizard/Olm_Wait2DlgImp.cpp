#include "wizard/Olm_Wait2DlgImp.h"

#include "gui_nx/Nx_Wizard.h"

#include <QLabel>

Olm_Wait2DlgImp::Olm_Wait2DlgImp(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : Olm_Wait2UI(parent, name, modal, flags) {
    // The code that shows it hides it when its work is done: a walk through
    // the window waits for it.
    setProperty(Nx_Wizard::kEndsByItself, true);
}

Olm_Wait2DlgImp::~Olm_Wait2DlgImp() = default;

void Olm_Wait2DlgImp::Run() {
    if (!m_text.IsEmpty()) textLabel->setText(QString::fromLocal8Bit(m_text.c_str()));
    show();
}

void Olm_Wait2DlgImp::Quit() { hide(); }
