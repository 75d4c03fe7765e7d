#pragma once

#include "shared/OlmBaseExport.h"
#include "wizard/Olm_FeatureText.h"

#include <string>
#include <vector>

// What a wizard main adds to the summary page, beside what the page fills
// in by itself. A wizard main that derives from this class as well as from
// Olm_WizMain (as Olm_KitMain does) is asked by its summary page; any other
// wizard main gets the page as it always was.
class OLM_BASE_EXPORT Olm_SummaryContent {
public:
    virtual ~Olm_SummaryContent();

    // The feature pane: the wizard's lines, after the page's clock-manager
    // sentence only when the feature text asks for it.
    virtual Olm_FeatureText SummaryFeatures() = 0;
    // More Info on the summary page (whose name is given); false when no help
    // could be shown.
    virtual bool ShowSummaryHelp(const std::string& pageName) = 0;
};
