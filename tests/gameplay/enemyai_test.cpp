// SPDX-License-Identifier: GPL-3.0-or-later
// The enemies' decisions: notice and range, the flag's pick-up and follow, the walk to
// the flag, the seeded wander, and decisions without a player or weapon.
#include "gameplay/enemyai.h"

#include "engine/random.h"
#include "scene.h"

namespace {

class EnemyAITest : public velqtest::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        AddPlayer(10, 10);
    }
    void RemoveEnemies()
    {
        for (const auto& e : World().GetEnemies())
            e->Kill(), World().RemoveEnemy(e);
    }
    int Shots() { return static_cast<int>(World().GetMovers().size()) - World().GetEnemyCount(); }

    CEnemyAITask task;
};

TEST_F(EnemyAITest, EnemyAimsWithinNoticeAndShootsOnlyWithinItsWeaponsRange)
{
    const struct { float distance; bool aims, fires; } cases[] = {
        {5.0f, true, true}, {5.1f, true, false}, {6.6f, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        CMMPointer<Enemy> e = AddEnemy(10 + c.distance, 10);
        CClock::Advance(1000);  // its new gun is ready
        const int before = Shots();
        task.Update();
        EXPECT_EQ(Shots() - before, c.fires ? 1 : 0);
        // The same scatter on both axes of the look, and of the move.
        const float d = c.distance, lx = e->GetLookX(), mx = e->GetMoveX();
        EXPECT_EQ(e->GetSpeed() == 0.3f && std::fabs(lx - e->GetLookY() + d) < 1e-5 &&
                      std::fabs(mx - e->GetMoveY() + d) < 1e-5 && std::fabs(lx + d) <= 1 &&
                      std::fabs(mx + d) <= 2,
                  c.aims);
        RemoveEnemies();
    }
}

TEST_F(EnemyAITest, FlagIsTakenFromWithinOneUnitOnBothAxesByTheFirstInOrderAndFollowsIt)
{
    const struct { float dx, dy; bool taken; } cases[] = {
        {0.99f, 0.99f, true}, {-0.5f, 0.9f, true}, {1.0f, 0, false}, {0, -1.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        CMMPointer<Flag> flag = AddFlag(40, 40);
        CMMPointer<Enemy> first = AddEnemy(40 + c.dx, 40 + c.dy), second = AddEnemy(40, 40);
        task.Update();
        EXPECT_EQ(flag->GetCarrier(), static_cast<VMOB*>(c.taken ? first : second));
        if (c.taken) {
            first->SetNextPosition(43, 41, 1);
            first->CommitMove();
            velqtest::CaptureCout out;
            task.Update();
            EXPECT_EQ(out.Text(), "FLAGCARRIER 43 41\n");
            EXPECT_EQ(std::make_tuple(flag->GetX(), flag->GetY()), std::make_tuple(43.0f, 41.0f));
        }
        RemoveEnemies();
    }
}

TEST_F(EnemyAITest, EnemyRunsToTheFreeFlagAtThreeTenthsOfTheDistancePerSecond)
{
    World().SetActor(nullptr, GameWorld::kPlayerSlot);
    for (const auto& [distance, heads] : {std::pair{10.0f, true}, {50.0f, true}, {50.5f, false}}) {
        SCOPED_TRACE(distance);
        AddFlag(5 + distance, 5);
        CMMPointer<Enemy> e = AddEnemy(5, 5);
        task.Update();
        EXPECT_EQ(e->GetSpeed() == 0.3f, heads);
        if (heads) {
            EXPECT_NEAR(e->GetSpeed() * std::hypot(e->GetMoveX(), e->GetMoveY()), 0.3f * distance,
                        0.6f * std::sqrt(2.0f));
        }
        RemoveEnemies();
    }
}

// Each wanderer reseeds with the calendar second plus one more per wanderer in list order,
// then draws its speed, its y and its x; an enemy near the player takes no seed.
TEST_F(EnemyAITest, WanderersDrawSpeedThenYThenXFromTheSecondPlusTheirPlaceAmongWanderers)
{
    CMMPointer<Enemy> first = AddEnemy(40, 40), nearby = AddEnemy(12, 10), second = AddEnemy(50, 20);
    for (uint32_t ms : {0u, 999u, 1u}) {  // the first second twice, then the next
        CClock::Advance(ms);
        const uint32_t now = static_cast<uint32_t>(CClock::GetSeconds());
        task.Update();
        for (const auto& [e, seed] : {std::pair{first, now + 1}, {second, now + 2}}) {
            CRandom::Seed(seed);
            const double s = CRandom::Unit(), y = CRandom::Unit(), x = CRandom::Unit();
            EXPECT_EQ(std::make_tuple(e->GetSpeed(), e->GetMoveX(), e->GetMoveY(), e->GetMoveZ()),
                      std::make_tuple(float(s), float(x * 10 - 5), float(y * 10 - 5), 0.0f)) << "seed " << seed;
        }
        EXPECT_EQ(nearby->GetSpeed(), 0.3f) << "aims at the player";
    }
}

TEST_F(EnemyAITest, DecisionsWithoutTheirActorOrWeaponAreFalseAndTheEnemyWanders)
{
    World().SetRules(nullptr);
    CMMPointer<Enemy> unarmed = AddEnemy(10, 10);
    EXPECT_TRUE(unarmed->IsPlayerNear());
    EXPECT_FALSE(unarmed->IsPlayerInRange()) << "no weapon, no range";
    EXPECT_FALSE(unarmed->IsFlagNear());
    World().SetActor(nullptr, GameWorld::kPlayerSlot);
    EXPECT_FALSE(unarmed->IsPlayerNear());
    unarmed->AimAtPlayer();
    unarmed->HeadForFlag();
    EXPECT_EQ(unarmed->GetLookY(), 1.0f) << "nothing to turn to";
    task.Update();
    CRandom::Seed(static_cast<uint32_t>(CClock::GetSeconds()) + 1);
    EXPECT_EQ(unarmed->GetSpeed(), float(CRandom::Unit())) << "no player, no flag: it wanders";
    EXPECT_EQ(unarmed->GetLookY(), 1.0f);
}

}  // namespace
