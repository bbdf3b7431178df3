// The game-flow task: the selection level at start, the win check and level changes.
#include "world/testtask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/clock.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"
#include "support/worldfixture.h"

namespace {

using velqtest::CaptureCout;
using velqtest::CountOf;
using velqtest::MakeMap;

class TestTaskTest : public velqtest::WorldFixture {
protected:
    void SetUp() override
    {
        WorldFixture::SetUp();
        // The selection level: a wall, two enemies, the spawn point.
        dir->Write("Resources/Maps/select.map",
                   MakeMap({{1, {{1, 'w'}}}, {5, {{5, 's'}}}, {60, {{58, 'e'}, {60, 'e'}}}}));
        // Level 1: three enemies, a tower, the flag, a wall.
        dir->Write("Resources/Maps/level1.map", MakeMap({{3, {{7, 'w'}}},
                                                         {10, {{10, 's'}}},
                                                         {12, {{40, 't'}}},
                                                         {20, {{20, 'f'}}},
                                                         {50, {{10, 'e'}, {30, 'e'}, {50, 'e'}}}}));
        // Level 2: walls only.
        dir->Write("Resources/Maps/level2.map", MakeMap({{2, {{2, 'w'}, {60, 'w'}}}, {32, {{32, 's'}}}}));
        dir->Write("Resources/Maps/level3.map", MakeMap({{8, {{8, 's'}}}, {9, {{50, 'e'}}}}));
        task = new TestTask();
    }

    void TearDown() override
    {
        task = nullptr;
        WorldFixture::TearDown();
    }

    std::string Start()
    {
        CaptureCout out;
        EXPECT_TRUE(task->Start());
        return out.Text();
    }

    std::string Update()
    {
        CaptureCout out;
        task->Update();
        return out.Text();
    }

    std::string ChangeTo(int level)
    {
        World().SetLevel(level);
        return Update();
    }

    // True when the node belongs to the current scene graph.
    bool InCurrentTree(const SceneGraphNode* n)
    {
        while (n && n->GetParent())
            n = n->GetParent();
        return n && n == Root();
    }

    CMMPointer<VOB> PlayerNow() { return World().GetActor(GameWorld::kPlayerSlot); }

    CMMPointer<TestTask> task;
};

TEST_F(TestTaskTest, StartLoadsTheSelectionLevelPlacesEveryObjectAndDumps)
{
    const std::string out = Start();
    EXPECT_NE(out.find("Loading Map Resources/Maps/select.map\n"), std::string::npos);
    EXPECT_NE(out.find("Loading Sound Files\n"), std::string::npos);
    EXPECT_LT(out.find("Loading Map"), out.find("Loading Sound Files"));
    // Ground, wall, two enemies and the player.
    EXPECT_NE(out.find("Total Objects in SceneGraph: 5\n"), std::string::npos) << out;
    EXPECT_LT(out.find("Loading Sound Files"), out.find("depth: 1\n"));

    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        EXPECT_TRUE(InCurrentTree(o->GetNode())) << o->GetType();
        EXPECT_EQ(o->GetX(), o->GetNextX()) << "committed: " << o->GetType();
    }
    CMMPointer<VOB> player = PlayerNow();
    ASSERT_TRUE(player.isValid());
    EXPECT_EQ(player->GetX(), 5.0f);
    EXPECT_EQ(player->GetY(), 5.0f);
}

TEST_F(TestTaskTest, LevelChangeHappensOnceDeletesTheOldEnemiesAndKeepsThePlayer)
{
    Start();
    CMMPointer<VOB> player = PlayerNow();
    const std::string out = ChangeTo(3);
    EXPECT_EQ(CountOf(out, "LEVEL CHANGE\n"), 1);
    EXPECT_EQ(CountOf(out, " DELETING enemy\n"), 2);
    EXPECT_NE(out.find("Loading Map Resources/Maps/level3.map\n"), std::string::npos);
    EXPECT_LT(out.find("LEVEL CHANGE"), out.find(" DELETING "));
    // Ground, the kept player and one enemy.
    EXPECT_NE(out.find("Total Objects in SceneGraph: 3\n"), std::string::npos) << out;
    EXPECT_EQ(task->GetCurrentLevel(), 3);
    EXPECT_EQ(PlayerNow(), player) << "the same player";
    EXPECT_EQ(player->GetX(), 8.0f);
    EXPECT_TRUE(InCurrentTree(player->GetNode()));

    EXPECT_EQ(Update().find("LEVEL CHANGE"), std::string::npos) << "once only";
}

TEST_F(TestTaskTest, NothingOfTheOldLevelActsInTheNewOne)
{
    Start();
    ChangeTo(1);
    ASSERT_EQ(World().GetTowers().size(), 1u);
    ASSERT_EQ(World().GetEnemies().size(), 3u);
    CMMPointer<Tower> oldTower = World().GetTowers().front();
    CMMPointer<Enemy> oldEnemy = World().GetEnemies().front();
    CMMPointer<Flag> oldFlag = static_cast<Flag*>(static_cast<VOB*>(World().GetActor(GameWorld::kFlagSlot)));
    oldFlag->PickUp(oldEnemy);
    // A shot of the old tower, in flight.
    CMMPointer<VMOB> oldShot = new VMOB("projectile.lasermg", 1, 0, 0);
    oldShot->SetNextPosition(oldTower->GetX() + 1.1f, oldTower->GetY(), 1.0f);
    oldShot->CommitMove();
    World().AddMover(oldShot);
    Root()->Insert(oldShot);
    ASSERT_EQ(World().GetMovers().size(), 4u) << "three enemies and the shot";
    // A shot killed in this frame is still listed until the movement task drops it,
    // and it still names its leaf.
    CMMPointer<VMOB> spent = new VMOB("projectile.lasermg", 1, 0, 0);
    spent->SetNextPosition(30.0f, 30.0f, 1.0f);
    spent->CommitMove();
    World().AddMover(spent);
    Root()->Insert(spent);
    spent->Kill();
    ASSERT_NE(spent->GetNode(), nullptr);
    SceneGraphNode* oldRoot = Root();

    const std::string out = ChangeTo(2);
    EXPECT_EQ(CountOf(out, " DELETING "), 3);
    EXPECT_NE(Root(), oldRoot) << "a new tree";
    EXPECT_TRUE(World().GetTowers().empty()) << "the old tower would fire on";
    EXPECT_TRUE(World().GetMovers().empty()) << "the old shot would fly on";
    EXPECT_TRUE(World().GetEnemies().empty());
    EXPECT_TRUE(oldShot->IsDead());
    EXPECT_EQ(spent->GetNode(), nullptr) << "nothing names a node of the freed tree";
    EXPECT_EQ(oldShot->GetNode(), nullptr);
    EXPECT_FALSE(oldFlag->IsCarried()) << "its carrier is gone";
    // Only the test still holds them: the lists let go and the old tree was freed.
    EXPECT_EQ(oldTower->GetRefCount(), 1);
    EXPECT_EQ(oldEnemy->GetRefCount(), 1);
    EXPECT_EQ(oldShot->GetRefCount(), 1);
    EXPECT_EQ(spent->GetRefCount(), 1);
    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        EXPECT_NE(o, static_cast<VOB*>(oldTower));
        EXPECT_NE(o, static_cast<VOB*>(oldFlag));
        EXPECT_TRUE(InCurrentTree(o->GetNode())) << o->GetType();
    }
    VOBList inTree;
    EXPECT_EQ(Root()->CollectObjects(inTree), 4) << "ground, two walls, the player";
}

TEST_F(TestTaskTest, LevelIsWonInTheFirstUpdateAfterTheLastEnemyLeavesButNeverTheSelectionLevel)
{
    Start();
    for (const CMMPointer<Enemy>& e : World().GetEnemies())
        World().RemoveEnemy(e);
    EXPECT_EQ(Update().find("LEVEL CHANGE"), std::string::npos);
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    ChangeTo(1);
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    auto enemies = World().GetEnemies();
    ASSERT_EQ(enemies.size(), 3u);
    World().RemoveEnemy(enemies.front());
    enemies.pop_front();
    World().RemoveEnemy(enemies.front());
    Update();
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    World().RemoveEnemy(enemies.back());
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    Update();
    EXPECT_EQ(World().GetResult(), GameWorld::kWon);
}

TEST_F(TestTaskTest, UnknownLevelLeavesOnlyThePlayerAndTheSelectionLevelMakesANewOneKeepingTheOldListed)
{
    Start();
    CMMPointer<VOB> old = PlayerNow();
    const std::string out = ChangeTo(7);
    EXPECT_EQ(out.find("Loading Map"), std::string::npos);
    EXPECT_NE(out.find("Total Objects in SceneGraph: 1\n"), std::string::npos);
    ASSERT_EQ(World().GetAllObjects().size(), 1u);
    EXPECT_EQ(World().GetAllObjects().front(), old);

    ChangeTo(0);
    EXPECT_NE(PlayerNow(), old);
    int players = 0;
    bool oldListed = false;
    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        players += o->GetType() == "player";
        oldListed = oldListed || o == old;
    }
    EXPECT_EQ(players, 2);
    EXPECT_TRUE(oldListed);
}

}  // namespace
