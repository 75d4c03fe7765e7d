#include "datafiles/Olm_MessageReporter.h"

#include "pal/File.h"
#include "pal/Stream.h"

#include <algorithm>

namespace {

// Constant-initialised, so that a layer may register its window sink while
// the program's static objects are still being made.
Olm_MessageReporter* g_current = nullptr;
Olm_MessageReporter::Sink* g_windowSink = nullptr;

}  // namespace

Olm_MessageReporter::Sink::~Sink() = default;

void Olm_MessageReporter::ConsoleSink::Deliver(const Message& message) {
    if (!message.batch || message.silent) return;
    *Pal::File::getCout() << Line(message).c_str() << "\n";
}

void Olm_MessageReporter::LogSink::Deliver(const Message& message) {
    if (message.batch && message.log) message.log->writeline(Line(message).c_str());
}

void Olm_MessageReporter::Collector::Deliver(const Message& message) { Add(message.severity, message.text); }

Olm_MessageReporter::Scope::Scope(Olm_MessageReporter& reporter) : m_previous(g_current) { g_current = &reporter; }

Olm_MessageReporter::Scope::~Scope() { g_current = m_previous; }

void Olm_MessageReporter::AddStandardSinks() {
    static ConsoleSink console;
    static LogSink log;
    AddSink(console);
    AddSink(log);
    if (g_windowSink) AddSink(*g_windowSink);
}

void Olm_MessageReporter::Report(const Message& message) {
    const bool window = std::any_of(m_sinks.begin(), m_sinks.end(), [](const Sink* s) { return s->IsWindow(); });
    if (!message.batch && !window) {
        Message batchForm = message;
        batchForm.batch = true;
        for (Sink* sink : m_sinks) sink->Deliver(batchForm);
        return;
    }
    for (Sink* sink : m_sinks) sink->Deliver(message);
}

Olm_MessageReporter& Olm_MessageReporter::Current() {
    if (g_current) return *g_current;
    // The standard reporter follows the window sink registered at the time.
    static Olm_MessageReporter standard;
    static Sink* built = nullptr;
    static bool made = false;
    if (!made || built != g_windowSink) {
        standard.m_sinks.clear();
        standard.AddStandardSinks();
        built = g_windowSink;
        made = true;
    }
    return standard;
}

void Olm_MessageReporter::SetWindowSink(Sink* sink) { g_windowSink = sink; }

std::string Olm_MessageReporter::Line(const Message& message) {
    if (message.severity == Severity::Error && !message.tagged) return "ERROR: " + message.text;
    return message.text;
}
