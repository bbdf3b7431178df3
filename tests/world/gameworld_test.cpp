// SPDX-License-Identifier: GPL-3.0-or-later
// The game world's lists and display toggles, the actors it holds, and the state hash of
// recorded games.
#include "world/gameworld.h"

#include "engine/random.h"
#include "support/worldfixture.h"
#include "world/actors.h"
#include "world/statehash.h"

namespace {

class GameWorldTest : public velqtest::WorldFixture {};

// A flipped toggle is shown for two and a half seconds of engine time, and once more when
// asked after that.
TEST_F(GameWorldTest, AFlipIsShownForAWhileThenOnceMore)
{
    EXPECT_FALSE(World().IsToggleShown(Toggle::Fps));
    World().FlipToggle(Toggle::Fps);
    // Each row: ms to advance, then what two asks in a row answer.
    const struct { uint32_t advance; bool first, second; } asks[] = {{2499, true, true}, {1, true, false}};
    for (const auto& a : asks) {
        CClock::Advance(a.advance);
        EXPECT_EQ(World().IsToggleShown(Toggle::Fps), a.first) << a.advance;
        EXPECT_EQ(World().IsToggleShown(Toggle::Fps), a.second) << a.advance;
    }
    World().FlipToggle(Toggle::Fps);
    CClock::Advance(3000);
    EXPECT_TRUE(World().IsToggleShown(Toggle::Fps)) << "long after: once more";
    EXPECT_EQ(std::make_tuple(World().IsToggleShown(Toggle::Fps), World().IsToggleShown(Toggle::Reflections)),
              std::make_tuple(false, false));
}

TEST_F(GameWorldTest, ListsAreFilledAndEmptiedByKind)
{
    CMMPointer<Enemy> enemy = new Enemy();
    CMMPointer<VMOB> shot = new VMOB("projectile.lasermg", 1, 0, 0);
    World().AddEnemy(enemy);
    World().AddTower(new Tower(1, 2, 0));
    World().AddMover(shot);
    World().AddObject(new VOB("map.wall"));
    EXPECT_EQ(std::make_tuple(World().GetEnemyCount(), World().GetAllObjects().size(), World().GetMovers().size(),
                              World().GetTowers().size()), std::make_tuple(1, 4u, 2u, 1u));
    World().AddMover(shot);  // registered twice: leaves with all its entries
    World().RemoveMover(shot);
    World().RemoveEnemy(enemy);
    World().RemoveEnemy(enemy);  // not listed any more: counted down once only
    EXPECT_EQ(std::make_tuple(World().GetEnemyCount(), World().GetEnemies().size(), World().GetMovers().size(),
                              World().GetAllObjects().size()), std::make_tuple(0, 0u, 0u, 2u));
    EXPECT_EQ(enemy->GetRefCount(), 1) << "only the test holds it now";
}

// A replay notices a difference only through the hash: any recorded field must change it.
class StateHashTest : public velqtest::WorldFixture {
protected:
    void SetUp() override
    {
        WorldFixture::SetUp();
        CRandom::Seed(7);
        World().AddMover(player = new Player());
        World().AddMover(flag = new Flag());
        World().AddEnemy(enemy = new Enemy());
        World().AddTower(tower = new Tower(3, 4, 1));
    }
    uint64_t Hash() { return GameStateHash(World(), 20000); }
    CMMPointer<Player> player;
    CMMPointer<Flag> flag;
    CMMPointer<Enemy> enemy;
    CMMPointer<Tower> tower;
};

TEST_F(StateHashTest, ChangesWithEveryRecordedField)
{
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"level", [this] { World().SetLevel(2); }},
        {"result", [this] { World().SetResult(GameWorld::kWon); }},
        {"enemy count", [this] { World().SetEnemyCount(5); }},
        {"countdown", [this] { CClock::Advance(1); World().SetLevelStartTime(); }},
        {"toggle", [this] { World().FlipToggle(Toggle::Reflections); }},
        {"random state", [] { CRandom::Next(); }},
        {"player x",
         [this] {
             player->SetNextPosition(player->GetX() + 0.001f, player->GetY(), player->GetZ());
             player->CommitMove();
         }},
        {"player look", [this] { player->SetLookY(0.5f); }},
        {"player health", [this] { player->Damage(1); }},
        {"enemy direction", [this] { enemy->SetMoveDirection(0, 1, 0); }},
        {"enemy speed", [this] { enemy->SetSpeed(enemy->GetSpeed() + 1); }},
        {"flag carried", [this] { flag->PickUp(enemy); }},
        {"tower size", [this] { tower->SetDiameter(2.5f); }},
        {"a projectile more", [this] { World().AddMover(new VMOB("laser", 1, 0, 0)); }},
        {"an enemy gone", [this] { World().RemoveEnemy(enemy); }},
    };
    const uint64_t before = Hash();
    for (const auto& [what, change] : changes) {
        TearDown();
        SetUp();
        ASSERT_EQ(Hash(), before) << "a fresh world before " << what;
        change();
        EXPECT_NE(Hash(), before) << what;
    }
}

}  // namespace
