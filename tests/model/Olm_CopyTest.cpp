// Copies and assignments of the model's objects share nothing with their
// source: the source can change or go and the copy keeps what it had; an
// assignment replaces everything the target held. The objects come from the
// sample container; their dumps tell what they hold.

#include "ModelBuilders.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A pin with a signal, a flag and an attribute; a block with pins of every
// kind; a signal with every setting and an attribute; the sample itself. Or
// another one of each, for a target to hold before an assignment.
void Pick(Olm_WizData& d, Olm_Pin*& p, bool other) { p = d.GetNamedBlock("B1")->GetNamedPin(other ? "D" : "CLKIN"); }
void Pick(Olm_WizData& d, Olm_Block*& b, bool other) { b = d.GetNamedBlock(other ? "B2" : "B1"); }
void Pick(Olm_WizData& d, Olm_Signal*& s, bool other) { s = d.GetNamedSignal(other ? "n2" : "clk"); }
void Pick(Olm_WizData& d, Olm_WizData*& w, bool other) {
    static Olm_WizData old("old");
    if (old.GetBlkList().empty()) old.AddBlock("Old", "T")->AddPin("P", "IN");
    w = other ? &old : &d;
}

template <typename T>
std::string Text(T& item) {
    Pal::MemoryStream stream;
    item.DumpToFile(&stream, true);
    return stream.Text();
}

template <typename T>
class ModelCopy : public ::testing::Test {};
using Types = ::testing::Types<Olm_Pin, Olm_Signal, Olm_Block, Olm_WizData>;
TYPED_TEST_SUITE(ModelCopy, Types);

TYPED_TEST(ModelCopy, CopiesAndAssignmentsAreDeep) {
    auto sample = std::make_unique<Olm_WizData>("tkl");
    olmtest::BuildSample(*sample);
    TypeParam *source = nullptr, *other = nullptr;
    Pick(*sample, source, false);
    Pick(*sample, other, true);
    const std::string original = Text(*source);
    TypeParam copy(*source), target(*other);
    target = *source;
    TypeParam& alias = target;
    target = alias;
    EXPECT_EQ(Text(copy), original);
    EXPECT_EQ(Text(target), original);
    copy = TypeParam();
    EXPECT_EQ(Text(*source), original);
    sample.reset();
    EXPECT_EQ(Text(target), original);
}

TEST(ModelCopy, AttributeCopiesShareNothing) {
    Olm_Attribute source("A", "1"), target("T", "t");
    source.SetIsModifiable(false);
    Olm_Attribute copy(source);
    copy.AddPossibleValue("2");
    EXPECT_EQ(source.GetPossibleValues().GetSize(), 1);
    EXPECT_FALSE(copy.IsModifiable());
    target = copy;
    copy.AddPossibleValue("3");
    EXPECT_EQ(olmtest::Possible(target), "1|2");
    EXPECT_EQ(target.GetName(), "A");
}

}  // namespace
