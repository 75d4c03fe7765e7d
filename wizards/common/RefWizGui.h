#pragma once

// The library header comes before any Qt header: Qt defines "signals" as a
// keyword, which the engine's design header uses as a member name.
#include "OlmBase.h"

#include "gui_nx/Nx_WizardPage.h"

class Nx_Wizard;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QString;
class QVBoxLayout;
class QWidget;

namespace OlmRef {

class RefWizPage;

// The window page class of the reference wizards. The constructor names the
// page after its title and starts the body: a column with an introduction;
// the concrete page adds its fields (usually to AddForm()) and ends with
// FinishPage(). Next reads the widgets and runs the page's check; More Info
// opens the help topic of the page title.
class RefWizGui : public Nx_WizardPage {
public:
    RefWizGui(Nx_Wizard* wizard, RefWizPage* page, const char* bodyName, const QString& intro);

    int advancedSupport() override;
    void onActive() override;
    bool onCancel() override;
    bool onNext() override;
    void onMoreInfo() override;

protected:
    QVBoxLayout* Column() const { return m_column; }
    // A form with right-aligned labels, added to the column.
    QFormLayout* AddForm();
    // Closes the column and hands the body to the wizard.
    void FinishPage();

    static QLineEdit* LineEdit(const QString& name, int width);
    // A combo box listing the possible values of a block attribute.
    static QComboBox* ChoiceBox(Olm_Block* block, const char* attr, const char* name, int width);

private:
    RefWizPage* m_basePage;
    QWidget* m_body;
    QVBoxLayout* m_column;
};

}  // namespace OlmRef
