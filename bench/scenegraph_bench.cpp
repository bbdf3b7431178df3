// SPDX-License-Identifier: GPL-3.0-or-later
// One frame of movement through the scene graph, next to a brute-force neighbour scan.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <vector>

#include "engine/mmanager.h"
#include "engine/timertask.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"
#include "world/vob.h"

namespace {

constexpr float kRadius = VMOB::kMoveQueryRadius;

// A small fixed generator, so every run places the same objects.
class Scatter {
public:
    float Next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>((state >> 40) & 0xFFFFFF) / static_cast<float>(0x1000000);
    }

private:
    uint64_t state = 42;
};

// N movers spread over the field, registered and inserted like a level's objects.
class Field {
public:
    explicit Field(int n)
    {
        // The tree prints nothing here, but keep the console quiet all the same.
        saved = std::cout.rdbuf(sink.rdbuf());
        new GameWorld();
        new SceneGraph();
        Scatter s;
        movers.reserve(n);
        for (int i = 0; i < n; ++i) {
            VMOB* m = new VMOB("enemy", s.Next() * 2.0f - 1.0f, s.Next() * 2.0f - 1.0f, 0.0f);
            m->SetSpeed(0.5f);
            m->SetNextPosition(0.5f + s.Next() * 63.0f, 0.5f + s.Next() * 63.0f, 1.0f);
            m->CommitMove();
            GameWorld::GetSingleton().AddMover(m);
            SceneGraph::GetSingleton().GetRoot()->Insert(m);
            movers.push_back(m);
        }
        CGlobalTimerTask::dT = 1.0f / 60.0f;
    }

    ~Field()
    {
        movers.clear();
        delete &SceneGraph::GetSingleton();
        delete &GameWorld::GetSingleton();
        IMMObject::CollectGarbage();
        std::cout.rdbuf(saved);
    }

    std::vector<CMMPointer<VMOB>> movers;

private:
    std::ostringstream sink;
    std::streambuf* saved;
};

void MoveThroughSceneGraph(benchmark::State& state)
{
    Field field(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const CMMPointer<VMOB>& m : field.movers) {
            m->ComputeNextPosition();
            benchmark::DoNotOptimize(m->TryMove());
        }
    }
    state.counters["per_mover"] =
        benchmark::Counter(static_cast<double>(field.movers.size()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    // How many objects one query hands back on average: the region around a circle
    // that crosses a high split line is a large part of the field.
    VOBRefs region;
    for (const CMMPointer<VMOB>& m : field.movers)
        m->GetNode()->GetNearby(region, m, kRadius);
    state.counters["region"] = static_cast<double>(region.size()) / static_cast<double>(field.movers.size());
}

// The same frame with every mover testing every object within the radius.
void MoveWithBruteForceScan(benchmark::State& state)
{
    Field field(static_cast<int>(state.range(0)));
    std::vector<CMMPointer<VOB>> near;
    for (auto _ : state) {
        for (const CMMPointer<VMOB>& m : field.movers) {
            m->ComputeNextPosition();
            near.clear();
            for (const CMMPointer<VMOB>& o : field.movers) {
                const float dx = o->GetX() - m->GetX();
                const float dy = o->GetY() - m->GetY();
                if (std::sqrt(dx * dx + dy * dy) <= kRadius)
                    near.push_back(CMMPointer<VOB>(o));
            }
            bool blocked = false;
            for (const CMMPointer<VOB>& o : near) {
                if (m->CollidesWith(*o)) {
                    blocked = true;
                    break;
                }
            }
            if (!blocked)
                m->CommitMove();
            benchmark::DoNotOptimize(blocked);
        }
    }
    state.counters["per_mover"] =
        benchmark::Counter(static_cast<double>(field.movers.size()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(MoveThroughSceneGraph)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(MoveWithBruteForceScan)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
