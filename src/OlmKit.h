#pragma once

// The wizard toolkit: everything a concrete wizard needs beyond its own
// pages and domain logic. A wizard declares its pages and bound fields on an
// Olm_KitMain, puts its domain logic in Prepare and Apply, and runs with an
// Olm_RunSession; see docs/writing-a-wizard.md. Its headers include no Qt
// header; a page that adds widgets of its own includes kit/Olm_KitGui.h.

#include "OlmConfig.h"

#include "wizard/Olm_WizMain.h"
#include "wizard/Olm_WizPage.h"
#include "wizard/Olm_SummaryContent.h"

#include "kit/Olm_KitPage.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_RunSession.h"
#include "kit/Olm_SymbolSource.h"
