#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

#include <string>
#include <vector>

namespace Pal {
class Stream;
}

// The one way out of the library for a message to the user. Every message
// route (the page message service Olm_WizPage::DoMessage, the option-file
// reader's Olm_MessageSink, the toolkit's Error/Warning/Info, the run
// session's findings) hands a Message to the reporter in use (Current), and
// the reporter passes it to each of its sinks in the order they were added.
//
// A message keeps the settings of the page message service: batch mode, the
// log stream, silent, plain. The built-in sinks give it the specified forms:
//   ConsoleSink  a batch message, unless silent, as a line on standard
//                output ("ERROR: " in front of an error);
//   LogSink      a batch message as the same line on the message's log stream;
//   Collector    keeps every message it is given (severity and text), for a
//                run's report;
// and the window layer adds the window sink (a message box for a message
// that is not in batch form). Without a window sink a window message takes
// the batch form.
//
// The process has a standard reporter (console, log, and the window sink of
// the window layer when it is linked). A run installs a reporter of its own
// for as long as a Scope lives; scopes nest, and the innermost one is in use.
// One thread, as the library.
class OLM_BASE_EXPORT Olm_MessageReporter {
public:
    enum class Severity { Error, Warning, Info };

    struct Message {
        Severity severity = Severity::Error;
        std::string text;
        bool batch = true;           // batch form (console, log) or window form
        Pal::Stream* log = nullptr;  // the log stream of the batch form; not owned, may be null
        bool silent = false;         // no console line
        bool plain = false;          // window form: plain text rather than rich text
        bool tagged = false;         // the text carries its own "ERROR: "/"WARNING: " tag
    };

    class OLM_BASE_EXPORT Sink {
    public:
        Sink() = default;
        Sink(const Sink&) = delete;
        Sink& operator=(const Sink&) = delete;
        virtual ~Sink();
        virtual void Deliver(const Message& message) = 0;
        // A window sink shows window messages; see the class comment.
        virtual bool IsWindow() const { return false; }
    };

    class OLM_BASE_EXPORT ConsoleSink : public Sink {
    public:
        void Deliver(const Message& message) override;
    };

    class OLM_BASE_EXPORT LogSink : public Sink {
    public:
        void Deliver(const Message& message) override;
    };

    class OLM_BASE_EXPORT Collector : public Sink {
    public:
        struct Entry {
            Severity severity;
            std::string text;
        };
        void Deliver(const Message& message) override;
        // Keeps a message that arrived by another way (the portability
        // library's message manager).
        void Add(Severity severity, std::string text) { m_entries.push_back({severity, std::move(text)}); }
        const std::vector<Entry>& Entries() const { return m_entries; }

    private:
        std::vector<Entry> m_entries;
    };

    // Installs a reporter while it lives and puts the one before back.
    class OLM_BASE_EXPORT Scope {
    public:
        explicit Scope(Olm_MessageReporter& reporter);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        Olm_MessageReporter* m_previous;
    };

    Olm_MessageReporter() = default;
    Olm_MessageReporter(const Olm_MessageReporter&) = delete;
    Olm_MessageReporter& operator=(const Olm_MessageReporter&) = delete;

    // Adds a sink (not owned; it must outlive the reporter's use).
    void AddSink(Sink& sink) { m_sinks.push_back(&sink); }
    // Adds the standard sinks: console, log and the window layer's window
    // sink when one is registered.
    void AddStandardSinks();

    void Report(const Message& message);

    // The reporter of the innermost Scope, else the standard one.
    static Olm_MessageReporter& Current();
    // The window layer registers its window sink here (null removes it); the
    // standard reporter and AddStandardSinks use it.
    static void SetWindowSink(Sink* sink);

    // The batch form of a message: its text, with "ERROR: " in front of an
    // error that carries no tag of its own.
    static std::string Line(const Message& message);

private:
    std::vector<Sink*> m_sinks;  // not owned
};
