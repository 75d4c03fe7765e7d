#include "wizard/Olm_WaitUI.h"

#include <QEvent>

Olm_WaitUI::Olm_WaitUI(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags) {
    if (name) setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setupUi(this);
    resize(QSize(229, 98).expandedTo(minimumSizeHint()));
}

Olm_WaitUI::~Olm_WaitUI() = default;

void Olm_WaitUI::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) languageChange();
    QDialog::changeEvent(event);
}

void Olm_WaitUI::languageChange() { retranslateUi(this); }
