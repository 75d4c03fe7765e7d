#pragma once

#include "shared/OlmBaseExport.h"

#include <string>
#include <vector>

// What a wizard main adds to the summary page, beside what the page fills
// in by itself. A wizard main that derives from this class as well as from
// Olm_WizMain (as Olm_KitMain does) is asked by its summary page; any other
// wizard main gets the page as it always was.
class OLM_BASE_EXPORT Olm_SummaryContent {
public:
    virtual ~Olm_SummaryContent();

    // Feature lines: shown below the page's own feature text for the
    // clock-manager types it has a text for, and alone for every other type.
    virtual std::vector<std::string> SummaryFeatureLines() = 0;
    // More Info on the summary page (whose name is given); false when no help
    // could be shown.
    virtual bool ShowSummaryHelp(const std::string& pageName) = 0;
};
