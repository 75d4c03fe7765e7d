#pragma once

// Helpers of the GUI test suites: a QApplication-aware test fixture and a
// driver that answers modal windows (message boxes, the wizard) from a timer,
// since exec() does not return until someone presses a button.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace guitest {

// What a message box showed.
struct SeenBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;  // in the order they were added
};

// Calls the handler for the visible active modal widget every 5 ms while the
// driver lives.
class ModalDriver {
public:
    using Handler = std::function<void(QWidget* modal)>;
    explicit ModalDriver(Handler handler);
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

private:
    QTimer m_timer;
    Handler m_handler;
};

// Records every message box that becomes modal and presses a button of it:
// the button whose text is the next of `answers`, or the first button when the
// answers are used up.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QStringList answers = {});
    const std::vector<SeenBox>& Boxes() const { return m_boxes; }

private:
    std::vector<SeenBox> m_boxes;
    QStringList m_answers;
    ModalDriver m_driver;
};

SeenBox Describe(QMessageBox* box);
// The button of a box with that text (ignoring '&'), or null.
QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text);

// Base of GUI tests: checks that a test leaves no top-level window behind.
class GuiTest : public ::testing::Test {
protected:
    void TearDown() override;
};

// The names of the top-level widgets that still exist.
QStringList TopLevelWidgets();

}  // namespace guitest
