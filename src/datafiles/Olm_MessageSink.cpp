#include "datafiles/Olm_MessageSink.h"

#include "datafiles/Olm_MessageReporter.h"

namespace {

// Hands every message to the message reporter in use.
class ReporterSink : public Olm_MessageSink {
public:
    void Message(const Pal::String& text, bool batch, Pal::Stream* log, bool isError, bool silent,
                 bool plain) override {
        Olm_MessageReporter::Message message;
        message.severity = isError ? Olm_MessageReporter::Severity::Error : Olm_MessageReporter::Severity::Warning;
        message.text = text.c_str();
        message.batch = batch;
        message.log = log;
        message.silent = silent;
        message.plain = plain;
        Olm_MessageReporter::Current().Report(message);
    }
};

// Constant-initialised, so that a layer may set its default while the
// program's static objects are still being made.
Olm_MessageSink* g_installed = nullptr;
Olm_MessageSink* g_default = nullptr;

}  // namespace

Olm_MessageSink::~Olm_MessageSink() = default;

Olm_MessageSink& Olm_MessageSink::Current() {
    static ReporterSink reporter;
    if (g_installed) return *g_installed;
    return g_default ? *g_default : reporter;
}

Olm_MessageSink* Olm_MessageSink::Install(Olm_MessageSink* sink) {
    Olm_MessageSink* previous = g_installed;
    g_installed = sink;
    return previous;
}

void Olm_MessageSink::SetDefault(Olm_MessageSink* sink) { g_default = sink; }

void Olm_MessageSink::WriteBatchLine(const Pal::String& text, Pal::Stream* log, bool isError, bool silent) {
    Olm_MessageReporter::Message message;
    message.severity = isError ? Olm_MessageReporter::Severity::Error : Olm_MessageReporter::Severity::Warning;
    message.text = text.c_str();
    message.log = log;
    message.silent = silent;
    Olm_MessageReporter::ConsoleSink().Deliver(message);
    Olm_MessageReporter::LogSink().Deliver(message);
}
