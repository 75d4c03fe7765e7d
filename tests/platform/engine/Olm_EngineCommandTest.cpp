// The engine's commands, replayed from the transcripts of golden/commands.txt
// and checked against the answers written there, and its walks compared with
// the listings there.

#include "EngineTestSupport.h"
#include "GoldenSections.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using enginetest::BuildSample;
using enginetest::Cmd;
using enginetest::Walk;

namespace {

class EngineCommands : public testing::Test {
protected:
    // Sends the commands of a transcript to the engine and checks that each
    // answers as written; with unchanged, also that each leaves the design as
    // it was.
    void Replay(const std::string& transcript, bool unchanged = false) {
        golden.CheckAnswers(transcript, [&](const std::string& line) {
            std::istringstream in(line);
            std::vector<std::string> w{std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
            w.resize(6, "-");
            const char* a[6];
            for (int i = 0; i < 6; ++i) a[i] = w[i] == "-" ? nullptr : w[i] == "\"\"" ? "" : w[i].c_str();
            const std::string before = unchanged ? Walk(e) : "";
            const std::string answer = e.Execute(a[0], a[1], a[2], a[3], a[4], a[5]).str();
            if (unchanged) {
                EXPECT_EQ(Walk(e), before) << line;
            }
            return answer;
        });
    }

    Olm_Engine e;
    olmtest::GoldenSections golden{OLM_SOURCE_DIR "/tests/platform/engine/golden/commands.txt"};
};

TEST_F(EngineCommands, QueriesAboutWhatDoesNotExistAnswerEmptyNeverFalse) { Replay("queries in an empty engine"); }

TEST_F(EngineCommands, WholeDesignWalksInOrderWithReservedKeys) {
    BuildSample(e);
    golden.Check("the sample", Walk(e));
    Replay("reserved keys never set in the sample");
}

TEST_F(EngineCommands, CursorsOfEachKindAreIndependent) {
    BuildSample(e);
    Replay("cursors in the sample");
}

TEST_F(EngineCommands, GetnextWithoutItsGetfirstAnswersEmpty) {
    BuildSample(e);
    Replay("getnext without its getfirst in the sample");
}

TEST_F(EngineCommands, AddingWhatExistsUpdatesInPlace) {
    BuildSample(e);
    Replay("adding what exists to the sample");
    golden.Check("the sample after adding what exists", Walk(e));
}

TEST_F(EngineCommands, BlockPinAndPropertyNamesMatchWithLetterCaseFolded) {
    BuildSample(e);
    Replay("names with letter case folded in the sample");
}

TEST_F(EngineCommands, FailuresAnswerFalseAndChangeNothing) {
    BuildSample(e);
    Replay("failures in the sample", true);
}

TEST_F(EngineCommands, WritesOfEmptyOrOddValuesSucceed) {
    Replay("empty and odd values in an empty engine");
    golden.Check("the design of empty and odd values", Walk(e));
}

TEST_F(EngineCommands, NewDesignKeepsDeviceSettingsAndEndsIterations) {
    BuildSample(e);
    e.SetPart("p100");
    e.SetDevice("d7");
    e.SetSpeed("-2");
    EXPECT_EQ(Cmd(e, "getfirst", "block"), "B1");
    e.NewDesign();
    EXPECT_EQ(Cmd(e, "getnext", "block"), "");
    EXPECT_EQ(Walk(e), "version= family=korvo5\n");
    EXPECT_EQ(e.GetPart().str() + e.GetDevice().str() + e.GetSpeed().str(), "p100d7-2");
}

}  // namespace
