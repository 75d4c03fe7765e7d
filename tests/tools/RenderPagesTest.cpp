// olmwiz run --render-pages: the pages of a wizard saved as pictures without
// a display, named and sized as promised, and nothing else written.
#include "OlmwizChild.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Walk {
    const char* name;
    std::vector<std::string> args;   // after "run", before --outdir and --render-pages
    std::vector<std::string> files;  // the pictures, in page order
};

void PrintTo(const Walk& walk, std::ostream* os) { *os << walk.name; }

class RenderPages : public ::testing::TestWithParam<Walk> {};

TEST_P(RenderPages, SavesEachPageAtTheOpeningSizeAndNothingElse) {
    const olmtest::ScratchDir scratch;
    // A display that does not exist: the option must not need one.
    const olmwiztest::OlmwizChild olmwiz{OLMWIZ_PATH, scratch.Path(), {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":97"}}};
    std::vector<std::string> args{"run"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    args.insert(args.end(), {"--outdir", "out", "--render-pages", "pages"});
    const olmwiztest::ChildResult run = olmwiz.Run(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const fs::path pages = scratch.Path() / "pages";
    std::set<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(pages)) found.insert(entry.path().filename().string());
    EXPECT_EQ(found, std::set<std::string>(GetParam().files.begin(), GetParam().files.end()));
    EXPECT_FALSE(fs::exists(scratch.Path() / "out")) << "no output folder, no design files";

    std::string listed;
    QImage first;
    for (const std::string& file : GetParam().files) {
        const fs::path path = fs::canonical(pages) / file;
        listed += path.string() + "\n";
        const QImage image(QString::fromStdString(path.string()));
        ASSERT_FALSE(image.isNull()) << file;
        EXPECT_LE(image.width(), 1280) << file;
        EXPECT_LE(image.height(), 800) << file;
        EXPECT_GT(image.width(), 500) << file << ": wider than the window of a plain QWizard";
        if (first.isNull()) first = image;
        EXPECT_EQ(image.size(), first.size()) << file << ": every page at the window's opening size";
    }
    EXPECT_EQ(run.out, listed) << "the full path of each picture, a line each";
}

INSTANTIATE_TEST_SUITE_P(
    Wizards, RenderPages,
    ::testing::Values(
        // A title's " - " keeps its dashes.
        Walk{"dsp_mult",
             {"--wizard", "dsp_mult", "--family", "korvo5", "--design", "mult"},
             {"01-general-setup---multiplier.png", "02-pipelining---multiplier.png", "03-summary---multiplier.png"}},
        // The option file's two bonded lanes bring in the bonding page.
        Walk{"hsx_korvo4",
             {"--wizard", "hsx", "--family", "korvo4", "--design", "dual", "--options",
              OLM_EXAMPLES_DIR "/hsx_korvo4_bonded.opt"},
             {"01-transceiver-lanes.png", "02-line-rate.png", "03-data-path.png", "04-clock-compensation.png",
              "05-lane-bonding.png", "06-loopback.png", "07-buffers.png", "08-summary.png"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A page that refuses its settings stops the walk with the reason, and the
// pictures are not asked for together with batch mode.
TEST(RenderPagesRefused, BadSettingsOrBatchMode) {
    const olmtest::ScratchDir scratch;
    const olmwiztest::OlmwizChild olmwiz{OLMWIZ_PATH, scratch.Path()};
    const std::string options = scratch.Write("wide.opt", "BlockProp: DSP.*.A_WIDTH=40;\n");
    const olmwiztest::ChildResult refused = olmwiz.Run(
        {"run", "--wizard", "dsp_mult", "--family", "korvo5", "--design", "m", "--options", options, "--render-pages", "p"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("General Setup - Multiplier does not take its settings"), std::string::npos) << refused.err;
    EXPECT_TRUE(fs::is_empty(scratch.Path() / "p")) << "no pictures of a walk that stopped";
    const olmwiztest::ChildResult batch = olmwiz.Run(
        {"run", "--wizard", "dsp_mult", "--family", "korvo5", "--design", "m", "--batch", "--render-pages", "p"});
    EXPECT_EQ(batch.exitCode, 2);
    EXPECT_NE(batch.err.find("does not go with --batch"), std::string::npos) << batch.err;
}

}  // namespace
