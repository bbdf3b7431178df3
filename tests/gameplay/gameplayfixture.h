// The headless world of the game-rule tests, with the game's real rules.
#pragma once

#include "gameplay/gamerules.h"
#include "support/worldfixture.h"

namespace velqtest {

class GameplayFixture : public WorldFixture {
protected:
    IGameRules* Rules() override
    {
        static CGameRules rules;
        return &rules;
    }
};

}  // namespace velqtest
