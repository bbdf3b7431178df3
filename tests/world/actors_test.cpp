// The actors' starting values, weapons, reset, waypoints and the carried flag.
#include "world/actors.h"

#include <gtest/gtest.h>

#include "engine/clock.h"
#include "world/gameworld.h"
#include "support/worldfixture.h"

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

    EXPECT_TRUE(velqtest::IsFake(p->GetWeaponAt(0), WeaponKind::RocketLauncher, p));
    EXPECT_TRUE(velqtest::IsFake(p->GetWeaponAt(1), WeaponKind::LaserMG, p));
    EXPECT_TRUE(velqtest::IsFake(p->GetWeaponAt(2), WeaponKind::LaserShotgun, p));
    EXPECT_EQ(p->GetCurrentWeapon(), 2);
    EXPECT_EQ(p->GetWeapon(), p->GetWeaponAt(2));
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
    EXPECT_TRUE(velqtest::IsFake(e->GetWeapon(), WeaponKind::LaserMG, e));
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
    EXPECT_TRUE(velqtest::IsFake(t->GetWeapon(), WeaponKind::LaserMG, t));
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

}  // namespace
