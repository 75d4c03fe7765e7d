#include "wizard/Olm_SummaryGui.h"

#include "wizard/Olm_SummaryContent.h"
#include "wizard/Olm_SummaryRules.h"
#include "wizard/Olm_SummaryWidget.h"
#include "wizard/Olm_WizMain.h"

#include "gui_nx/Nx_Wizard.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "shared/Olm_Constants.h"
#include "shared/Olm_WizType.h"

namespace {

const char* const kLineEnd = "\r\n";
enum Pane { kFeaturesPane, kFilesPane, kAttributesPane };

bool Same(const Pal::String& a, const char* b) { return a.Compare(b, Pal::String::kNoCase) == 0; }

}  // namespace

Olm_SummaryGui::Olm_SummaryGui(Olm_WizMain* main, Nx_Wizard* wizard)
    : Nx_WizardPage(wizard), m_widget(new Olm_SummaryWidget()), m_wizMain(main), m_wizard(wizard) {
    const Pal::String title = Olm_WizMain::FormPageName("Summary", main->GetWizType());
    setPageName(QString::fromLocal8Bit(title.c_str()));
    setPageWidget(m_widget);  // the wizard owns the form from here on
    connect(m_widget->bgShow, &QButtonGroup::idClicked, this, &Olm_SummaryGui::OnRadioButtons);
    showMoreInfo(DisplayOn);
    enableMoreInfo(DisplayOn);
}

Olm_SummaryGui::~Olm_SummaryGui() {
    // Only a wizard takes the form over; without one it is still ours.
    if (!wizard()) delete m_widget;
}

int Olm_SummaryGui::advancedSupport() { return 0; }

bool Olm_SummaryGui::HasTypePrefix(const char* prefix) const {
    return Olm_WizType::HasPrefix(m_wizMain->GetWizType(), prefix);
}

void Olm_SummaryGui::init() {
    m_showOnlyChanged = HasTypePrefix(OlmConst::kWizPrefixDsp) ? 0 : 1;
    if (m_wizMain->IsBatchMode()) return;
    FillFilesText();
    // The group is exclusive: turning the second button off means turning
    // the first one on.
    if (m_showOnlyChanged == 1) m_widget->IDC_SUM_RADIO2->setChecked(true);
    else m_widget->IDC_SUM_RADIO1->setChecked(true);
}

void Olm_SummaryGui::onActive() {
    if (m_wizMain->IsBatchMode()) return;
    if (auto* content = dynamic_cast<Olm_SummaryContent*>(m_wizMain)) {
        // The wizard's own feature text: its lines, after the clock-manager
        // sentence only when it asks for it.
        const Olm_FeatureText features = content->SummaryFeatures();
        Pal::String text = features.HasClockManagerText() ? ClockManagerFeatures(*m_wizMain) : Pal::String();
        for (const std::string& line : features.Lines()) {
            if (!text.IsEmpty()) text += kLineEnd;
            text += line.c_str();
        }
        SetPaneText(kFeaturesPane, text);
    } else if (HasTypePrefix(OlmConst::kWizPrefixTkl)) {
        FillFeaturesText();
    }
    FillAttributesText();
}

bool Olm_SummaryGui::onCancel() { return true; }

bool Olm_SummaryGui::onBack() {
    m_showOnlyChanged = m_widget->IDC_SUM_RADIO2->isChecked() ? 1 : 0;
    m_wizMain->GoBackFromSummary();
    return Nx_WizardPage::onBack();
}

bool Olm_SummaryGui::onNext() { return true; }

bool Olm_SummaryGui::onFinish() { return Nx_WizardPage::onFinish(); }

void Olm_SummaryGui::onMoreInfo() {
    // A plain wizard main has no help here; a wizard that tells the page its
    // content also tells it where its help is.
    if (auto* content = dynamic_cast<Olm_SummaryContent*>(m_wizMain))
        content->ShowSummaryHelp(pageName().toStdString());
}

void Olm_SummaryGui::OnRadioButtons() {
    m_showOnlyChanged = m_widget->IDC_SUM_RADIO2->isChecked() ? 1 : 0;
    FillAttributesText();
}

void Olm_SummaryGui::SetPaneText(int pane, const Pal::String& text) {
    QTextEdit* edit = pane == kFeaturesPane ? m_widget->IDC_SUM_FEATURES_EDIT
                      : pane == kFilesPane  ? m_widget->IDC_SUM_FILES_EDIT
                                            : m_widget->IDC_SUM_PROPS_EDIT;
    (pane == kFeaturesPane ? m_featuresText : pane == kFilesPane ? m_filesText : m_attributesText) = text;
    edit->setPlainText(QString::fromLocal8Bit(text.c_str()));
}

void Olm_SummaryGui::FillFilesText() {
    const Pal::String& design = m_wizMain->GetDesignName();
    const Pal::String cwd = Pal::File::getcwd();
    Pal::String text;
    Pal::String part;
    text.Format("File Directory:%s%s%s%s", kLineEnd, cwd.c_str(), kLineEnd, kLineEnd);
    part.Format("OlmWiz file:\t%s.kfz%s", design.c_str(), kLineEnd);
    text += part;
    const Pal::String& hdlFile = m_wizMain->GetHDLFilename();
    if (!hdlFile.IsEmpty()) {
        part.Format("HDL file:    \t%s%sPKX template file:\t%s_olmw.pkx", hdlFile.c_str(), kLineEnd,
                    design.c_str());
        text += part;
    }
    SetPaneText(kFilesPane, text);
}

void Olm_SummaryGui::FillFeaturesText() { SetPaneText(kFeaturesPane, ClockManagerFeatures(*m_wizMain)); }

Pal::String Olm_SummaryGui::ClockManagerFeatures(Olm_WizMain& main) {
    if (!Olm_WizType::HasPrefix(main.GetWizType(), OlmConst::kWizPrefixTkl)) return {};
    const char* word = main.HasTKLAdvSupport() ? "TKL_ADV"
                       : main.HasTKLspSupport() ? "TKL_SP"
                                                : "TKL";
    const Pal::String& type = main.GetWizType();
    Pal::String feature;
    if (Same(type, "tkl_bddeskew"))
        feature.Format("2 %ss configured for board deskew with an internal deskew.", word);
    else if (Same(type, "tkl_clkswitch"))
        feature.Format("2 %ss configured for clock switching.", word);
    else if (Same(type, "tkl_clkfwd"))
        feature.Format("1 %s configured for clock forwarding.", word);
    else if (Same(type, "tkl_cascading"))
        feature.Format("2 %ss configured for cascading in series.", word);
    else if (Same(type, "tkl_pll"))
        feature = "1 RKO_ADV configured for Single PLL.";
    else if (Same(type, "tkl_tkl2pll"))
        feature = "1 TKL_ADV driving a RKO_ADV";
    else if (Same(type, "tkl_pll2tkl"))
        feature = "1 RKO_ADV filtering input clock to TKL_ADV";
    else
        feature.Format("A single %s configured", word);

    Pal::String extended;
    if (Olm_WizData* data = main.GetWizDataPtr()) {
        Olm_Block* block = data->GetActiveBlockInstNum(main.GetTKLPrimName(), 1);
        const Pal::String kdiv = block ? block->GetAttributeValue("OLMW_ONLY_KDIV") : Pal::String();
        if (Same(kdiv, "SINGLE"))
            extended.Format("%s%sA single KDIV configured", feature.c_str(), kLineEnd);
        else if (Same(kdiv, "PARALLEL"))
            extended.Format("%s%s2 KDIVs configured in parallel", feature.c_str(), kLineEnd);
        if (Same(type, "tkl_tkl2pll")) {
            const Pal::String out = block ? block->GetAttributeValue("OLM_TKL2PLL_CLKOUT") : Pal::String();
            if (!out.IsEmpty()) extended.Format("%s to filter jitter on %s.", feature.c_str(), out.c_str());
        } else if (Same(type, "tkl_pll2tkl")) {
            const Pal::String out = block ? block->GetAttributeValue("OLM_PLL2TKL_CLKOUT") : Pal::String();
            if (!out.IsEmpty())
                extended.Format("1 RKO_ADV using %s to filter input clock to TKL_ADV.", out.c_str());
        }
    }
    return extended.IsEmpty() ? feature : extended;
}

void Olm_SummaryGui::FillAttributesText() {
    m_wizMain->DoFinishAtSummaryStart();
    Pal::String text;
    Olm_WizData* data = m_wizMain->GetWizDataPtr();
    if (!data) {
        SetPaneText(kAttributesPane, text);
        return;
    }
    int counted = 0;
    Pal::String line;
    for (Olm_Block* block : data->GetBlkList()) {
        if (!block || !Olm_SummaryRules::ListsBlock(*block)) continue;  // inactive or internal
        ++counted;
        bool headed = false;
        for (Olm_Attribute* attribute : block->GetAttributeList()) {
            if (!attribute || !attribute->IsActive()) continue;
            if (!headed) {
                headed = true;
                if (counted == 1)
                    line.Format("Attributes for %s, blkname = %s%s", block->GetPrimType().c_str(),
                                block->GetName().c_str(), kLineEnd);
                else
                    line.Format("%sAttributes for %s, blkname = %s%s", kLineEnd,
                                block->GetPrimType().c_str(), block->GetName().c_str(), kLineEnd);
                text += line;
            }
            if (!Olm_SummaryRules::ListsAttribute(*block, *attribute, m_showOnlyChanged == 1)) continue;
            line.Format("  %s = %s%s", attribute->GetName().c_str(), attribute->GetCurrentValue().c_str(), kLineEnd);
            text += line;
        }
    }
    SetPaneText(kAttributesPane, text);
}

Olm_SummaryContent::~Olm_SummaryContent() = default;
