#include "model/settings/factory_code.h"

#include <gtest/gtest.h>

namespace {

TEST(FactoryCode, MatchesTrimmedAndLowerCasedOnly)
{
    EXPECT_TRUE(qm54::FactoryCodeMatches("tidewater-71"));
    EXPECT_TRUE(qm54::FactoryCodeMatches("  TideWater-71\t"));
    for (const char* wrong : {"", " ", "tidewater-7", "tidewater-711", "tide water-71", "tidewater_71"})
        EXPECT_FALSE(qm54::FactoryCodeMatches(wrong)) << wrong;
}

}  // namespace
