#include "gui_nx/Nx_MessageBox.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

using guitest::BoxAnswerer;

// A box shown, the button pressed, and what the box showed and returned.
struct BoxCase {
    const char* name;
    int (*show)();
    QString answer;
    int result;
    QMessageBox::Icon icon;
    Qt::TextFormat format;
    QStringList buttons;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class NxMessageBoxTest : public guitest::GuiTest, public testing::WithParamInterface<BoxCase> {};

TEST_P(NxMessageBoxTest, ShowsTextIconAndButtonsAndReturnsTheButtonChosen) {
    BoxAnswerer answerer({GetParam().answer});
    EXPECT_EQ(GetParam().show(), GetParam().result);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].icon, GetParam().icon);
    EXPECT_EQ(answerer.Boxes()[0].format, GetParam().format);  // only "<qt>" makes rich text
    EXPECT_EQ(answerer.Boxes()[0].buttons, GetParam().buttons);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, NxMessageBoxTest,
    testing::Values(
        BoxCase{"critical", [] { return Nx_MessageBox::critical("<qt>Bad <b>value</b>", 1, 0, 0); }, "OK",
                Nx_MessageBox::Ok, QMessageBox::Critical, Qt::RichText, {"OK"}},
        // Without buttons there is still an OK.
        BoxCase{"warning", [] { return Nx_MessageBox::warning("a <b> plain text", 0, 0, 0); }, "OK", Nx_MessageBox::Ok,
                QMessageBox::Warning, Qt::PlainText, {"OK"}},
        BoxCase{"information", [] { return Nx_MessageBox::information("x", Nx_MessageBox::Yes, Nx_MessageBox::No); },
                "No", Nx_MessageBox::No, QMessageBox::Information, Qt::PlainText, {"Yes", "No"}},
        BoxCase{"question", [] { return Nx_MessageBox::question("<qt>Go on?", "Yes", "No", QString(), 0, -1); }, "No", 1,
                QMessageBox::Question, Qt::RichText, {"Yes", "No"}},
        BoxCase{"question3", [] { return Nx_MessageBox::question("Which?", "Now", "Never", "Later", 0, -1); }, "Later",
                2, QMessageBox::Question, Qt::PlainText, {"Now", "Never", "Later"}}));

class NxQuestionTest : public guitest::GuiTest {};

TEST_F(NxQuestionTest, EscapeLeavesOnlyWhenThereIsAnEscapeButton) {
    int escapes = 0;
    bool defaultIsYes = false;
    guitest::ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        defaultIsYes = box->defaultButton() && box->defaultButton()->text().remove('&') == "Yes";
        if (escapes++ < 3) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &press);
            box->close();
        } else {
            guitest::ButtonWithText(box, "Yes")->click();
        }
    });
    // No escape button: neither Escape nor closing the window ends the box.
    EXPECT_EQ(Nx_MessageBox::question("q", "Yes", "No", QString(), 0, -1), 0);
    EXPECT_EQ(escapes, 4);
    EXPECT_TRUE(defaultIsYes);
    escapes = 0;
    EXPECT_EQ(Nx_MessageBox::question("q", "Yes", "No", QString(), 0, 1), 1);
    EXPECT_EQ(escapes, 1);
}

}  // namespace
