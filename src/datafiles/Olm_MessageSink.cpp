#include "datafiles/Olm_MessageSink.h"

#include "pal/File.h"
#include "pal/Stream.h"

namespace {

// The sink of a link without the wizard layer: every message in batch form.
class BatchSink : public Olm_MessageSink {
public:
    void Message(const Pal::String& text, bool, Pal::Stream* log, bool isError, bool silent, bool) override {
        WriteBatchLine(text, log, isError, silent);
    }
};

// Constant-initialised, so that a layer may set its default while the
// program's static objects are still being made.
Olm_MessageSink* g_installed = nullptr;
Olm_MessageSink* g_default = nullptr;

}  // namespace

Olm_MessageSink::~Olm_MessageSink() = default;

Olm_MessageSink& Olm_MessageSink::Current() {
    static BatchSink batch;
    if (g_installed) return *g_installed;
    return g_default ? *g_default : batch;
}

Olm_MessageSink* Olm_MessageSink::Install(Olm_MessageSink* sink) {
    Olm_MessageSink* previous = g_installed;
    g_installed = sink;
    return previous;
}

void Olm_MessageSink::SetDefault(Olm_MessageSink* sink) { g_default = sink; }

void Olm_MessageSink::WriteBatchLine(const Pal::String& text, Pal::Stream* log, bool isError, bool silent) {
    Pal::String line = text;
    if (isError) line.Format("ERROR: %s", text.c_str());
    if (!silent) *Pal::File::getCout() << line.c_str() << "\n";
    if (log) log->writeline(line.c_str());
}
