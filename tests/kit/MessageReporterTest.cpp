// The message reporter, linked without the window layer: the forms its
// built-in sinks give a message, and the reporter in use under nested scopes.
#include "OlmConfig.h"

#include "pal/Stream.h"

#include <gtest/gtest.h>

namespace {

using Reporter = Olm_MessageReporter;

Reporter::Message Batch(Reporter::Severity severity, std::string text, Pal::Stream* log, bool silent = false) {
    Reporter::Message message;
    message.severity = severity;
    message.text = std::move(text);
    message.log = log;
    message.silent = silent;
    return message;
}

TEST(MessageReporter, SinksGiveEveryMessageItsBatchForm) {
    Reporter reporter;
    Reporter::LogSink log;
    Reporter::ConsoleSink console;
    Reporter::Collector collected;
    reporter.AddSink(console);
    reporter.AddSink(log);
    reporter.AddSink(collected);
    Pal::MemoryStream stream;
    ::testing::internal::CaptureStdout();
    reporter.Report(Batch(Reporter::Severity::Error, "bad 50%s", &stream));
    reporter.Report(Batch(Reporter::Severity::Warning, "careful", &stream, true));
    Reporter::Message tagged = Batch(Reporter::Severity::Error, "ERROR: tagged", &stream);
    tagged.tagged = true;
    reporter.Report(tagged);
    // No window sink: a window message takes the batch form.
    Reporter::Message window = Batch(Reporter::Severity::Info, "note", &stream);
    window.batch = false;
    reporter.Report(window);
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR: bad 50%s\nERROR: tagged\nnote\n");
    EXPECT_EQ(stream.Text(), "ERROR: bad 50%s\ncareful\nERROR: tagged\nnote\n");
    ASSERT_EQ(collected.Entries().size(), 4u);
    EXPECT_EQ(collected.Entries()[1].severity, Reporter::Severity::Warning);
    EXPECT_EQ(collected.Entries()[3].severity, Reporter::Severity::Info);
    EXPECT_EQ(collected.Entries()[3].text, "note");
}

TEST(MessageReporter, ScopesNestAndPutTheReporterBeforeBack) {
    Reporter& standard = Reporter::Current();
    Reporter outer;
    Reporter::Collector outerMessages;
    outer.AddSink(outerMessages);
    {
        const Reporter::Scope outerScope(outer);
        Reporter inner;
        {
            const Reporter::Scope innerScope(inner);
            EXPECT_EQ(&Reporter::Current(), &inner);
        }
        EXPECT_EQ(&Reporter::Current(), &outer);
        // The option-file reader's route ends in the reporter in use.
        Olm_MessageSink::Current().Message("from the reader", true, nullptr, true, true, false);
    }
    EXPECT_EQ(&Reporter::Current(), &standard);
    ASSERT_EQ(outerMessages.Entries().size(), 1u);
    EXPECT_EQ(outerMessages.Entries()[0].severity, Reporter::Severity::Error);
    EXPECT_EQ(outerMessages.Entries()[0].text, "from the reader");
}

}  // namespace
