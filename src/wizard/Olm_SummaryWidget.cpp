#include "wizard/Olm_SummaryWidget.h"

#include <QEvent>

Olm_SummaryWidget::Olm_SummaryWidget(QWidget* parent, const char* name, Qt::WindowFlags flags)
    : QWidget(parent, flags) {
    if (name) setObjectName(QString::fromLatin1(name));
    setupUi(this);
    bgShow->setId(IDC_SUM_RADIO1, 0);
    bgShow->setId(IDC_SUM_RADIO2, 1);
    bgShowLayout->setAlignment(Qt::AlignTop);
    resize(minimumSizeHint().expandedTo(QSize(580, 600)));
}

Olm_SummaryWidget::~Olm_SummaryWidget() = default;

void Olm_SummaryWidget::languageChange() { retranslateUi(this); }

void Olm_SummaryWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) languageChange();
    QWidget::changeEvent(event);
}
