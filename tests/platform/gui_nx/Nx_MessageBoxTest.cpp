#include "gui_nx/Nx_MessageBox.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

using guitest::BoxAnswerer;

class NxMessageBoxTest : public guitest::GuiTest {};

TEST_F(NxMessageBoxTest, BoxesShowTextIconAndButtonsAndReturnTheButtonCode) {
    BoxAnswerer answerer({"OK", "OK", "No"});
    EXPECT_EQ(Nx_MessageBox::critical("<qt>Bad <b>value</b>", 1, 0, 0), Nx_MessageBox::Ok);
    EXPECT_EQ(Nx_MessageBox::warning("a <b> plain text", 0, 0, 0), Nx_MessageBox::Ok);
    EXPECT_EQ(Nx_MessageBox::information("x", Nx_MessageBox::Yes, Nx_MessageBox::No), Nx_MessageBox::No);
    ASSERT_EQ(answerer.Boxes().size(), 3u);
    EXPECT_EQ(answerer.Boxes()[0].text, "<qt>Bad <b>value</b>");
    EXPECT_EQ(answerer.Boxes()[0].format, Qt::RichText);
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes()[0].buttons, QStringList{"OK"});
    // Only "<qt>" makes rich text; without buttons there is still an OK.
    EXPECT_EQ(answerer.Boxes()[1].format, Qt::PlainText);
    EXPECT_EQ(answerer.Boxes()[1].icon, QMessageBox::Warning);
    EXPECT_EQ(answerer.Boxes()[1].buttons, QStringList{"OK"});
    EXPECT_EQ(answerer.Boxes()[2].buttons, (QStringList{"Yes", "No"}));
}

TEST_F(NxMessageBoxTest, QuestionReturnsTheIndexOfTheButtonChosen) {
    BoxAnswerer answerer({"No", "Yes", "Later"});
    EXPECT_EQ(Nx_MessageBox::question("<qt>Go on?", "Yes", "No", QString(), 0, -1), 1);
    EXPECT_EQ(Nx_MessageBox::question("<qt>Go on?", "Yes", "No", QString(), 0, -1), 0);
    EXPECT_EQ(Nx_MessageBox::question("Which?", "Now", "Never", "Later", 0, -1), 2);
    ASSERT_EQ(answerer.Boxes().size(), 3u);
    EXPECT_EQ(answerer.Boxes()[0].buttons, (QStringList{"Yes", "No"}));
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Question);
    EXPECT_EQ(answerer.Boxes()[2].buttons, (QStringList{"Now", "Never", "Later"}));
}

TEST_F(NxMessageBoxTest, EscapeLeavesOnlyWhenThereIsAnEscapeButton) {
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
