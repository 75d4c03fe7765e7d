#include "wizard/Olm_Wait2UI.h"

#include <QEvent>

Olm_Wait2UI::Olm_Wait2UI(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags) {
    if (name) setObjectName(QString::fromLatin1(name));
    setModal(modal);
    setupUi(this);
    resize(QSize(264, 115).expandedTo(minimumSizeHint()));
}

Olm_Wait2UI::~Olm_Wait2UI() = default;

void Olm_Wait2UI::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) languageChange();
    QDialog::changeEvent(event);
}

void Olm_Wait2UI::languageChange() { retranslateUi(this); }
