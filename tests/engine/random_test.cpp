// SPDX-License-Identifier: GPL-3.0-or-later
// The game's generator gives the same numbers everywhere, again after each reseeding.
#include "engine/random.h"

#include "support/testutil.h"

TEST(Random, SeedOneGivesTheClassicFifteenBitSequenceEveryTime)
{
    for (int pass = 0; pass < 2; ++pass) {
        CRandom::Seed(1);
        for (int want : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358})
            EXPECT_EQ(CRandom::Next(), want) << "pass " << pass;
    }
}
