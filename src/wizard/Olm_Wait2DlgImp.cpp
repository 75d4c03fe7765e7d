#include "wizard/Olm_Wait2DlgImp.h"

#include <QLabel>

Olm_Wait2DlgImp::Olm_Wait2DlgImp(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : Olm_Wait2UI(parent, name, modal, flags) {}

Olm_Wait2DlgImp::~Olm_Wait2DlgImp() = default;

void Olm_Wait2DlgImp::Run() {
    if (!m_text.IsEmpty()) textLabel->setText(QString::fromLocal8Bit(m_text.c_str()));
    show();
}

void Olm_Wait2DlgImp::Quit() { hide(); }
