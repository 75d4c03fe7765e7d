#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>

namespace guitest {

ModalDriver::ModalDriver(Handler handler) : m_handler(std::move(handler)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) m_handler(modal);
    });
    m_timer.start(5);  // the timer stops with the driver
}

BoxAnswerer::BoxAnswerer(QStringList answers)
    : m_answers(std::move(answers)), m_driver([this](QWidget* modal) {
          auto* box = qobject_cast<QMessageBox*>(modal);
          if (!box) return;
          m_boxes.push_back(Describe(box));
          QAbstractButton* button = m_answers.isEmpty() ? nullptr : ButtonWithText(box, m_answers.takeFirst());
          if (!button && !box->buttons().isEmpty()) button = box->buttons().first();
          if (button) button->click();
      }) {}

SeenBox Describe(QMessageBox* box) {
    SeenBox seen{box->windowTitle(), box->text(), box->textFormat(), box->icon(), {}};
    // buttons() lists by role; the order of creation is the order of the
    // children.
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>())
        if (box->buttonRole(button) != QMessageBox::InvalidRole) seen.buttons << button->text().remove(QLatin1Char('&'));
    return seen;
}

QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text().remove(QLatin1Char('&')) == text) return button;
    return nullptr;
}

QStringList TopLevelWidgets() {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList names;
    for (QWidget* widget : QApplication::topLevelWidgets())
        names << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
    return names;
}

void GuiTest::TearDown() {
    const QStringList left = TopLevelWidgets();
    EXPECT_TRUE(left.isEmpty()) << "windows left behind: " << left.join(", ").toStdString();
}

}  // namespace guitest
