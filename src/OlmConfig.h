#pragma once

// The part of libOlm_Base that configures a wizard's model, without Qt: the
// portability layer, the design-file engine, the model, the data files, the
// bridge and the toolkit's configuration core (allowed values, bound fields,
// model edits, the constraint template, the HDL generator, the finishing
// step, the option-file check, run requests and outcomes). A wizard keeps
// its domain logic to these headers, so that the logic can be unit-tested
// without a window system. OlmKit.h adds the page and wizard-main bases and
// the run session.

#include "pal/Pal.h"
#include "engine/Olm_StrArray.h"
#include "engine/Olm_Engine.h"

#include "shared/Olm_Constants.h"
#include "shared/Olm_WizType.h"
#include "shared/Olm_HdlLanguage.h"

#include "model/Olm_Attribute.h"
#include "model/Olm_Pin.h"
#include "model/Olm_Signal.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "model/Olm_InstanceCopy.h"

#include "datafiles/Olm_AttributeLabels.h"
#include "datafiles/Olm_DataFileReader.h"
#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "datafiles/Olm_MessageSink.h"
#include "datafiles/Olm_MessageReporter.h"
#include "datafiles/Olm_OptFileReader.h"
#include "datafiles/Olm_SimModels.h"

#include "kfz/Olm_KfzWizData.h"

#include "kit/Olm_AllowedValues.h"
#include "kit/Olm_ConstraintTemplate.h"
#include "kit/Olm_Field.h"
#include "kit/Olm_FieldValues.h"
#include "kit/Olm_Finisher.h"
#include "proof/Olm_TestbenchWriter.h"
#include "kit/Olm_HdlGenerator.h"
#include "kit/Olm_KitTable.h"
#include "kit/Olm_ModelEdit.h"
#include "kit/Olm_OptFileCheck.h"
#include "kit/Olm_RunOutcome.h"
#include "kit/Olm_RunRequest.h"
#include "kit/Olm_RunArguments.h"
#include "wizard/Olm_SummaryRules.h"
#include "kit/Olm_CoreSymbol.h"
#include "kit/Olm_SymbolDrawing.h"
#include "kit/Olm_SymbolSvg.h"
