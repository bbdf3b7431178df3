// The game-flow task: the selection level at start, the win check and level changes.
#include "world/testtask.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/worldfixture.h"
#include "world/actors.h"
#include "world/scenegraph.h"

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
            {"select", MakeMap({{1, {{1, 'w'}}}, {5, {{5, 's'}}}, {60, {{58, 'e'}, {60, 'e'}}}})},
            {"level1", MakeMap({{3, {{7, 'w'}}}, {10, {{10, 's'}}}, {12, {{40, 't'}}}, {20, {{20, 'f'}}},
                                {50, {{10, 'e'}, {30, 'e'}, {50, 'e'}}}})},
            {"level2", MakeMap({{2, {{2, 'w'}, {60, 'w'}}}, {32, {{32, 's'}}}})},
            {"level3", MakeMap({{8, {{8, 's'}}}, {9, {{50, 'e'}}}})},
        };
        for (const auto& [name, text] : maps)
            dir->Write(std::string("Resources/Maps/") + name + ".map", text);
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
    std::string ChangeTo(int level)
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
    CMMPointer<VMOB> Shot(float x, float y)
    {
        CMMPointer<VMOB> shot = new VMOB("projectile.lasermg", 1, 0, 0);
        shot->SetNextPosition(x, y, 1.0f);
        shot->CommitMove();
        World().AddMover(shot);
        Root()->Insert(shot);
        return shot;
    }
    CMMPointer<TestTask> task;
};

TEST_F(TestTaskTest, StartLoadsTheSelectionLevelPlacesEveryObjectAndDumps)
{
    const std::string out = Start();  // the dump counts ground, wall, two enemies and the player
    const size_t map = out.find("Loading Map Resources/Maps/select.map\n"), sound = out.find("Loading Sound Files\n");
    EXPECT_TRUE(map < sound && sound < out.find("depth: 1\n")) << out;
    EXPECT_NE(out.find("Total Objects in SceneGraph: 5\n"), std::string::npos) << out;

    for (const CMMPointer<VOB>& o : World().GetAllObjects()) {
        EXPECT_TRUE(InCurrentTree(o->GetNode())) << o->GetType();
        EXPECT_EQ(o->GetX(), o->GetNextX()) << "committed: " << o->GetType();
    }
    CMMPointer<VOB> player = PlayerNow();
    ASSERT_TRUE(player.isValid());
    EXPECT_TRUE(player->GetX() == 5.0f && player->GetY() == 5.0f);
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

    EXPECT_EQ(ChangeTo(-1).find("LEVEL CHANGE"), std::string::npos) << "once only";
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
    CMMPointer<VMOB> oldShot = Shot(oldTower->GetX() + 1.1f, oldTower->GetY());  // in flight
    // Killed in this frame: still listed until the movement task drops it, still naming its leaf.
    CMMPointer<VMOB> spent = Shot(30.0f, 30.0f);
    spent->Kill();
    ASSERT_NE(spent->GetNode(), nullptr);
    SceneGraphNode* oldRoot = Root();

    const std::string out = ChangeTo(2);
    EXPECT_EQ(CountOf(out, " DELETING "), 3);
    EXPECT_NE(Root(), oldRoot) << "a new tree";
    // The old tower would fire on, the old shot fly on.
    EXPECT_TRUE(World().GetTowers().empty() && World().GetMovers().empty() && World().GetEnemies().empty());
    EXPECT_TRUE(oldShot->IsDead());
    EXPECT_TRUE(spent->GetNode() == nullptr && oldShot->GetNode() == nullptr) << "no node of the freed tree";
    EXPECT_FALSE(oldFlag->IsCarried()) << "its carrier is gone";
    // Only the test still holds them: the lists let go and the old tree was freed.
    for (const VOB* o : {(VOB*)oldTower, (VOB*)oldEnemy, (VOB*)oldShot, (VOB*)spent})
        EXPECT_EQ(o->GetRefCount(), 1) << o->GetType();
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
    EXPECT_EQ(ChangeTo(-1).find("LEVEL CHANGE"), std::string::npos);
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
    ChangeTo(1);
    auto enemies = World().GetEnemies();
    ASSERT_EQ(enemies.size(), 3u);
    for (const CMMPointer<Enemy>& e : enemies) {
        EXPECT_EQ(World().GetResult(), GameWorld::kPlaying);
        ChangeTo(-1);
        World().RemoveEnemy(e);
    }
    EXPECT_EQ(World().GetResult(), GameWorld::kPlaying) << "only in the next update";
    ChangeTo(-1);
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
    const auto all = World().GetAllObjects();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), [](const VOB* o) { return o->GetType() == "player"; }), 2);
    EXPECT_NE(std::find(all.begin(), all.end(), old), all.end()) << "the old one still listed";
}

}  // namespace
