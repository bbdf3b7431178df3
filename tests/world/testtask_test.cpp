// SPDX-License-Identifier: GPL-3.0-or-later
// The game-flow task: the selection level at start, the win check and level changes.
#include "world/testtask.h"

#include "support/worldfixture.h"
#include "world/actors.h"

namespace {

using velqtest::CaptureCout;
using velqtest::CountOf;
using velqtest::MakeMap;

class TestTaskTest : public velqtest::WorldFixture {
protected:
    void SetUp() override
    {
        WorldFixture::SetUp();
        const std::pair<const char*, std::string> maps[] = {
            {"select", MakeMap({{1, {{1, 'w'}}}, {5, {{5, 's'}, {6, 'f'}}}, {60, {{58, 'e'}, {60, 'e'}}}})},
            {"level1", MakeMap({{3, {{7, 'w'}}}, {10, {{10, 's'}}}, {12, {{40, 't'}}}, {20, {{20, 'f'}}},
                                {50, {{10, 'e'}, {30, 'e'}, {50, 'e'}}}})},
            {"level2", MakeMap({{2, {{2, 'w'}, {60, 'w'}}}, {32, {{32, 's'}, {33, 'f'}}}})},
            {"level3", MakeMap({{8, {{8, 's'}, {9, 'f'}}}, {9, {{50, 'e'}}}})},
        };
        for (const auto& [name, text] : maps)
            dir->Write(std::string("Resources/Maps/") + name + ".map", text);
        task = new TestTask();
        CaptureCout quiet;
        EXPECT_TRUE(task->Start());
    }
    void TearDown() override
    {
        task = nullptr;
        WorldFixture::TearDown();
    }
    // One update, after setting the level unless it is negative; returns the console.
    std::string Update(int level = -1)
    {
        if (level >= 0)
            World().SetLevel(level);
        CaptureCout out;
        task->Update();
        return out.Text();
    }
    bool InCurrentTree(const SceneGraphNode* n)
    {
        while (n && n->GetParent())
            n = n->GetParent();
        return n && n == Root();
    }
    CMMPointer<VOB> PlayerNow() { return World().GetActor(GameWorld::kPlayerSlot); }
    CMMPointer<TestTask> task;
};

TEST_F(TestTaskTest, StartLoadsTheSelectionLevelAndPlacesEveryObject)
{
    EXPECT_EQ(World().GetAllObjects().size(), 6u) << "ground, wall, two enemies, player, flag";
    for (const CMMPointer<VOB>& o : World().GetAllObjects())
        EXPECT_EQ(std::make_tuple(InCurrentTree(o->GetNode()), o->GetX()), std::make_tuple(true, o->GetNextX()))
            << "in the tree and committed: " << o->GetType();
    ASSERT_TRUE(PlayerNow().isValid());
    EXPECT_EQ(std::make_tuple(PlayerNow()->GetX(), PlayerNow()->GetY()), std::make_tuple(5.0f, 5.0f));
}

TEST_F(TestTaskTest, NothingOfTheOldLevelActsInTheNewOne)
{
    Update(1);
    ASSERT_EQ(std::make_tuple(World().GetTowers().size(), World().GetEnemies().size()), std::make_tuple(1u, 3u));
    CMMPointer<Tower> oldTower = World().GetTowers().front();
    CMMPointer<Enemy> oldEnemy = World().GetEnemies().front();
    CMMPointer<Flag> oldFlag = static_cast<Flag*>(static_cast<VOB*>(World().GetActor(GameWorld::kFlagSlot)));
    oldFlag->PickUp(oldEnemy);
    CMMPointer<VMOB> oldShot = Place(new VMOB("projectile.lasermg", 1, 0, 0), 41.1f, 12.0f);  // in flight
    // Killed in this frame: still listed until the movement task drops it, still naming its leaf.
    CMMPointer<VMOB> spent = Place(new VMOB("projectile.lasermg", 1, 0, 0), 30.0f, 30.0f);
    World().AddMover(oldShot);
    World().AddMover(spent);
    spent->Kill();
    ASSERT_NE(spent->GetNode(), nullptr);

    EXPECT_EQ(CountOf(Update(2), " DELETING "), 3);
    EXPECT_EQ(std::make_tuple(World().GetTowers().size(), World().GetMovers().size(), World().GetEnemies().size()),
              std::make_tuple(0u, 0u, 0u));
    EXPECT_EQ(std::make_tuple(oldShot->IsDead(), oldFlag->IsCarried()), std::make_tuple(true, false));
    EXPECT_NE(World().GetActor(GameWorld::kFlagSlot), static_cast<VOB*>(oldFlag)) << "the new level's flag";
    EXPECT_EQ(std::make_tuple(spent->GetNode(), oldShot->GetNode()), std::make_tuple(nullptr, nullptr))
        << "no node of the freed tree";
    // Only the test still holds them: the lists let go and the old tree was freed.
    for (const VOB* o : {(VOB*)oldTower, (VOB*)oldEnemy, (VOB*)oldShot, (VOB*)spent})
        EXPECT_EQ(o->GetRefCount(), 1) << o->GetType();
    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        EXPECT_EQ(std::make_tuple(o == static_cast<VOB*>(oldTower), o == static_cast<VOB*>(oldFlag)),
                  std::make_tuple(false, false)) << o->GetType();
        EXPECT_TRUE(InCurrentTree(o->GetNode())) << o->GetType();
    }
    VOBList inTree;
    EXPECT_EQ(Root()->CollectObjects(inTree), 5) << "ground, two walls, the player, the flag";
}

TEST_F(TestTaskTest, LevelIsWonInTheFirstUpdateAfterTheLastEnemyLeavesButNeverTheSelectionLevel)
{
    for (const CMMPointer<Enemy>& e : World().GetEnemies())
        World().RemoveEnemy(e);
    Update();
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    Update(1);
    for (const CMMPointer<Enemy>& e : World().GetEnemies())
        World().RemoveEnemy(e);
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying) << "only in the next update";
    Update();
    EXPECT_EQ(World().GetResult(), GameWorld::kWon);
}

// A level change keeps the player, an unknown level leaves only it, and the selection level
// starts a new game with a new one while the old stays listed.
TEST_F(TestTaskTest, LevelChangeHappensOnceDeletesTheOldEnemiesAndKeepsThePlayerUntilTheSelectionLevel)
{
    CMMPointer<VOB> player = PlayerNow();
    std::string out = Update(3);
    EXPECT_EQ(CountOf(out, " DELETING enemy\n"), 2) << out;
    EXPECT_EQ(World().GetAllObjects().size(), 4u) << "ground, the player, the flag, one enemy";
    EXPECT_EQ(std::make_tuple(task->GetCurrentLevel(), PlayerNow() == static_cast<VOB*>(player)), std::make_tuple(3, true))
        << "the same player";
    EXPECT_EQ(std::make_tuple(player->GetX(), InCurrentTree(player->GetNode())), std::make_tuple(8.0f, true));

    Update(7);
    ASSERT_EQ(World().GetAllObjects().size(), 1u);
    EXPECT_EQ(World().GetAllObjects().front(), player);
    Update(0);
    EXPECT_NE(PlayerNow(), player);
    const auto all = World().GetAllObjects();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const VOB* o) { return o->GetType() == "player"; }), 2);
    EXPECT_NE(std::find(all.begin(), all.end(), player), all.end()) << "the old one still listed";
}

}  // namespace
