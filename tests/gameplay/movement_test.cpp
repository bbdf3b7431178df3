// SPDX-License-Identifier: GPL-3.0-or-later
// The movement task: hits and their damage, removal of the dead and the lost state, the
// flag's carrier, and movers at the field's edge.
#include "gameplay/movementtask.h"

#include "scene.h"

namespace {

class MovementTest : public velqtest::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        CGlobalTimerTask::dT = 0.1f;
    }
    CMovementTask task;
};

TEST_F(MovementTest, ShotTakesItsDamageOffEveryoneInItsCellButItsOwnKind)
{
    const struct { const char* type; const char* owner; int playerLoss, enemyLoss; } cases[] = {
        {"projectile.lasermg", "player", 0, 6},  {"projectile.lasermg", "enemy", 5, 0},
        {"projectile.lasermg", "tower", 5, 6},   {"projectile.shotgun", "player", 0, 5},
        {"projectile.rocket", "player", 0, 50},  {"projectile.explosion", "enemy", 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " from " << c.owner);
        Player* player = AddPlayer(20.5f, 20.5f);
        Enemy *a = AddEnemy(20.1f, 20.9f), *b = AddEnemy(20.9f, 20.2f);  // two in the cell
        Enemy* away = AddEnemy(21.1f, 20.5f);                             // the next cell
        CProjectile* shot = AddShot(c.type, c.owner, 20.6f, 20.4f);
        task.Update();
        EXPECT_EQ(player->GetHealth(), 100 - c.playerLoss);
        EXPECT_EQ(std::make_tuple(a->GetHealth(), b->GetHealth(), away->GetHealth()),
                  std::make_tuple(100 - c.enemyLoss, 100 - c.enemyLoss, 100));
        const bool hit = c.playerLoss > 0 || c.enemyLoss > 0;
        EXPECT_EQ(shot->IsDead(), hit);
        EXPECT_EQ(IsMover(shot), !hit) << "a shot that hit is dropped in the same frame";
        Reset();
    }
}

TEST_F(MovementTest, TheDeadAreCountedOffOnceAPlayerOutOfHealthLosesAndAShotDeadOfAgeStillHits)
{
    Player* player = AddPlayer(5.5f, 5.5f);
    player->SetHealth(1);
    Enemy* e = AddEnemy(40.5f, 40.5f);
    AddShot("projectile.shotgun", "player", 30.2f, 30.3f);
    AddShot("projectile.shotgun", "player", 30.7f, 30.8f);
    Enemy* victim = AddEnemy(30.5f, 30.5f);  // listed after the pellets: the loop reaches it once more, dead
    victim->SetHealth(4);
    CProjectile* aged = AddShot("projectile.lasermg", "player", 20.5f, 20.5f);
    aged->SetMaxAge(0.05f);
    task.Update();
    EXPECT_EQ(victim->GetHealth(), -6) << "the second pellet hits the dead enemy too";
    EXPECT_EQ(std::make_tuple(victim->IsDead(), World().GetEnemyCount(), World().GetEnemies().size(),
                              World().GetMovers().size()),
              std::make_tuple(true, 1, 1u, 2u))
        << "counted off once; victim and pellets are gone";
    ASSERT_EQ(std::make_tuple(aged->IsDead(), IsMover(aged)), std::make_tuple(true, true));
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    player->SetHealth(0);  // out of health: lost at the next update
    e->SetNextPosition(20.4f, 20.6f, 1.0f);  // into the dead shot's cell between frames
    e->TryMove();
    task.Update();
    EXPECT_EQ(std::make_tuple(e->GetHealth(), IsMover(aged), World().GetResult()), std::make_tuple(94, false, GameWorld::kLost));
}

TEST_F(MovementTest, KilledCarrierDropsTheFlagWhereItStandsAndIsCountedOffOnce)
{
    for (bool byShot : {true, false}) {  // or some other way before the task reaches it
        SCOPED_TRACE(byShot);
        AddPlayer(5.5f, 5.5f);
        Enemy* carrier = AddEnemy(40.5f, 40.5f);
        Flag* flag = AddFlag(40.5f, 40.5f);
        flag->PickUp(carrier);
        carrier->SetMoveDirection(1, 0, 0);
        if (byShot) {
            carrier->SetHealth(6);
            AddShot("projectile.lasermg", "player", 40.6f, 40.6f);
        } else {
            carrier->Kill();
        }
        velqtest::CaptureCout quiet;
        task.Update();
        EXPECT_EQ(std::make_tuple(flag->GetCarrier(), World().GetEnemyCount(), World().GetMovers().size()),
                  std::make_tuple(nullptr, 0, 0u));
        EXPECT_FLOAT_EQ(flag->GetX(), 40.5f);
        IMMObject::CollectGarbage();  // the carrier is freed: the flag must not follow it now
        task.Update();
        EXPECT_FLOAT_EQ(flag->GetX(), 40.5f);
        Reset();
    }
}

TEST_F(MovementTest, MoversAtTheEdgeOrInAnEndlessFrameStayInTheFieldAndInTheTreeOrOutsideIt)
{
    const struct { float x, y, dx, dy, dT; } cases[] = {
        {63.9f, 30.0f, 1.0f, 0.0f, 0.5f}, {0.05f, 30.0f, -1.0f, 0.0f, 0.5f},
        {30.0f, 30.0f, 1.0f, -1.0f, std::numeric_limits<float>::infinity()},
    };
    AddPlayer(5.5f, 5.5f);
    for (const auto& c : cases) {
        Enemy* e = AddEnemy(c.x, c.y);
        CProjectile* shot = AddShot("projectile.lasermg", "enemy", c.x, c.y);
        shot->SetSpeed(6.0f);
        const std::initializer_list<VMOB*> both = {e, shot};
        for (VMOB* m : both)
            m->SetMoveDirection(c.dx, c.dy, 0.0f);
        CGlobalTimerTask::dT = c.dT;
        for (int frame = 0; frame < 3; ++frame)
            task.Update();
        for (VMOB* m : both) {
            for (const float v : {m->GetX(), m->GetY(), m->GetZ()}) {
                EXPECT_GT(v, 0.0f) << m->GetType() << " from " << c.x << " " << c.y;
                EXPECT_LT(v, 64.0f) << m->GetType() << " from " << c.x << " " << c.y;
            }
            if (!m->IsDead()) {
                ASSERT_NE(m->GetNode(), nullptr);
                EXPECT_TRUE(m->GetNode()->Contains(m->GetX(), m->GetY(), 0.0f));
            }
            m->Kill();
        }
        task.Update();
    }
    // One off the field is in no node: it moves and dies without the tree.
    CGlobalTimerTask::dT = 0.1f;
    Enemy* outside = AddEnemy(70.0f, 30.0f);  // not inserted: a warning
    ASSERT_EQ(outside->GetNode(), nullptr);
    outside->SetMoveDirection(0, 1, 0);
    task.Update();
    EXPECT_FLOAT_EQ(outside->GetY(), 30.05f);
    outside->Kill();
    task.Update();
    VOBList left;
    EXPECT_EQ(std::make_tuple(World().GetEnemyCount(), Root()->CollectObjects(left)), std::make_tuple(0, 1))
        << "only the player";
}

}  // namespace
