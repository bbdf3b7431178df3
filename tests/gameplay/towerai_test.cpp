// SPDX-License-Identifier: GPL-3.0-or-later
// The towers' targeting: range, the scene-graph region they look into, the rate of their
// shots.
#include "gameplay/towerai.h"

#include "scene.h"

namespace {

class TowerAITest : public velqtest::SceneFixture {
protected:
    // A tower at (x, y) in a fresh scene graph, after walls at the given places.
    CMMPointer<Tower> FreshTower(float x, float y, std::initializer_list<std::pair<float, float>> walls = {})
    {
        delete &SceneGraph::GetSingleton();
        new SceneGraph();
        for (auto [wx, wy] : walls)
            Place(new VOB("map.wall"), wx, wy);
        CMMPointer<Tower> t = new Tower(x, y, 0);
        World().AddTower(t);
        Root()->Insert(CMMPointer<VOB>(t));
        return t;
    }

    CTowerAITask task;
};

TEST_F(TowerAITest, TowerAimsAndFiresAtAnEnemyUpToItsRangeAboutThreeTimesASecond)
{
    for (auto [distance, seen] : {std::pair{4.9f, true}, {5.0f, true}, {5.1f, false}}) {
        CMMPointer<Tower> t = FreshTower(20, 20);
        Place(new Enemy(), 20 + distance, 20);
        EXPECT_EQ(task.AcquireTarget(*t), seen) << distance;
        // One scatter for both axes; no target leaves the look alone.
        EXPECT_NEAR(t->GetLookX() - t->GetLookY(), seen ? distance : -1.0f, 1e-5);
        const size_t before = World().GetMovers().size();
        for (int ms = 0; ms < 3000; ms += 10)
            CClock::Advance(10), task.Update();
        EXPECT_EQ(World().GetMovers().size() - before, seen ? 8u : 0u) << distance;
        World().ClearLevel();
    }
}

TEST_F(TowerAITest, TowerSeesOnlyItsRegion)
{
    // Walls split the root and its first quarter: the tower at (30, 30) lies in the leaf
    // 16..32, and an enemy at x = 34, 4 units away, one quarter over.
    for (auto [enemyX, seen] : {std::pair{34.0f, false}, {31.5f, true}}) {
        CMMPointer<Tower> t = FreshTower(30, 30, {{2, 2}, {60, 60}});
        Place(new Enemy(), enemyX, 30);
        EXPECT_EQ(task.AcquireTarget(*t), seen) << enemyX;
    }

    CMMPointer<Tower> outside = new Tower(20, 20, 0);  // in no scene graph
    EXPECT_FALSE(task.AcquireTarget(*outside));
}

}  // namespace
