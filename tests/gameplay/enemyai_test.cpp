// The enemies' decisions: notice and range, the wander course per second, the flag's
// pick-up and follow, the walk to the flag.
#include "gameplay/enemyai.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gameplayfixture.h"
#include "world/actors.h"

namespace {

class EnemyAITest : public velqtest::GameplayFixture {
protected:
    void SetUp() override
    {
        GameplayFixture::SetUp();
        player = Place(new Player(), 10, 10);
        World().SetActor(player, GameWorld::kPlayerSlot);
    }
    CMMPointer<Enemy> AddEnemy(float x, float y)
    {
        Enemy* e = Place(new Enemy(), x, y);
        World().AddEnemy(e);
        return e;
    }
    CMMPointer<Flag> AddFlag(float x, float y)
    {
        Flag* f = Place(new Flag(), x, y);
        World().SetActor(f, GameWorld::kFlagSlot);
        return f;
    }
    void RemoveEnemies()
    {
        for (const auto& e : World().GetEnemies()) {
            e->Kill();
            World().RemoveEnemy(e);
        }
    }
    int Shots() { return static_cast<int>(World().GetMovers().size()) - World().GetEnemyCount(); }

    CEnemyAITask task;
    CMMPointer<Player> player;
};

TEST_F(EnemyAITest, EnemyAimsWithinNoticeAndShootsOnlyWithinItsWeaponsRange)
{
    const struct { float distance; bool aims, fires; } cases[] = {{4.9f, true, true}, {5.0f, true, true}, {5.1f, true, false}, {6.0f, true, false},
                 {6.5f, true, false}, {6.6f, false, false}};
    for (const auto& c : cases) {
        CMMPointer<Enemy> e = AddEnemy(10 + c.distance, 10);
        CClock::Advance(1000);  // its new gun is ready
        const int before = Shots();
        task.Update();
        EXPECT_EQ(Shots() - before, c.fires ? 1 : 0) << c.distance;
        // The same scatter on both axes of the look, and of the move.
        EXPECT_EQ(e->GetSpeed() == 0.3f && std::fabs(e->GetLookX() - e->GetLookY() + c.distance) < 1e-5 &&
                      std::fabs(e->GetMoveX() - e->GetMoveY() + c.distance) < 1e-5 &&
                      std::fabs(e->GetLookX() + c.distance) <= 1 && std::fabs(e->GetMoveX() + c.distance) <= 2,
                  c.aims)
            << c.distance;
        RemoveEnemies();
    }

    AddEnemy(14.9f, 10);
    const int before = Shots();
    for (int ms = 0; ms < 3000; ms += 10) {
        CClock::Advance(10);
        task.Update();
    }
    EXPECT_EQ(Shots() - before, 8) << "three a second, from the gun's making";
}

TEST_F(EnemyAITest, NearThePlayerWithTheFlagFreeItShootsAtThePlayerAndWalksToTheFlag)
{
    CMMPointer<Enemy> e = AddEnemy(14, 10);
    AddFlag(14, 40);
    CClock::Advance(1000);
    task.Update();
    ASSERT_EQ(Shots(), 1);
    EXPECT_LT(World().GetMovers().back()->GetMoveX(), -0.5f) << "the shot leaves towards the player";
    EXPECT_NEAR(e->GetMoveY(), 30, 2);
    EXPECT_NEAR(e->GetLookY() - e->GetLookX(), 30, 1e-5);
}

TEST_F(EnemyAITest, FlagIsTakenFromWithinOneUnitOnBothAxesByTheFirstInOrderAndFollowsIt)
{
    const struct { float dx, dy; bool taken; } cases[] = {{0.99f, 0.99f, true}, {-0.5f, 0.9f, true}, {1.0f, 0, false}, {0, -1.0f, false}};
    for (const auto& c : cases) {
        CMMPointer<Flag> flag = AddFlag(40, 40);
        CMMPointer<Enemy> first = AddEnemy(40 + c.dx, 40 + c.dy);
        CMMPointer<Enemy> second = AddEnemy(40, 40);
        task.Update();
        EXPECT_EQ(flag->GetCarrier(), static_cast<VMOB*>(c.taken ? first : second)) << c.dx << "," << c.dy;
        if (c.taken) {
            first->SetNextPosition(43, 41, 1);
            first->CommitMove();
            velqtest::CaptureCout out;
            task.Update();
            EXPECT_EQ(out.Text(), "FLAGCARRIER 43 41\n");
            EXPECT_TRUE(flag->GetX() == 43.0f && flag->GetY() == 41.0f);
        }
        RemoveEnemies();
    }
}

TEST_F(EnemyAITest, WanderersKeepTheirCourseForTheRestOfTheSecond)
{
    // The flag carried away, the player far off: everyone wanders.
    CMMPointer<Flag> flag = AddFlag(50, 50);
    CMMPointer<Enemy> carrier = new Enemy();
    flag->PickUp(carrier);
    CMMPointer<Enemy> a = AddEnemy(40, 30), b = AddEnemy(30, 40);
    auto course = [](const CMMPointer<Enemy>& e) {
        return std::to_string(e->GetSpeed()) + " " + std::to_string(e->GetMoveX()) + " " +
               std::to_string(e->GetMoveY());
    };
    velqtest::CaptureCout quiet;
    task.Update();
    EXPECT_TRUE(std::fabs(a->GetMoveX()) <= 5 && std::fabs(a->GetMoveY()) <= 5 && a->GetSpeed() <= 1);
    const std::string courseA = course(a), courseB = course(b);
    EXPECT_NE(courseA, courseB) << "each wanderer has a seed of its own";

    CClock::Advance(990 - CClock::GetTicks() % 1000);
    task.Update();
    EXPECT_EQ(course(a) + course(b), courseA + courseB) << "the same second";
    CClock::Advance(10);
    task.Update();
    EXPECT_NE(course(a), courseA) << "the next second";
    EXPECT_NE(course(b), courseB);
}

TEST_F(EnemyAITest, EnemyRunsToTheFreeFlagAtThreeTenthsOfTheDistancePerSecond)
{
    const struct { float distance; bool heads; } cases[] = {{40, true}, {10, true}, {50, true}, {50.5f, false}};
    World().SetActor(nullptr, GameWorld::kPlayerSlot);
    for (const auto& c : cases) {
        AddFlag(5 + c.distance, 5);
        CMMPointer<Enemy> e = AddEnemy(5, 5);
        task.Update();
        const float pace = e->GetSpeed() * std::hypot(e->GetMoveX(), e->GetMoveY());
        EXPECT_EQ(e->GetSpeed() == 0.3f, c.heads) << c.distance;
        if (c.heads) {
            EXPECT_NEAR(pace, 0.3f * c.distance, 0.3f * 2.0f * std::sqrt(2.0f)) << c.distance;
        }
        RemoveEnemies();
    }
}

TEST_F(EnemyAITest, DecisionsWithoutTheirActorOrWeaponAreFalse)
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
}

}  // namespace
