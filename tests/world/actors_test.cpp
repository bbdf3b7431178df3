// The actors' starting values, weapons, reset, waypoints and the carried flag.
#include "world/actors.h"

#include <gtest/gtest.h>

#include "engine/clock.h"
#include "gameplay/projectiles.h"
#include "gameplay/weapons.h"
#include "world/gameworld.h"
#include "worldfixture.h"

namespace {

using velqtest::CaptureCout;

class ActorsTest : public velqtest::WorldFixture {};

TEST_F(ActorsTest, PlayerStartsWithItsValuesAndTheShotgun)
{
    World().SetResult(GameWorld::kLost);
    CMMPointer<Player> p = new Player();
    EXPECT_EQ(p->GetType(), "player");
    EXPECT_EQ(p->GetSpeed(), 4.0f);
    EXPECT_EQ(p->GetHealth(), 100);
    EXPECT_EQ(p->GetZ(), 1.0f);
    EXPECT_EQ(p->GetDiameter(), 1.5f);
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying) << "a new player starts a new game";
    EXPECT_EQ(p->GetEyeX(), 5.0f);
    EXPECT_EQ(p->GetEyeY(), 5.0f);
    EXPECT_EQ(p->GetEyeZ(), 31.0f);

    EXPECT_NE(dynamic_cast<CRocketLauncher*>(p->GetWeaponAt(0)), nullptr);
    EXPECT_NE(dynamic_cast<CLaserMG*>(p->GetWeaponAt(1)), nullptr);
    EXPECT_NE(dynamic_cast<CLaserShotgun*>(p->GetWeaponAt(2)), nullptr);
    EXPECT_EQ(p->GetCurrentWeapon(), 2);
    EXPECT_EQ(p->GetWeapon(), p->GetWeaponAt(2));
    for (int i = 0; i < Player::kWeaponCount; ++i)
        EXPECT_EQ(p->GetWeaponAt(i)->GetOwner(), static_cast<VOB*>(p));
}

TEST_F(ActorsTest, NextWeaponCyclesAndPlaysTheChangeAnimationOnce)
{
    CMMPointer<Player> p = new Player();
    MD2Model& model = p->GetModel();
    model.animations.resize(10);  // enough animations for the change to play
    model.SetAnimation(3, 0);
    const int expected[] = {Player::kRocketLauncher, Player::kLaserMG, Player::kLaserShotgun};
    for (int want : expected) {
        p->NextWeapon();
        EXPECT_EQ(p->GetCurrentWeapon(), want);
        EXPECT_EQ(p->GetWeapon(), p->GetWeaponAt(want));
        EXPECT_EQ(model.currentAnimation, Player::kWeaponChangeAnimation);
        EXPECT_EQ(model.loopsLeft, 1);
    }
}

TEST_F(ActorsTest, ResetRestoresTheStartValuesButKeepsCameraAndPlace)
{
    CMMPointer<Player> p = new Player();
    p->SetNextPosition(20.0f, 30.0f, 7.0f);
    p->CommitMove();
    p->SetCameraOffset(2.0f, -3.0f, 25.0f);
    p->Damage(60);
    p->SetSpeed(1.0f);
    p->SetDiameter(9.0f);
    p->NextWeapon();
    World().SetResult(GameWorld::kLost);

    p->Reset();
    EXPECT_EQ(p->GetHealth(), 100);
    EXPECT_EQ(p->GetSpeed(), 4.0f);
    EXPECT_EQ(p->GetDiameter(), 1.5f);
    EXPECT_EQ(p->GetZ(), 1.0f);
    EXPECT_EQ(p->GetX(), 20.0f);
    EXPECT_EQ(p->GetY(), 30.0f);
    EXPECT_EQ(p->GetCurrentWeapon(), Player::kLaserShotgun);
    EXPECT_EQ(p->GetWeapon(), p->GetWeaponAt(2));
    EXPECT_EQ(p->GetCameraOffset(0), 2.0f);
    EXPECT_EQ(p->GetCameraOffset(2), 25.0f);
    EXPECT_EQ(p->GetEyeZ(), 26.0f);
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
}

TEST_F(ActorsTest, EnemyHasItsValuesAndTheFirstWaypointAsTarget)
{
    CMMPointer<Enemy> e = new Enemy();
    EXPECT_EQ(e->GetType(), "enemy");
    EXPECT_EQ(e->GetSpeed(), 0.5f);
    EXPECT_EQ(e->GetHealth(), 100);
    EXPECT_EQ(e->GetDiameter(), 2.5f);
    EXPECT_EQ(e->GetZ(), 1.0f);
    EXPECT_EQ(e->GetModel().frameDuration, 1.0f);
    ASSERT_NE(dynamic_cast<CLaserMG*>(e->GetWeapon()), nullptr);
    EXPECT_EQ(e->GetWeapon()->GetOwner(), static_cast<VOB*>(e));
    EXPECT_TRUE(e->GetPath().empty());

    e->AddWaypoint(25, 25, 1);
    e->AddWaypoint(35, 25, 1);
    const auto path = e->GetPath();
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(path[1].x, 35.0f);
    EXPECT_EQ(e->GetTarget().x, 25.0f);
    EXPECT_EQ(e->GetTarget().y, 25.0f);
    EXPECT_EQ(e->GetTarget().z, 1.0f);

    // A plain mover takes no waypoints.
    CMMPointer<VMOB> m = new VMOB("projectile.rocket", 0, 0, 0);
    m->AddWaypoint(1, 2, 3);
}

TEST_F(ActorsTest, TowerStandsWhereItIsMadeWithALaserGun)
{
    CMMPointer<Tower> t = new Tower(12.0f, 40.0f, 0.25f);
    EXPECT_EQ(t->GetType(), "tower");
    EXPECT_EQ(t->GetX(), 12.0f);
    EXPECT_EQ(t->GetY(), 40.0f);
    EXPECT_EQ(t->GetZ(), 0.25f);
    EXPECT_EQ(t->GetDiameter(), 0.3f);
    ASSERT_NE(dynamic_cast<CLaserMG*>(t->GetWeapon()), nullptr);
    EXPECT_EQ(t->GetWeapon()->GetOwner(), static_cast<VOB*>(t));
}

TEST_F(ActorsTest, FlagFollowsItsCarrierAndReportsIt)
{
    CMMPointer<Flag> flag = new Flag();
    EXPECT_EQ(flag->GetType(), "flag");
    EXPECT_EQ(flag->GetHealth(), 1000);
    EXPECT_EQ(flag->GetSpeed(), 0.0f);
    EXPECT_EQ(flag->GetDiameter(), 0.5f);
    EXPECT_FALSE(flag->IsCarried());
    flag->SetNextPosition(30, 30, 1);
    flag->CommitMove();
    Root()->Insert(flag);
    CMMPointer<VMOB> wall = new VMOB("map.wall", 0, 0, 0);
    wall->SetNextPosition(12.5f, 40.0f, 0.5f);
    wall->CommitMove();
    Root()->Insert(wall);

    CMMPointer<Enemy> carrier = new Enemy();
    carrier->SetNextPosition(12.5f, 40.0f, 1.0f);
    carrier->CommitMove();
    flag->PickUp(carrier);
    EXPECT_TRUE(flag->IsCarried());
    EXPECT_EQ(flag->GetCarrier(), static_cast<VMOB*>(carrier));

    CaptureCout out;
    flag->FollowCarrier();
    EXPECT_EQ(out.Text(), "FLAGCARRIER 12.5 40\n");
    EXPECT_EQ(flag->GetX(), 12.5f);
    EXPECT_EQ(flag->GetY(), 40.0f);
    EXPECT_EQ(flag->GetNode(), Root());

    flag->Drop();
    EXPECT_FALSE(flag->IsCarried());
    EXPECT_EQ(flag->GetCarrier(), nullptr);
}

TEST_F(ActorsTest, WeaponFiresOnlyAfterItsGapAndLaunchesAProjectileInFront)
{
    CMMPointer<Tower> t = new Tower(10.0f, 10.0f, 0.0f);
    t->SetLookX(-1.0f);
    t->SetLookY(3.0f);
    EXPECT_FALSE(t->Fire()) << "not within the first 333 ms";
    CClock::Advance(333);
    EXPECT_FALSE(t->Fire());
    CClock::Advance(1);
    ASSERT_TRUE(t->Fire());
    EXPECT_FALSE(t->Fire()) << "the gap starts again";

    auto movers = World().GetMovers();
    ASSERT_EQ(movers.size(), 1u);
    CMMPointer<VMOB> shot = movers.front();
    EXPECT_EQ(shot->GetType(), "projectile.lasermg");
    EXPECT_EQ(shot->GetOwnerType(), "tower");
    // Look (-1, 3) divided by |x| + |y|: (-0.25, 0.75); 1.1 units out, at height 1.
    EXPECT_FLOAT_EQ(shot->GetMoveX(), -0.25f);
    EXPECT_FLOAT_EQ(shot->GetMoveY(), 0.75f);
    EXPECT_FLOAT_EQ(shot->GetX(), 10.0f - 0.275f);
    EXPECT_FLOAT_EQ(shot->GetY(), 10.0f + 0.825f);
    EXPECT_FLOAT_EQ(shot->GetZ(), 1.0f);
    EXPECT_EQ(shot->GetSpeed(), 6.0f);
    EXPECT_NE(shot->GetNode(), nullptr) << "in the scene graph";
}

TEST_F(ActorsTest, ShotgunLaysTenPelletsInTheSamePatternWithinASecond)
{
    CMMPointer<Player> one = new Player();
    CMMPointer<Player> two = new Player();
    one->SetNextPosition(20.0f, 20.0f, 1.0f);
    one->CommitMove();
    two->SetNextPosition(40.0f, 44.0f, 1.0f);
    two->CommitMove();
    CClock::Advance(1001);
    ASSERT_TRUE(one->Fire());
    auto first = World().GetMovers();
    ASSERT_TRUE(two->Fire());
    auto both = World().GetMovers();
    ASSERT_EQ(first.size(), 10u);
    ASSERT_EQ(both.size(), 20u);

    auto pellet = both.begin();
    std::advance(pellet, 10);
    bool spread = false;
    for (const auto& a : first) {
        const CMMPointer<VMOB>& b = *pellet++;
        EXPECT_EQ(a->GetType(), "projectile.shotgun");
        // Look (0, 1): 1.1 units ahead, each start moved by at most half a unit.
        EXPECT_NEAR(a->GetX(), 20.0f, 0.5f);
        EXPECT_NEAR(a->GetY(), 21.1f, 0.5f);
        EXPECT_FLOAT_EQ(a->GetMoveY(), 1.0f);
        EXPECT_NEAR(b->GetX() - 40.0f, a->GetX() - 20.0f, 1e-4f);
        EXPECT_NEAR(b->GetY() - 44.0f, a->GetY() - 20.0f, 1e-4f);
        spread = spread || a->GetX() != first.front()->GetX();
    }
    EXPECT_TRUE(spread) << "the pellets do not all start at one point";
}

TEST_F(ActorsTest, ProjectileDiesAtItsAgeLimitAndStaysPut)
{
    CMMPointer<CProjectile> shot = new CRocketProjectile("projectile.rocket", "player", 1, 0, 0);
    shot->SetMaxAge(3.0f);
    shot->SetSpeed(4.0f);
    shot->SetNextPosition(10, 10, 1);
    shot->CommitMove();
    Root()->Insert(shot);
    CGlobalTimerTask::dT = 1.0f;
    shot->ComputeNextPosition();
    shot->TryMove();
    shot->ComputeNextPosition();
    shot->TryMove();
    EXPECT_FLOAT_EQ(shot->GetX(), 18.0f);
    EXPECT_FALSE(shot->IsDead());
    shot->ComputeNextPosition();
    EXPECT_TRUE(shot->IsDead());
    EXPECT_FLOAT_EQ(shot->GetNextX(), 18.0f);
    EXPECT_TRUE(Root()->GetObjects().empty());
}

}  // namespace
