#pragma once

// Journeys through a wizard's window as a designer makes them: typing into
// the fields, reading the marks and reasons the pages show, moving on with
// the buttons (which must be enabled), and finishing; then the same settings
// in a batch run, whose files must be the same bytes. Needs the wizard table
// of olmwiz (olmwiz_wizards), Qt Test and a QApplication (GuiTestMain.cpp).

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "WizardTable.h"

#include "OlmKit.h"
#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QWheelEvent>

#include <filesystem>
#include <functional>
#include <string>

namespace journey {

// A field's widget on the page shown, by its attribute (a port field by
// Olm_Field::PortAttribute); a failure when it is not there.
template <class Widget = QWidget>
Widget* Field(Nx_Wizard& wizard, const std::string& attribute) {
    Nx_WizardPage* page = wizard.currentNxPage();
    auto* widget = page ? page->pageWidget()->findChild<Widget*>(QString::fromStdString(attribute)) : nullptr;
    EXPECT_NE(widget, nullptr) << "no field " << attribute;
    return widget;
}

// Types into an entry as a user does: focus, select all, keys. Keys the
// entry does not take are lost, as they are for the user.
inline void Type(Nx_Wizard& wizard, const std::string& attribute, const QString& keys) {
    auto* edit = Field<QLineEdit>(wizard, attribute);
    if (!edit) return;
    QApplication::setActiveWindow(&wizard);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, keys);
}

inline QString Text(Nx_Wizard& wizard, const std::string& attribute) {
    auto* edit = Field<QLineEdit>(wizard, attribute);
    return edit ? edit->text() : QString();
}

// Picks a choice of a combo box by its text, as a click in its list does.
inline void Choose(Nx_Wizard& wizard, const std::string& attribute, const QString& choice) {
    auto* box = Field<QComboBox>(wizard, attribute);
    if (!box) return;
    const int index = box->findText(choice);
    EXPECT_GE(index, 0) << attribute << " does not offer " << choice.toStdString();
    box->setCurrentIndex(index);
}

inline QStringList Choices(Nx_Wizard& wizard, const std::string& attribute) {
    QStringList choices;
    if (auto* box = Field<QComboBox>(wizard, attribute))
        for (int i = 0; i < box->count(); ++i) choices << box->itemText(i);
    return choices;
}

inline void Tick(Nx_Wizard& wizard, const std::string& attribute, bool on) {
    auto* box = Field<QCheckBox>(wizard, attribute);
    if (box && box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

// A turn of the mouse wheel over a widget that does not have the focus.
inline void WheelOver(QWidget* widget) {
    QApplication::setActiveWindow(widget->window());
    widget->window()->setFocus();
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

// The reason shown beside a field ("" when none is shown), and its mark.
inline std::string Reason(Nx_Wizard& wizard, const std::string& attribute) {
    auto* label = Field<QLabel>(wizard, attribute + "_reason");
    return label && !label->isHidden() ? label->text().toStdString() : std::string();
}

inline bool Marked(Nx_Wizard& wizard, const std::string& attribute) {
    QWidget* widget = Field(wizard, attribute);
    return widget && widget->property("olmProblem").toBool();
}

// The problems listed below the page, one a line.
inline QStringList Problems(Nx_Wizard& wizard) {
    auto* list = Field<QLabel>(wizard, "problems");
    if (!list || list->isHidden()) return {};
    return list->text().split(QLatin1Char('\n'));
}

// The button that moves on from the page shown: Next, or Finish on the last.
inline QAbstractButton* MoveOnButton(Nx_Wizard& wizard) {
    return wizard.button(wizard.nextId() == -1 ? QWizard::FinishButton : QWizard::NextButton);
}

inline bool CanMoveOn(Nx_Wizard& wizard) { return MoveOnButton(wizard)->isEnabled(); }

// Presses Next (or Finish); a failure when it is disabled.
inline void MoveOn(Nx_Wizard& wizard) {
    QAbstractButton* button = MoveOnButton(wizard);
    EXPECT_TRUE(button->isEnabled()) << wizard.currentNxPage()->pageName().toStdString() << ": "
                                     << Problems(wizard).join(" | ").toStdString();
    button->click();
}

// Next page by page until the page of that title (a failure at the end).
inline void MoveOnTo(Nx_Wizard& wizard, const QString& title) {
    while (wizard.currentNxPage() && !wizard.currentNxPage()->pageName().startsWith(title)) {
        if (wizard.nextId() == -1 || !CanMoveOn(wizard)) {
            ADD_FAILURE() << "no page " << title.toStdString() << " after "
                          << wizard.currentNxPage()->pageName().toStdString() << ": "
                          << Problems(wizard).join(" | ").toStdString();
            return;
        }
        MoveOn(wizard);
    }
}

// Next to the end, then Finish.
inline void Finish(Nx_Wizard& wizard) {
    for (int guard = 0; guard < 20 && wizard.isVisible(); ++guard) MoveOn(wizard);
}

// A journey: the wizard (and the installed data the generic wizard works
// on), what the designer does in the window, and the option file that asks
// a batch run for the same settings.
struct Journey {
    std::string wizard;
    std::string dataType{};
    std::function<void(Nx_Wizard&)> walk;
    std::string options;
};

inline Olm_RunRequest Request(const olmtest::ScratchDir& dir, const Journey& journey, const std::string& out) {
    Olm_RunRequest request;
    request.wizType = journey.dataType.empty() ? journey.wizard : journey.dataType;
    request.family = "korvo5";
    request.design = "x";
    request.outputDir = dir.File(out);
    return request;
}

inline Olm_RunSession::Factory Factory(const Journey& journey, const std::string& wizType) {
    return olmwiz::FactoryOf(*olmwiz::FindWizard(journey.wizard), wizType);
}

// Walks the window; every message box on the way is a failure (and is
// closed), as the pages should have said it before Next.
inline Olm_RunOutcome RunWindow(const olmtest::ScratchDir& dir, const Journey& journey) {
    const Olm_RunRequest request = Request(dir, journey, "window");
    bool walked = false;
    const guitest::ModalDriver driver([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ADD_FAILURE() << "a message box: " << box->text().toStdString();
            box->close();
            return;
        }
        auto* wizard = qobject_cast<Nx_Wizard*>(modal);
        if (!wizard || walked) return;
        walked = true;
        journey.walk(*wizard);
        if (wizard->isVisible()) {
            ADD_FAILURE() << "the journey did not finish the window";
            wizard->reject();
        }
    });
    return Olm_RunSession().Run(request, Factory(journey, request.wizType));
}

// The journey in its window, then its options in batch mode: both finish
// and write the same files, byte for byte.
inline void ExpectSameAsBatch(const Journey& journey) {
    const olmtest::ScratchDir dir;
    const Olm_RunOutcome window = RunWindow(dir, journey);
    ASSERT_TRUE(window.Succeeded()) << window.failure;
    Olm_RunRequest request = Request(dir, journey, "batch");
    request.batch = request.silent = true;
    if (!journey.options.empty()) request.optionFile = dir.Write("batch.opt", journey.options);
    const Olm_RunOutcome batch = Olm_RunSession().Run(request, Factory(journey, request.wizType));
    ASSERT_TRUE(batch.Succeeded()) << batch.failure;
    ASSERT_EQ(window.files.size(), batch.files.size());
    for (std::size_t i = 0; i < batch.files.size(); ++i) {
        const std::string name = std::filesystem::path(batch.files[i]).filename().string();
        EXPECT_EQ(std::filesystem::path(window.files[i]).filename().string(), name);
        EXPECT_EQ(olmtest::ReadFile(window.files[i]), olmtest::ReadFile(batch.files[i])) << name;
    }
}

}  // namespace journey
