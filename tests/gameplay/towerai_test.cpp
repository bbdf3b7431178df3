// The towers' targeting: range, the scene-graph region they look into, the first enemy
// in that region's order, the rate of their shots.
#include "gameplay/towerai.h"

#include <gtest/gtest.h>

#include "gameplayfixture.h"
#include "world/actors.h"

namespace {

class TowerAITest : public velqtest::GameplayFixture {
protected:
    template <class T>
    CMMPointer<T> Place(T* object, float x, float y)
    {
        CMMPointer<T> o = object;
        o->SetNextPosition(x, y, 1);
        o->CommitMove();
        Root()->Insert(CMMPointer<VOB>(o));
        return o;
    }
    CMMPointer<Tower> AddTower(float x, float y)
    {
        CMMPointer<Tower> t = new Tower(x, y, 0);
        World().AddTower(t);
        Root()->Insert(CMMPointer<VOB>(t));
        return t;
    }
    void FreshSceneGraph()
    {
        delete &SceneGraph::GetSingleton();
        new SceneGraph();
    }

    CTowerAITask task;
};

TEST_F(TowerAITest, TowerAimsAndFiresAtAnEnemyUpToItsRangeAboutThreeTimesASecond)
{
    const struct {
        float distance;
        bool seen;
    } cases[] = {{4.9f, true}, {5.0f, true}, {5.1f, false}};
    for (const auto& c : cases) {
        FreshSceneGraph();
        CMMPointer<Tower> t = AddTower(20, 20);
        Place(new Enemy(), 20 + c.distance, 20);
        EXPECT_EQ(task.AcquireTarget(*t), c.seen) << c.distance;
        // One scatter for both axes; no target leaves the look alone.
        EXPECT_NEAR(t->GetLookX() - t->GetLookY(), c.seen ? c.distance : -1.0f, 1e-5);
        const size_t before = World().GetMovers().size();
        for (int ms = 0; ms < 3000; ms += 10) {
            CClock::Advance(10);
            task.Update();
        }
        EXPECT_EQ(World().GetMovers().size() - before, c.seen ? 8u : 0u) << c.distance;
        World().ClearLevel();
    }
}

TEST_F(TowerAITest, TowerSeesOnlyItsRegionAndTakesItsFirstEnemyNotTheNearest)
{
    // Walls split the root and its first quarter: the tower at (30, 30) lies in the leaf
    // 16..32, and an enemy at x = 34, 4 units away, one quarter over.
    const struct {
        float enemyX;
        bool seen;
    } regions[] = {{34, false}, {31.5f, true}};
    for (const auto& c : regions) {
        FreshSceneGraph();
        Place(new VOB("map.wall"), 2, 2);
        Place(new VOB("map.wall"), 60, 60);
        CMMPointer<Tower> t = AddTower(30, 30);
        Place(new Enemy(), c.enemyX, 30);
        EXPECT_EQ(task.AcquireTarget(*t), c.seen) << c.enemyX;
    }

    for (bool farFirst : {true, false}) {
        FreshSceneGraph();
        CMMPointer<Tower> t = AddTower(20, 20);
        Place(new Enemy(), farFirst ? 24 : 20, farFirst ? 20 : 22);
        Place(new Enemy(), farFirst ? 20 : 24, farFirst ? 22 : 20);
        ASSERT_TRUE(task.AcquireTarget(*t));
        EXPECT_NEAR(t->GetLookX() - t->GetLookY(), farFirst ? 4 : -2, 1e-5);
    }

    CMMPointer<Tower> outside = new Tower(20, 20, 0);  // in no scene graph
    EXPECT_FALSE(task.AcquireTarget(*outside));
}

}  // namespace
