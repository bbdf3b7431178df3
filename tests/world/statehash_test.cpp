// The state hash of recorded games: the same for the same state, different after any
// change a replay must notice.
#include "world/statehash.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/clock.h"
#include "engine/random.h"
#include "support/worldfixture.h"
#include "world/actors.h"

namespace {

class StateHashTest : public velqtest::WorldFixture {
protected:
    void SetUp() override
    {
        WorldFixture::SetUp();
        CRandom::Seed(7);
        player = new Player();
        World().AddMover(player);
        flag = new Flag();
        World().AddMover(flag);
        enemy = new Enemy();
        World().AddEnemy(enemy);
        tower = new Tower(3, 4, 1);
        World().AddTower(tower);
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
        {"toggle", [this] { World().FlipToggle(3); }},
        {"random state", [] { CRandom::Next(); }},
        {"player x", [this] { player->SetNextPosition(player->GetX() + 0.001f, player->GetY(), player->GetZ()); player->CommitMove(); }},
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
    EXPECT_EQ(Hash(), before) << "the same state hashes alike";
    for (const auto& [what, change] : changes) {
        TearDown();
        SetUp();
        ASSERT_EQ(Hash(), before) << "a fresh world before " << what;
        change();
        EXPECT_NE(Hash(), before) << what;
    }
}

}  // namespace
