// Batch runs of the multiplier wizard. The files of the bundled example are
// compared whole with the golden files.
#include "WizardBatch.h"

#include <gtest/gtest.h>

namespace {

using olmtest::Contains;
using olmtest::ReadFile;

TEST(DspMultBatch, ExampleReportsOperandsProductAndLatency) {
    olmtest::ScratchDir dir;
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = "dsp_mult", .options = olmtest::ExampleOptions("dsp_mult_small.opt"), .hdl = "vhdl"});
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_TRUE(
        Contains(run.outcome.features.at(0), "A 12 bits signed x B 10 bits unsigned, product 22 bits, latency 4"));
}

// Each operand reaches the product through its own registers.
TEST(DspMultBatch, UnequalOperandRegistersGiveALatencyPerOperand) {
    olmtest::ScratchDir dir;
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = "dsp_mult",
              .options = "BlockProp: DSP.*.A_PIPE=2;\nBlockProp: DSP.*.B_PIPE=0;\n"
                         "BlockProp: DSP.*.M_PIPE=1;\nBlockProp: DSP.*.P_PIPE=1;\n",
              .design = "skew"});
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_TRUE(Contains(run.outcome.features.at(0), "latency 4 clock cycles from A and 2 from B."))
        << run.outcome.features.at(0);
}

TEST(DspMultBatch, CombinationalMultiplierHasNoClockPorts) {
    olmtest::ScratchDir dir;
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = "dsp_mult",
              .options = "BlockProp: DSP.*.A_PIPE=0;\nBlockProp: DSP.*.B_PIPE=0;\n"
                         "BlockProp: DSP.*.M_PIPE=0;\nBlockProp: DSP.*.P_PIPE=0;\n",
              .design = "comb"});
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_FALSE(Contains(ReadFile(dir.File("out/comb_olmw.pkx")), "CLK"));
    EXPECT_FALSE(Contains(ReadFile(dir.File("out/comb.v")), "input wire CLK"));
    Olm_Engine engine;
    ASSERT_TRUE(engine.Load(dir.File("out/comb.kfz").c_str()));
    EXPECT_EQ(engine.Execute("get", "blkprop", "DSP", "OLMW_ONLY_USE_CE", nullptr, nullptr).str(), "");
}

}  // namespace
