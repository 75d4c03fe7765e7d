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
