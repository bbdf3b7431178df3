// SPDX-License-Identifier: GPL-3.0-or-later
// A headless world for game-rule tests: the singletons the world code needs, driven
// time, a private working directory, and everything torn down afterwards. The actors
// carry stand-in weapons that never fire; nothing blocks.
#pragma once

#include "engine/clock.h"
#include "engine/mmanager.h"
#include "engine/timertask.h"
#include "support/testutil.h"
#include "world/gamerules.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/scenegraph.h"

namespace velqtest {

struct FakeWeapon : IWeapon {
    bool Fire() override { return false; }
    float GetRange() override { return 0.0f; }
};

struct FakeRules : IGameRules {
    IWeapon* MakeWeapon(WeaponKind, VOB*) override { return new FakeWeapon(); }
    bool CollidesWith(VMOB&, VOB&) override { return false; }
};

// A cell map: 64 lines of 64 empty cells unless the rows given say otherwise (row -> column -> cell).
inline std::string MakeMap(const std::map<int, std::map<int, char>>& cells, const std::string& lineEnd = "\n")
{
    std::string text;
    for (int r = 0; r < 64; ++r) {
        std::string line(64, '.');
        if (auto row = cells.find(r); row != cells.end())
            for (const auto& [c, ch] : row->second)
                line[c] = ch;
        text += line + lineEnd;
    }
    return text;
}

class WorldFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::make_unique<TempDir>();
        CClock::Drive(10000, 1000000);
        CGlobalTimerTask::dT = 0.0f;
        new GameWorld();
        GameWorld::GetSingleton().SetRules(Rules());
        new SceneGraph();
        new ModelCache();
    }

    // The tree and the lists hold the objects; freeing them lets the collector delete
    // every object the test made.
    void TearDown() override
    {
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

    // The weapons and collisions of this fixture's world.
    virtual IGameRules* Rules()
    {
        static FakeRules fake;
        return &fake;
    }

    // Commits o at (x, y, z) and inserts it at the root.
    template <typename T>
    T* Place(T* o, float x, float y, float z = 1.0f)
    {
        o->SetNextPosition(x, y, z);
        o->CommitMove();
        Root()->Insert(o);
        return o;
    }

    // Moves o to (x, y, z) at once, its place in the tree included.
    template <typename T>
    static void MoveTo(const T& o, float x, float y, float z = 0.0f)
    {
        o->SetNextPosition(x, y, z);
        o->CommitMove();
        o->UpdateSceneGraph();
    }

    GameWorld& World() { return GameWorld::GetSingleton(); }
    SceneGraphNode* Root() { return SceneGraph::GetSingleton().GetRoot(); }

    std::unique_ptr<TempDir> dir;
};

}  // namespace velqtest
