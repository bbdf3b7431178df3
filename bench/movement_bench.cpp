// SPDX-License-Identifier: GPL-3.0-or-later
// One frame of the movement task on level 4 with 1,000 shots in flight: through the
// scene graph's neighbourhood query, and with every mover testing every object.
// Run from the build directory: the level and its models are read from the Resources/
// tree generated there (cd build && ./bench/velq_movement_bench).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <iostream>
#include <set>
#include <streambuf>
#include <utility>

#include "engine/clock.h"
#include "engine/mmanager.h"
#include "engine/timertask.h"
#include "gameplay/gamerules.h"
#include "gameplay/movementtask.h"
#include "gameplay/projectiles.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/scenegraph.h"
#include "world/testtask.h"

namespace {

constexpr int kShots = 1000;
constexpr int kLevel = 4;

// Swallows the game's console lines.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

// A small fixed generator, so both runs set the same scene.
class Scatter {
public:
    float Next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>((state >> 40) & 0xFFFFFF) / static_cast<float>(0x1000000);
    }

private:
    uint64_t state = 7;
};

// The comparison's mover: it tests its move against every object of the scene graph
// instead of those of the region around it.
VOBList everything;

template <class Base>
class Scanning : public Base {
public:
    using Base::Base;
    unsigned size() override { return sizeof(*this); }
    bool TryMove() override
    {
        if (this->GetNode()) {
            everything.clear();
            SceneGraph::GetSingleton().GetRoot()->CollectObjects(everything);
            bool blocked = false;
            for (const CMMPointer<VOB>& o : everything) {
                if (this->CollidesWith(*o)) {
                    blocked = true;
                    break;
                }
            }
            // Nothing may stay held here once the level is gone.
            everything.clear();
            if (blocked)
                return false;
        }
        this->CommitMove();
        this->UpdateSceneGraph();
        return true;
    }
};

// Level 4 loaded by the game task, its enemies walking, and shots that bounce between
// its walls for ever.
class Level {
public:
    explicit Level(bool scan) : scanAll(scan), saved(std::cout.rdbuf(&sink))
    {
        CClock::Drive(10000, 0);
        new GameWorld();
        GameWorld::GetSingleton().SetRules(&rules);
        new SceneGraph();
        new ModelCache();
        game.Start();
        GameWorld::GetSingleton().SetLevel(kLevel);
        game.Update();
        CGlobalTimerTask::dT = 1.0f / 60.0f;

        GameWorld& world = GameWorld::GetSingleton();
        for (const CMMPointer<VOB>& o : world.GetAllObjects()) {
            if (o->GetType() == "map.wall")
                walls.insert({static_cast<int>(o->GetX()), static_cast<int>(o->GetY())});
        }
        for (const CMMPointer<Enemy>& e : world.GetEnemies()) {
            loaded = loaded && e->GetModel().IsLoaded();
            Enemy* walker = e;
            if (scanAll) {
                // The same enemy, but one that scans.
                walker = new Scanning<Enemy>();
                world.AddEnemy(walker);
                Put(walker, e->GetX(), e->GetY());
                world.RemoveEnemy(e);
                e->Kill();
            }
            const float dx = scatter.Next() * 2.0f - 1.0f;
            walker->SetMoveDirection(dx, 1.0f - std::abs(dx), 0.0f);
        }
        TopUp();
    }

    ~Level()
    {
        GameWorld::GetSingleton().DetachFromSceneGraph();
        delete &SceneGraph::GetSingleton();
        delete &GameWorld::GetSingleton();
        delete &ModelCache::GetSingleton();
        IMMObject::CollectGarbage();
        CClock::Release();
        std::cout.rdbuf(saved);
    }

    // Shots that hit the player are gone; new ones take their place between frames.
    void TopUp()
    {
        GameWorld& world = GameWorld::GetSingleton();
        int flying = static_cast<int>(world.GetMovers().size() - world.GetEnemies().size());
        while (flying < kShots) {
            const float x = 1.0f + scatter.Next() * 62.0f;
            const float y = 1.0f + scatter.Next() * 62.0f;
            const float dx = scatter.Next() * 2.0f - 1.0f;
            if (walls.count({static_cast<int>(x), static_cast<int>(y)}))
                continue;
            const char* type = "projectile.lasermg";
            CProjectile* shot = scanAll ? new Scanning<CLaserMGProjectile>(type, "enemy", 0, 0, 0)
                                        : new CLaserMGProjectile(type, "enemy", 0, 0, 0);
            shot->SetMoveDirection(dx, (scatter.Next() < 0.5f ? -1.0f : 1.0f) * (1.0f - std::abs(dx)), 0.0f);
            shot->SetSpeed(6.0f);
            shot->SetMaxAge(1e9f);
            world.AddMover(shot);
            Put(shot, x, y);
            ++flying;
        }
    }

    bool ModelsLoaded() const { return loaded; }

    CMovementTask task;

private:
    static void Put(VOB* o, float x, float y)
    {
        o->SetNextPosition(x, y, 1.0f);
        o->CommitMove();
        SceneGraph::GetSingleton().GetRoot()->Insert(o);
    }

    bool scanAll;
    bool loaded = true;
    NullBuffer sink;
    std::streambuf* saved;
    CGameRules rules;
    TestTask game;
    Scatter scatter;
    std::set<std::pair<int, int>> walls;
};

void Frame(benchmark::State& state, bool scan)
{
    Level level(scan);
    if (!level.ModelsLoaded()) {
        state.SkipWithError("no enemy model: run from the build directory, where Resources/ is generated");
        return;
    }
    for (auto _ : state) {
        level.task.Update();
        state.PauseTiming();
        IMMObject::CollectGarbage();
        level.TopUp();
        state.ResumeTiming();
    }
    state.counters["movers"] = static_cast<double>(GameWorld::GetSingleton().GetMovers().size());
}

void MovementFrameThroughSceneGraph(benchmark::State& state) { Frame(state, false); }
void MovementFrameScanningEveryObject(benchmark::State& state) { Frame(state, true); }

}  // namespace

BENCHMARK(MovementFrameThroughSceneGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(MovementFrameScanningEveryObject)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
