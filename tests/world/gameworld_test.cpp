// The game world's lists and display toggles, the actors it holds, and the state hash of
// recorded games.
#include "world/gameworld.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/random.h"
#include "support/worldfixture.h"
#include "world/actors.h"
#include "world/statehash.h"

namespace {

using velqtest::CaptureCout;

class GameWorldTest : public velqtest::WorldFixture {};

// A flipped toggle is shown for two and a half seconds of engine time, and once more when
// asked after that.
TEST_F(GameWorldTest, AFlipIsShownForAWhileThenOnceMore)
{
    for (int i = 0; i < GameWorld::kToggleCount; ++i)
        EXPECT_FALSE(World().IsToggleShown(i)) << GameWorld::kToggleNames[i];
    World().FlipToggle(2);
    EXPECT_EQ(World().GetToggle(2), 0) << "the frame rate starts shown";
    // Each row: ms to advance, then what two asks in a row answer.
    const struct { uint32_t advance; bool first, second; } asks[] = {{2499, true, true}, {1, true, false}};
    for (const auto& a : asks) {
        CClock::Advance(a.advance);
        EXPECT_EQ(World().IsToggleShown(2), a.first) << a.advance;
        EXPECT_EQ(World().IsToggleShown(2), a.second) << a.advance;
    }
    World().FlipToggle(2);
    CClock::Advance(3000);
    EXPECT_TRUE(World().GetToggle(2) == 1 && World().IsToggleShown(2)) << "long after: once more";
    EXPECT_FALSE(World().IsToggleShown(2) || World().IsToggleShown(3));
}

TEST_F(GameWorldTest, ListsAreFilledAndEmptiedByKind)
{
    CMMPointer<Enemy> enemy = new Enemy();
    CMMPointer<VMOB> shot = new VMOB("projectile.lasermg", 1, 0, 0);
    World().AddEnemy(enemy);
    World().AddTower(new Tower(1, 2, 0));
    World().AddMover(shot);
    World().AddObject(new VOB("map.wall"));
    EXPECT_TRUE(World().GetEnemyCount() == 1 && World().GetAllObjects().size() == 4u &&
                World().GetMovers().size() == 2u && World().GetTowers().size() == 1u);
    World().AddMover(shot);  // registered twice: leaves with all its entries
    World().RemoveMover(shot);
    World().RemoveEnemy(enemy);
    World().RemoveEnemy(enemy);  // not listed any more: counted down once only
    EXPECT_TRUE(World().GetEnemyCount() == 0 && World().GetEnemies().empty() && World().GetMovers().empty() &&
                World().GetAllObjects().size() == 2u);
    EXPECT_EQ(enemy->GetRefCount(), 1) << "only the test holds it now";
}

TEST_F(GameWorldTest, PlayerStartsANewGameWithTheShotgunAndCyclesItsWeaponsWithTheChangeAnimation)
{
    CMMPointer<Player> p = new Player();
    MD2Model& model = p->GetModel();
    model.animations.resize(10);  // enough animations for the change to play
    const struct { int slot; WeaponKind kind; } order[] = {{Player::kLaserShotgun, WeaponKind::LaserShotgun},
        {Player::kRocketLauncher, WeaponKind::RocketLauncher}, {Player::kLaserMG, WeaponKind::LaserMG},
        {Player::kLaserShotgun, WeaponKind::LaserShotgun}};
    for (const auto& o : order) {
        EXPECT_TRUE(p->GetWeapon() == p->GetWeaponAt(o.slot) && velqtest::IsFake(p->GetWeapon(), o.kind, p)) << o.slot;
        model.SetAnimation(3, 0);
        p->NextWeapon();
        EXPECT_TRUE(model.currentAnimation == Player::kWeaponChangeAnimation && model.loopsLeft == 1) << o.slot;
    }
}

TEST_F(GameWorldTest, PlayerResetRestoresTheStartValuesButKeepsCameraAndPlace)
{
    CMMPointer<Player> p = Place(new Player(), 20.0f, 30.0f, 7.0f);
    p->SetCameraOffset(2.0f, -3.0f, 25.0f);
    p->Damage(60);
    p->SetSpeed(1.0f);
    p->SetDiameter(9.0f);
    p->NextWeapon();
    World().SetResult(GameWorld::kLost);
    p->Reset();
    EXPECT_TRUE(p->GetHealth() == 100 && p->GetSpeed() == 4.0f && p->GetDiameter() == 1.5f && p->GetZ() == 1.0f);
    EXPECT_TRUE(p->GetX() == 20.0f && p->GetY() == 30.0f && p->GetCameraOffset(0) == 2.0f && p->GetEyeZ() == 26.0f);
    EXPECT_TRUE(p->GetWeapon() == p->GetWeaponAt(Player::kLaserShotgun) && World().GetResult() == GameWorld::kPlaying);
}

// A freed carrier would be read at the flag's next follow.
TEST_F(GameWorldTest, FlagFollowsItsCarrierAndLiesFreeWhenTheCarrierLeavesTheWorld)
{
    CMMPointer<Flag> flag = Place(new Flag(), 30, 30);
    World().SetActor(flag, GameWorld::kFlagSlot);
    Place(new VMOB("map.wall", 0, 0, 0), 12.5f, 40.0f, 0.5f);  // does not block the flag
    CMMPointer<Enemy> bystander = new Enemy(), carrier = new Enemy();
    World().AddEnemy(bystander);
    World().AddEnemy(carrier);
    carrier->SetNextPosition(12.5f, 40.0f, 1.0f);
    carrier->CommitMove();
    CaptureCout out;
    flag->FollowCarrier();  // not carried: stays
    flag->PickUp(carrier);
    flag->FollowCarrier();
    EXPECT_EQ(out.Text(), "FLAGCARRIER 12.5 40\n");
    EXPECT_TRUE(flag->GetX() == 12.5f && flag->GetY() == 40.0f && flag->GetNode() == Root());
    World().RemoveEnemy(bystander);
    EXPECT_EQ(flag->GetCarrier(), static_cast<VMOB*>(carrier));
    World().RemoveEnemy(carrier);
    EXPECT_TRUE(!flag->IsCarried() && flag->GetCarrier() == nullptr);
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
