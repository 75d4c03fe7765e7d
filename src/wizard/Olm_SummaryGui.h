#pragma once

#include "gui_nx/Nx_WizardPage.h"
#include "pal/String.h"
#include "shared/OlmBaseExport.h"

class Nx_Wizard;
class Olm_SummaryWidget;
class Olm_WizMain;

// The last page of every GUI wizard: the features configured, the files the
// wizard will write and the attributes of the blocks in use, with a choice
// between listing every modifiable attribute and only those that differ from
// their default. Reads the model and never changes it. The wizard main
// creates it after the concrete wizard's pages; the wizard owns it.
//
// Pane texts use "\r\n" line ends.
class OLM_BASE_EXPORT Olm_SummaryGui : public Nx_WizardPage {
    Q_OBJECT

public:
    Olm_SummaryGui(Olm_WizMain* main, Nx_Wizard* wizard);
    ~Olm_SummaryGui() override;

    // The summary page has no "Advanced" button.
    int advancedSupport() override;

    // 1 lists only the attributes that differ from their default (and LOC).
    int GetShowOnlyChanged() const { return m_showOnlyChanged; }
    Olm_SummaryWidget* GetWidget() const { return m_widget; }
    // The texts last put into the three panes, as given to them.
    const Pal::String& GetFeaturesText() const { return m_featuresText; }
    const Pal::String& GetFilesText() const { return m_filesText; }
    const Pal::String& GetAttributesText() const { return m_attributesText; }

    // The feature text the page shows for a clock-manager wizard type (the
    // wizard type's sentence, extended by the divider or clock-output
    // sentence of its block); empty for every other type.
    static Pal::String ClockManagerFeatures(Olm_WizMain& main);

public slots:
    void onActive() override;
    bool onCancel() override;
    bool onBack() override;
    bool onNext() override;
    bool onFinish() override;
    void onMoreInfo() override;
    // Chooses the attribute filter and fills the file pane.
    virtual void init();
    void OnRadioButtons();

private:
    void FillFeaturesText();
    void FillFilesText();
    void FillAttributesText();
    bool HasTypePrefix(const char* prefix) const;
    void SetPaneText(int pane, const Pal::String& text);

    int m_showOnlyChanged = 1;
    Olm_SummaryWidget* m_widget;
    Olm_WizMain* m_wizMain;
    Nx_Wizard* m_wizard;
    Pal::String m_featuresText;
    Pal::String m_filesText;
    Pal::String m_attributesText;
};
