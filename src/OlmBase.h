#pragma once

// The public interface of libOlm_Base: every exported class and the platform
// interfaces they use. A concrete wizard includes this header and links the
// OlmBase target (Olm::Base), nothing else.

#include "pal/Pal.h"
#include "engine/Olm_StrArray.h"
#include "engine/Olm_Engine.h"

#include "gui_nx/Nx_HelpManager.h"
#include "gui_nx/Nx_MessageBox.h"
#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"
#include "devinfo/DevPart.h"
#include "devinfo/DevData.h"
#include "translator/Olm_Translator.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include "shared/Olm_Constants.h"

#include "model/Olm_Attribute.h"
#include "model/Olm_Pin.h"
#include "model/Olm_Signal.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "model/Olm_InstanceCopy.h"

#include "datafiles/Olm_DataFileReader.h"
#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_OptFileReader.h"

#include "kfz/Olm_KfzWizData.h"

#include "wizard/Olm_WizMain.h"
#include "wizard/Olm_WizPage.h"
#include "wizard/Olm_SummaryGui.h"
#include "wizard/Olm_WaitDlg.h"
#include "wizard/Olm_Wait2Dlg.h"
#include "wizard/Olm_SummaryContent.h"

#include "OlmKit.h"
#include "kit/Olm_KitGui.h"
