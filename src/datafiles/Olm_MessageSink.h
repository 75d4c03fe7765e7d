#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

namespace Pal {
class Stream;
}

// Where the messages of the option-file reader go, without the reader knowing
// of any window. By default a message goes to the message reporter in use
// (Olm_MessageReporter::Current), as the page message service's do: a
// message box in GUI mode when the window layer is linked, a line on
// standard output and in the log in batch mode. A caller may install a sink
// of its own instead, for example to collect the messages of a run.
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

    // The sink in use: the one installed with Install, else a layer's
    // default (SetDefault), else the message reporter in use.
    static Olm_MessageSink& Current();
    // Installs a sink for the whole process (not owned; null removes it) and
    // returns the one installed before.
    static Olm_MessageSink* Install(Olm_MessageSink* sink);
    // A default in place of the reporter (null removes it); the library sets
    // none, its window layer reaches the reporter as a window sink.
    static void SetDefault(Olm_MessageSink* sink);

    // The batch form of a message, whichever reporter is in use: the text,
    // with "ERROR: " in front for an error, goes to standard output unless
    // silent and to the log when given.
    static void WriteBatchLine(const Pal::String& text, Pal::Stream* log, bool isError, bool silent);
};
