// The game world's lists, the level clean-up and the display toggles on the engine clock.
#include "world/gameworld.h"

#include <gtest/gtest.h>

#include "support/worldfixture.h"
#include "world/actors.h"
#include "world/scenegraph.h"

namespace {

using velqtest::CaptureCout;

class GameWorldTest : public velqtest::WorldFixture {};

TEST_F(GameWorldTest, TogglesStartAtTheirDefaultsAndAFlipIsShownForTwoAndAHalfSecondsThenOnceMore)
{
    const int on[] = {0, 0, 1, 1, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < GameWorld::kToggleCount; ++i)
        EXPECT_TRUE(World().GetToggle(i) == on[i] && !World().IsToggleShown(i)) << GameWorld::kToggleNames[i];
    World().FlipToggle(2);
    EXPECT_EQ(World().GetToggle(2), 0);
    EXPECT_EQ(World().GetToggleShownUntil(2), 12500u);
    // Each row: ms to advance, then what two asks in a row answer.
    const struct { uint32_t advance; bool first, second; } asks[] = {{2499, true, true}, {1, true, false}};
    for (const auto& a : asks) {
        CClock::Advance(a.advance);
        EXPECT_EQ(World().IsToggleShown(2), a.first) << a.advance;
        EXPECT_EQ(World().IsToggleShown(2), a.second) << a.advance;
    }
    EXPECT_EQ(World().GetToggleShownUntil(2), 0u);
    World().FlipToggle(2);
    EXPECT_EQ(World().GetToggle(2), 1);
    CClock::Advance(3000);
    EXPECT_TRUE(World().IsToggleShown(2)) << "three seconds later: once more";
    EXPECT_FALSE(World().IsToggleShown(2));
    EXPECT_FALSE(World().IsToggleShown(3)) << "toggles are independent";
}

TEST_F(GameWorldTest, ListsAreFilledAndEmptiedByKind)
{
    CMMPointer<Enemy> enemy = new Enemy();
    CMMPointer<Tower> tower = new Tower(1, 2, 0);
    CMMPointer<VMOB> shot = new VMOB("projectile.lasermg", 1, 0, 0);
    World().AddEnemy(enemy);
    World().AddTower(tower);
    World().AddMover(shot);
    World().AddObject(new VOB("map.wall"));
    EXPECT_TRUE(World().GetEnemyCount() == 1 && World().GetAllObjects().size() == 4u &&
                World().GetMovers().size() == 2u && World().GetTowers().size() == 1u);

    // A doubly registered mover leaves with all its entries.
    World().AddMover(shot);
    World().RemoveMover(shot);
    EXPECT_TRUE(World().GetMovers().size() == 1u && World().GetAllObjects().size() == 3u);
    World().RemoveEnemy(enemy);
    EXPECT_TRUE(World().GetEnemyCount() == 0 && World().GetEnemies().empty() && World().GetMovers().empty() &&
                World().GetAllObjects().size() == 2u);
    EXPECT_EQ(enemy->GetRefCount(), 1) << "only the test holds it now";
}

TEST_F(GameWorldTest, ClearLevelLeavesOnlyThePlayerAndNothingThatActs)
{
    CMMPointer<Player> player = new Player();
    World().AddObject(player);
    World().SetActor(player, GameWorld::kPlayerSlot);
    CMMPointer<Enemy> first = new Enemy(), second = new Enemy();
    World().AddEnemy(first);
    World().AddEnemy(second);
    CMMPointer<Tower> tower = new Tower(20, 20, 0);
    World().AddTower(tower);
    CMMPointer<VMOB> shot = new VMOB("projectile.lasermg", 1, 0, 0);
    World().AddMover(shot);
    CMMPointer<Flag> flag = new Flag();
    World().AddObject(flag);
    World().SetActor(flag, GameWorld::kFlagSlot);
    flag->PickUp(first);
    for (const CMMPointer<VOB>& o : World().GetAllObjects())
        Root()->Insert(o);

    CaptureCout out;
    World().ClearLevel();
    EXPECT_EQ(velqtest::CountOf(out.Text(), " DELETING enemy\n"), 2);
    EXPECT_EQ(velqtest::CountOf(out.Text(), " DELETING "), 2) << "one line per enemy, nothing else";

    auto all = World().GetAllObjects();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all.front(), static_cast<VOB*>(player));
    // Old towers would go on firing, old shots flying.
    EXPECT_TRUE(World().GetEnemyCount() == 0 && World().GetEnemies().empty() && World().GetTowers().empty() &&
                World().GetMovers().empty() && shot->IsDead());
    EXPECT_FALSE(flag->IsCarried()) << "its carrier is gone";
    EXPECT_EQ(World().GetActor(GameWorld::kFlagSlot), static_cast<VOB*>(flag)) << "the slot keeps the flag";
    // Enemies, tower and shot left the tree; the player and the flag are still in it.
    VOBList inTree;
    Root()->CollectObjects(inTree);
    EXPECT_EQ(inTree.size(), 2u);
}

TEST_F(GameWorldTest, FlagLiesFreeWhereItIsWhenItsCarrierLeavesTheWorld)
{
    CMMPointer<Flag> flag = new Flag();
    World().SetActor(flag, GameWorld::kFlagSlot);
    CMMPointer<Enemy> bystander = new Enemy(), carrier = new Enemy();
    World().AddEnemy(bystander);
    World().AddEnemy(carrier);
    flag->PickUp(carrier);

    World().RemoveEnemy(bystander);
    EXPECT_EQ(flag->GetCarrier(), static_cast<VMOB*>(carrier));
    World().RemoveEnemy(carrier);
    EXPECT_TRUE(!flag->IsCarried() && flag->GetCarrier() == nullptr) << "a freed carrier would be read next follow";
}

TEST_F(GameWorldTest, DetachMakesEveryListedObjectForgetItsNode)
{
    CMMPointer<Tower> tower = new Tower(20, 20, 0);
    World().AddTower(tower);
    CMMPointer<VMOB> shot = new VMOB("projectile.lasermg", 1, 0, 0);
    World().AddMover(shot);
    Root()->Insert(tower);
    Root()->Insert(shot);
    shot->Kill();  // dead, out of the leaf, but still naming it
    ASSERT_NE(shot->GetNode(), nullptr);
    World().DetachFromSceneGraph();
    EXPECT_TRUE(tower->GetNode() == nullptr && shot->GetNode() == nullptr);

    World().ClearLevel();  // without a player: nothing is left
    EXPECT_TRUE(World().GetAllObjects().empty());
}

}  // namespace
