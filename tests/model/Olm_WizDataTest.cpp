#include "OlmBase.h"

#include <gtest/gtest.h>

TEST(Olm_WizDataTest, AddBlockByNameReusesOnlyTheSameType) {
    Olm_WizData data("tkl");
    Olm_Block* block = data.AddBlock("B", "RKO_BASE");
    block->SetIsActive(false);
    EXPECT_EQ(data.AddBlock("b", "rko_base"), block);
    EXPECT_TRUE(block->IsActive());
    block->SetIsActive(false);
    EXPECT_EQ(data.AddBlock("B", "OTHER"), nullptr);
    EXPECT_FALSE(block->IsActive());
    EXPECT_EQ(data.GetBlkList().size(), 1u);
}

TEST(Olm_WizDataTest, AddSignalByNameTakesTheNewExternalSetting) {
    Olm_WizData data;
    Olm_Signal* sig = data.AddSignal("s", true, "PORT");
    sig->SetIsActive(false);
    EXPECT_EQ(data.AddSignal("S", false, "x"), sig);
    EXPECT_TRUE(sig->IsActive());
    EXPECT_FALSE(sig->IsExternal());
    EXPECT_EQ(sig->GetDirection(), "");
    data.AddSignal(nullptr);
    EXPECT_EQ(data.GetSigList().size(), 1u);
}

TEST(Olm_WizDataTest, BlockLookups) {
    Olm_WizData data;
    data.AddBlock("A", "T1")->SetIsActive(false);
    data.AddBlock("B", "T2");
    data.AddBlock("top", "T1");
    EXPECT_EQ(data.GetActiveBlock()->GetName(), "B");
    EXPECT_EQ(data.GetActiveBlock("t1")->GetName(), "top");
    EXPECT_EQ(data.GetPrimitiveBlock("T1")->GetName(), "A");
    EXPECT_EQ(data.GetTopBlock()->GetName(), "top");
}

TEST(Olm_WizDataTest, DeleteBlockOnlyDeletesListedBlocks) {
    Olm_WizData data;
    data.AddBlock("A", "T");
    Olm_Block outside("O", "T");
    data.DeleteBlock(&outside);  // would crash at scope end if it were deleted
    EXPECT_EQ(data.GetBlkList().size(), 1u);
    data.DeleteBlock(data.GetNamedBlock("A"));
    EXPECT_TRUE(data.GetBlkList().empty());
}

TEST(Olm_WizDataTest, CopyBlockReplacesTheNamedBlockAndGoesLast) {
    Olm_WizData data;
    Olm_Block* source = data.AddBlock("S", "T");
    source->AddAttribute("A", "1");
    data.AddBlock("N", "Other");
    data.AddBlock("Z", "T");
    Olm_Block* copy = data.CopyBlock(source, "N");
    ASSERT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_EQ(data.GetBlkList().back(), copy);
    EXPECT_EQ(copy->GetAttributeValue("A"), "1");
    // Copying a block onto its own name: copied first, then the old one goes.
    Olm_Block* again = data.CopyBlock(copy, "N");
    EXPECT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_EQ(again->GetAttributeValue("A"), "1");
}

TEST(Olm_WizDataTest, UniqueNamesAppendANumber) {
    Olm_WizData data;
    Pal::String name("clk");
    EXPECT_TRUE(data.IsSigNameUnique(name, true));
    data.AddSignal("clk", false, "");
    EXPECT_FALSE(data.IsSigNameUnique(name, false));
    EXPECT_EQ(name, "clk");
    EXPECT_FALSE(data.IsSigNameUnique(name, true));
    EXPECT_EQ(name, "clk1");
    data.AddSignal("clk1", false, "");
    name = "clk";
    data.IsSigNameUnique(name, true);
    EXPECT_EQ(name, "clk2");
    for (int n = 2; n <= 99; ++n) data.AddSignal(Pal::String().Format("clk%d", n), false, "");
    name = "clk";
    EXPECT_FALSE(data.IsSigNameUnique(name, true));
    EXPECT_EQ(name, "clk");
    data.AddBlock("a1", "T");
    name = "A1";
    EXPECT_FALSE(data.IsBlockNameUnique(name, true));
    EXPECT_EQ(name, "A11");
}

TEST(Olm_WizDataTest, ContainerWideEdits) {
    Olm_WizData data;
    Olm_Block* block = data.AddBlock("B", "T");
    Olm_Pin* pin = block->AddPin("P", "IN");
    pin->SetIsGrounded(true);
    block->AddPin("Q", "IN")->SetSigName("n");
    EXPECT_FALSE(data.SetBlkAttributeValue("none", "A", "1"));
    EXPECT_TRUE(data.SetBlkAttributeValue("b", "A", "1"));
    EXPECT_EQ(block->GetAttributeValue("A"), "1");
    data.ClearAllBlksPinSignals();
    EXPECT_TRUE(pin->IsGrounded());
    EXPECT_EQ(block->GetNamedPin("Q")->GetSigName(), "");
}
