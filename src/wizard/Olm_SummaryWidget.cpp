#include "wizard/Olm_SummaryWidget.h"

#include <QEvent>
#include <QFontMetrics>

namespace {
const QSize kMinimumSize(580, 600);
}  // namespace

Olm_SummaryWidget::Olm_SummaryWidget(QWidget* parent, const char* name, Qt::WindowFlags flags)
    : QWidget(parent, flags) {
    if (name) setObjectName(QString::fromLatin1(name));
    setupUi(this);
    bgShow->setId(IDC_SUM_RADIO1, 0);
    bgShow->setId(IDC_SUM_RADIO2, 1);
    bgShowLayout->setAlignment(Qt::AlignTop);
    // The file pane separates labels and file names with a tab: one tab stop
    // just past the longest label lines the file names up.
    const QFontMetrics metrics(IDC_SUM_FILES_EDIT->font());
    IDC_SUM_FILES_EDIT->setTabStopDistance(metrics.horizontalAdvance(QStringLiteral("PKX template file:")) +
                                           2 * metrics.horizontalAdvance(QLatin1Char(' ')));
    // The layout keeps the form at least as large as its own minimum, which
    // must not fall below the form's minimum of 580 x 600: the attribute
    // pane and the radio buttons take up what is missing.
    const QSize layoutMinimum = Olm_SummaryWidgetLayout->totalMinimumSize();
    if (layoutMinimum.height() < kMinimumSize.height())
        IDC_SUM_PROPS_EDIT->setMinimumHeight(IDC_SUM_PROPS_EDIT->minimumHeight() +
                                             kMinimumSize.height() - layoutMinimum.height());
    if (layoutMinimum.width() < kMinimumSize.width())
        bgShowBox->setMinimumWidth(bgShowBox->minimumSizeHint().width() + kMinimumSize.width() -
                                   layoutMinimum.width());
    resize(minimumSizeHint().expandedTo(kMinimumSize));
}

Olm_SummaryWidget::~Olm_SummaryWidget() = default;

void Olm_SummaryWidget::languageChange() { retranslateUi(this); }

void Olm_SummaryWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) languageChange();
    QWidget::changeEvent(event);
}
