#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

namespace Pal {
class Stream;
}

// Where the messages of the option-file reader go, without the reader knowing
// of any window. The library's wizard layer makes the page message service
// (Olm_WizPage::DoMessage) the default sink when it is loaded: a message box
// in GUI mode, a line on standard output and in the log in batch mode. Code
// that links the model, the data files and the bridge without the wizard
// layer gets the batch form alone. A caller may install a sink of its own,
// for example to collect the messages of a run.
class OLM_BASE_EXPORT Olm_MessageSink {
public:
    Olm_MessageSink() = default;
    Olm_MessageSink(const Olm_MessageSink&) = delete;
    Olm_MessageSink& operator=(const Olm_MessageSink&) = delete;
    virtual ~Olm_MessageSink();

    // One message, with the arguments of Olm_WizPage::DoMessage: batch mode,
    // the log stream (may be null), whether it is an error, silent, plain text.
    virtual void Message(const Pal::String& text, bool batch, Pal::Stream* log, bool isError, bool silent,
                         bool plain) = 0;

    // The sink in use: the one installed with Install, else the layer's
    // default (SetDefault), else the batch form of WriteBatchLine.
    static Olm_MessageSink& Current();
    // Installs a sink for the whole process (not owned; null removes it) and
    // returns the one installed before.
    static Olm_MessageSink* Install(Olm_MessageSink* sink);
    // The default a library layer provides (the wizard layer's page service).
    static void SetDefault(Olm_MessageSink* sink);

    // The batch form of a message: the text, with "ERROR: " in front for an
    // error, goes to standard output unless silent and to the log when given.
    static void WriteBatchLine(const Pal::String& text, Pal::Stream* log, bool isError, bool silent);
};
