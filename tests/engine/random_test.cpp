// The game's generator gives the same numbers everywhere.
#include "engine/random.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, SeedOneGivesTheClassicFifteenBitSequence)
{
    CRandom::Seed(1);
    for (int want : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
        EXPECT_EQ(CRandom::Next(), want);
}

TEST(Random, ReseedingRepeatsTheSequenceAndStaysInRange)
{
    CRandom::Seed(1234567);
    int first[100];
    for (int& v : first) {
        v = CRandom::Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, CRandom::kMax);
    }
    CRandom::Seed(1234567);
    for (int v : first)
        EXPECT_EQ(CRandom::Next(), v);
}

}  // namespace
