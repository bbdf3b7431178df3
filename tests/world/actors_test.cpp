// The actors' weapons, reset, waypoints and the carried flag.
#include "world/actors.h"

#include <gtest/gtest.h>

#include "world/gameworld.h"
#include "support/worldfixture.h"

namespace {

class ActorsTest : public velqtest::WorldFixture {};

TEST_F(ActorsTest, PlayerStartsANewGameWithTheShotgunAndCyclesItsWeaponsWithTheChangeAnimation)
{
    World().SetResult(GameWorld::kLost);
    CMMPointer<Player> p = new Player();
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying) << "a new player starts a new game";
    const WeaponKind kinds[] = {WeaponKind::RocketLauncher, WeaponKind::LaserMG, WeaponKind::LaserShotgun};
    for (int i = 0; i < Player::kWeaponCount; ++i)
        EXPECT_TRUE(velqtest::IsFake(p->GetWeaponAt(i), kinds[i], p)) << i;
    EXPECT_EQ(p->GetWeapon(), p->GetWeaponAt(Player::kLaserShotgun));

    MD2Model& model = p->GetModel();
    model.animations.resize(10);  // enough animations for the change to play
    model.SetAnimation(3, 0);
    for (int want : {Player::kRocketLauncher, Player::kLaserMG, Player::kLaserShotgun}) {
        p->NextWeapon();
        EXPECT_EQ(p->GetWeapon(), p->GetWeaponAt(want));
        EXPECT_TRUE(model.currentAnimation == Player::kWeaponChangeAnimation && model.loopsLeft == 1) << want;
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
    EXPECT_TRUE(p->GetHealth() == 100 && p->GetSpeed() == 4.0f && p->GetDiameter() == 1.5f && p->GetZ() == 1.0f);
    EXPECT_TRUE(p->GetX() == 20.0f && p->GetY() == 30.0f && p->GetCameraOffset(0) == 2.0f && p->GetEyeZ() == 26.0f);
    EXPECT_EQ(p->GetWeapon(), p->GetWeaponAt(Player::kLaserShotgun));
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
}

TEST_F(ActorsTest, EnemyTakesTheFirstWaypointAsTargetAndAPlainMoverTakesNone)
{
    CMMPointer<Enemy> e = new Enemy();
    e->AddWaypoint(25, 24, 1);
    e->AddWaypoint(35, 25, 1);
    ASSERT_EQ(e->GetPath().size(), 2u);
    EXPECT_TRUE(e->GetPath()[1].x == 35.0f && e->GetTarget().x == 25.0f && e->GetTarget().y == 24.0f);
    CMMPointer<VMOB> m = new VMOB("projectile.rocket", 0, 0, 0);
    m->AddWaypoint(1, 2, 3);
}

TEST_F(ActorsTest, FlagFollowsItsCarrierInTheTreeAndReportsIt)
{
    CMMPointer<Flag> flag = Place(new Flag(), 30, 30);
    EXPECT_FALSE(flag->IsCarried());
    Place(new VMOB("map.wall", 0, 0, 0), 12.5f, 40.0f, 0.5f);
    CMMPointer<Enemy> carrier = new Enemy();
    carrier->SetNextPosition(12.5f, 40.0f, 1.0f);
    carrier->CommitMove();
    flag->PickUp(carrier);
    EXPECT_EQ(flag->GetCarrier(), static_cast<VMOB*>(carrier));

    velqtest::CaptureCout out;
    flag->FollowCarrier();
    EXPECT_EQ(out.Text(), "FLAGCARRIER 12.5 40\n");
    EXPECT_TRUE(flag->GetX() == 12.5f && flag->GetY() == 40.0f && flag->GetNode() == Root());
    flag->Drop();
    EXPECT_TRUE(!flag->IsCarried() && flag->GetCarrier() == nullptr);
}

}  // namespace
