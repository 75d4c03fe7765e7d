// Copies and assignments of the model's objects share nothing with their
// source: the source can change or go and the copy keeps what it had; an
// assignment replaces everything the target held.

#include "ModelBuilders.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

void Fill(Olm_Pin& pin) {
    pin.SetName("P");
    pin.SetDirection("OUT");
    pin.SetWidth(4);
    pin.AddFlag("F");
}
void Fill(Olm_Signal& signal) {
    signal.SetName("S");
    signal.SetIsExternal(true, "pad");
    signal.SetIsBus(true, 4);
}
void Fill(Olm_Block& block) {
    block.SetName("B");
    block.SetPrimType("T");
    block.AddFlag("F");
    block.AddPin("P", "IN")->AddAttribute("PA", "x");
}

template <typename T>
std::string Text(T& item) {
    Pal::MemoryStream stream;
    item.DumpToFile(&stream, true);
    return stream.Text();
}

template <typename T>
class ModelCopy : public ::testing::Test {};
using Owners = ::testing::Types<Olm_Pin, Olm_Signal, Olm_Block>;
TYPED_TEST_SUITE(ModelCopy, Owners);

TYPED_TEST(ModelCopy, CopiesAndAssignmentsAreDeep) {
    auto source = std::make_unique<TypeParam>();
    Fill(*source);
    source->AddAttribute("A", "1");
    const std::string original = Text(*source);
    TypeParam copy(*source), target;
    target.AddAttribute("Old", "x");
    target = *source;
    TypeParam& alias = target;
    target = alias;
    EXPECT_EQ(Text(copy), original);
    EXPECT_EQ(Text(target), original);
    copy.SetAttributeValue("A", "2");
    EXPECT_EQ(Text(*source), original);
    source.reset();
    EXPECT_EQ(Text(target), original);
}

TEST(ModelCopy, ContainerCopiesAndAssignmentsAreDeep) {
    auto source = std::make_unique<Olm_WizData>("tkl");
    olmtest::BuildSample(*source);
    const std::string original = olmtest::DumpText(*source);
    Olm_WizData copy(*source), target("old");
    target.AddBlock("Old", "T");
    target = *source;
    Olm_WizData& alias = target;
    target = alias;
    EXPECT_EQ(olmtest::DumpText(copy), original);
    copy.DeleteBlock(copy.GetNamedBlock("B1"));
    copy.GetSigList()[0]->SetIsBus(false, 1);
    EXPECT_EQ(olmtest::DumpText(*source), original);
    source.reset();
    EXPECT_EQ(olmtest::DumpText(target), original);
}

TEST(ModelCopy, AttributeCopiesShareNothing) {
    Olm_Attribute source("A", "1");
    source.SetIsModifiable(false);
    Olm_Attribute copy(source), target("T", "t");
    copy.AddPossibleValue("2");
    EXPECT_EQ(source.GetPossibleValues().GetSize(), 1);
    EXPECT_FALSE(copy.IsModifiable());
    target = copy;
    copy.AddPossibleValue("3");
    EXPECT_EQ(olmtest::Possible(target), "1|2");
    EXPECT_EQ(target.GetName(), "A");
}

}  // namespace
