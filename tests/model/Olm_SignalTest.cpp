#include "OlmBase.h"

#include <gtest/gtest.h>

TEST(Olm_SignalTest, ExternalAndBusSettersClearTheirCompanion) {
    Olm_Signal sig("s");
    EXPECT_EQ(sig.GetWidth(), 1);
    sig.SetIsBus(true, 8);
    EXPECT_EQ(sig.GetWidth(), 8);
    sig.SetIsBus(false, 8);
    EXPECT_EQ(sig.GetWidth(), 1);
    sig.SetIsExternal(true, "port");
    sig.SetDirection("other");
    EXPECT_TRUE(sig.IsExternal());
    EXPECT_EQ(sig.GetDirection(), "other");
    sig.SetIsExternal(false, "port");
    EXPECT_EQ(sig.GetDirection(), "");
}

TEST(Olm_SignalTest, CopyAndAssignmentAreDeep) {
    Olm_Signal source("s");
    source.SetIsBus(true, 4);
    source.AddAttribute("A", "1");
    Olm_Signal target("t");
    target.AddAttribute("Old", "x");
    target = source;
    EXPECT_EQ(target.GetName(), "s");
    EXPECT_EQ(target.GetWidth(), 4);
    EXPECT_EQ(target.GetNamedAttribute("Old"), nullptr);
    target.SetAttributeValue("A", "2");
    EXPECT_EQ(source.GetAttributeValue("A"), "1");
}
