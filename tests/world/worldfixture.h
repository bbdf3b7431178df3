// A headless world for game-rule tests: the singletons the world code needs, driven
// time, a private working directory, and everything torn down afterwards.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/clock.h"
#include "engine/mmanager.h"
#include "engine/timertask.h"
#include "support/testutil.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/scenegraph.h"

namespace velqtest {

class WorldFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::make_unique<TempDir>();
        CClock::Drive(10000, 1000000);
        CGlobalTimerTask::dT = 0.0f;
        new GameWorld();
        new SceneGraph();
        new ModelCache();
    }

    void TearDown() override
    {
        // The tree and the lists hold the objects; freeing them lets the collector
        // delete every object the test made.
        if (SceneGraph::Exists())
            delete &SceneGraph::GetSingleton();
        if (GameWorld::Exists())
            delete &GameWorld::GetSingleton();
        if (ModelCache::Exists())
            delete &ModelCache::GetSingleton();
        IMMObject::CollectGarbage();
        CGlobalTimerTask::dT = 0.0f;
        CClock::Release();
        dir.reset();
    }

    GameWorld& World() { return GameWorld::GetSingleton(); }
    SceneGraphNode* Root() { return SceneGraph::GetSingleton().GetRoot(); }

    std::unique_ptr<TempDir> dir;
};

}  // namespace velqtest
