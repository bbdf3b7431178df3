// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's cost against the number of projectiles alive: level 4 drawn by the
// render task into a real 800 x 600 window and shown, with 0, 100, 300 or 1,000 shots
// standing round the player as they do in a battle. Needs an X server and the
// generated Resources/ in the working directory: bench/draw.sh runs it under Xvfb.
#include <cstdlib>
#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <chrono>
#include <ctime>
#include <map>
#include <string>
#include <iostream>
#include <streambuf>

#include "engine/clock.h"
#include "engine/kernel.h"
#include "engine/log.h"
#include "engine/mmanager.h"
#include "engine/settings.h"
#include "engine/timertask.h"
#include "engine/videotask.h"
#include "gameplay/gamerules.h"
#include "gameplay/projectiles.h"
#include "render/rendertask.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/scenegraph.h"
#include "world/testtask.h"

namespace {

constexpr int kLevel = 4;
constexpr uint32_t kStepMs = 16;

// Swallows the game's console lines while it is set up and drawn; the benchmark's
// own table goes to the console between.
class Quiet {
public:
    Quiet() : saved(std::cout.rdbuf(&sink)) {}
    ~Quiet() { std::cout.rdbuf(saved); }

private:
    class NullBuffer : public std::streambuf {
    protected:
        int overflow(int c) override { return c; }
    };
    NullBuffer sink;
    std::streambuf* saved;
};

// A small fixed generator, so every run sets the same scene.
class Scatter {
public:
    float Next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>((state >> 40) & 0xFFFFFF) / static_cast<float>(0x1000000);
    }

private:
    uint64_t state = 11;
};

// The game's window, level 4 and the render task; built once, kept for every run.
class Scene {
public:
    static Scene& Get()
    {
        static Scene scene;
        return scene;
    }

    bool Ready() const { return ready; }

    // Exactly n shots alive, in a battle's mix: mostly the towers' laser shots with
    // their trails, some shotgun pellets, rockets and explosions.
    void Fill(int n)
    {
        Quiet quiet;
        GameWorld& world = GameWorld::GetSingleton();
        for (const CMMPointer<VMOB>& m : world.GetMovers()) {
            if (m->GetType().compare(0, 10, "projectile") == 0) {
                m->Kill();
                world.RemoveMover(m);
            }
        }
        IMMObject::CollectGarbage();
        const VOB& player = *world.GetActor(GameWorld::kPlayerSlot);
        Scatter scatter;
        for (int i = 0; i < n; ++i) {
            // Within 12 units of the player: on screen, where a battle is.
            const float angle = scatter.Next() * 6.2831853f;
            const float radius = 1.5f + scatter.Next() * 10.5f;
            CProjectile* shot;
            if (i % 20 == 3)
                shot = new CLaserShotgunProjectile("projectile.shotgun", "player", 0, 1, 0);
            else if (i % 50 == 7)
                shot = new CRocketProjectile("projectile.rocket", "player", 0, 1, 0);
            else
                shot = new CLaserMGProjectile("projectile.lasermg", "tower", 0, 1, 0);
            shot->SetNextPosition(player.GetX() + radius * std::cos(angle), player.GetY() + radius * std::sin(angle),
                                  1.0f);
            shot->CommitMove();
            world.AddMover(shot);
            SceneGraph::GetSingleton().GetRoot()->Insert(shot);
        }
    }

    // One frame as the game draws and shows it, finished before the clock stops.
    void Frame()
    {
        CClock::Advance(kStepMs);
        render->Update();
        video->Update();
        glFinish();
    }

private:
    Scene()
    {
        Quiet quiet;
        // The light's marker is a GLUT cube.
        int argc = 1;
        char name[] = "velq_draw_bench";
        char* argv[] = {name, nullptr};
        glutInit(&argc, argv);
        CClock::Drive(10000, 0);
        new CLog();
        CLog::GetSingleton().Init();
        new CSettingsManager();
        new GameWorld();
        GameWorld::GetSingleton().SetRules(&rules);
        new SceneGraph();
        new ModelCache();
        new CKernel();  // starts SDL
        // Full screen on the screen bench/draw.sh was given (VELQ_SCREEN), else an 800 x 600 window.
        CVideoTask::fullscreen = std::getenv("VELQ_SCREEN") ? 1 : 0;
        video = new CVideoTask();
        render = new CRenderTask();
        // The lighter effects where bench/draw.sh was given VELQ_EFFECTS=light.
        const char* effects = std::getenv("VELQ_EFFECTS");
        CRenderTask::effects = effects && std::string(effects) == "light" ? CRenderTask::kLightEffects
                                                                          : CRenderTask::kFullEffects;
        if (!video->Start() || !game.Start() || !render->Start()) {
            std::cerr << "draw bench: no window, no level or no GL extensions\n";
            return;
        }
        GameWorld::GetSingleton().SetLevel(kLevel);
        game.Update();
        CGlobalTimerTask::dT = kStepMs / 1000.0f;
        ready = GameWorld::GetSingleton().GetEnemyCount() > 0;
        if (!ready)
            std::cerr << "draw bench: level 4 has no enemies; is Resources/ here?\n";
    }

    CGameRules rules;
    TestTask game;
    CMMPointer<CVideoTask> video;
    CMMPointer<CRenderTask> render;
    bool ready = false;
};

double ProcessSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The scene with the run's shots, drawn until their trails have grown; null, with the
// run skipped, when there is no window or no level.
Scene* Prepared(benchmark::State& state)
{
    Scene& scene = Scene::Get();
    if (!scene.Ready()) {
        state.SkipWithError("no window or no level 4: run bench/draw.sh");
        return nullptr;
    }
    scene.Fill(static_cast<int>(state.range(0)));
    Quiet quiet;
    // The trails fill out over their first frames; measure them grown.
    for (int i = 0; i < 30; ++i)
        scene.Frame();
    return &scene;
}

void DrawFrame(benchmark::State& state)
{
    Scene* prepared = Prepared(state);
    if (!prepared)
        return;
    Scene& scene = *prepared;
    Quiet quiet;
    // The work of all threads (the driver rasterises on its own), which a busy machine
    // disturbs much less than the time on the wall.
    const double cpuBefore = ProcessSeconds();
    for (auto _ : state)
        scene.Frame();
    state.counters["all_threads_cpu_ms"] =
        benchmark::Counter((ProcessSeconds() - cpuBefore) * 1000.0, benchmark::Counter::kAvgIterations);
    state.counters["projectiles"] = static_cast<double>(state.range(0));
}

// Where a frame's time goes: every step of the render task is finished before the
// next begins (which costs a little overlap), and its time on the wall is added up.
class StepClock {
public:
    static void Done(const char* step)
    {
        glFinish();
        const auto now = std::chrono::steady_clock::now();
        totals[step] += std::chrono::duration<double, std::milli>(now - last).count();
        last = now;
    }
    static void Start() { last = std::chrono::steady_clock::now(); }
    static std::map<std::string, double> totals;

private:
    static std::chrono::steady_clock::time_point last;
};
std::map<std::string, double> StepClock::totals;
std::chrono::steady_clock::time_point StepClock::last;

void DrawSteps(benchmark::State& state)
{
    Scene* prepared = Prepared(state);
    if (!prepared)
        return;
    Scene& scene = *prepared;
    Quiet quiet;
    StepClock::totals.clear();
    CRenderTask::stepDone = StepClock::Done;
    for (auto _ : state) {
        StepClock::Start();
        scene.Frame();
        StepClock::Done("show");
    }
    CRenderTask::stepDone = nullptr;
    for (const auto& step : StepClock::totals)
        state.counters[step.first + "_ms"] = benchmark::Counter(step.second, benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(DrawSteps)->Arg(0)->Arg(300)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(DrawFrame)->Arg(0)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

BENCHMARK_MAIN();
