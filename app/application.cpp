// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shutdown order of singletons and tasks.
#include "app/application.h"

#include <SDL.h>

#include <iostream>
#include <vector>

#include "engine/clock.h"
#include "engine/frametimes.h"
#include "engine/log.h"
#include "engine/profiler.h"
#include "engine/recording.h"
#include "engine/settings.h"
#include "gameplay/bindings.h"
#include "gameplay/displaytoggles.h"
#include "gameplay/enemyai.h"
#include "gameplay/gamerules.h"
#include "gameplay/handleinputtask.h"
#include "gameplay/menu/menu.h"
#include "gameplay/movementtask.h"
#include "gameplay/towerai.h"
#include "render/rendertask.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/scenegraph.h"
#include "world/soundmanager.h"
#include "world/statehash.h"
#include "world/testtask.h"

namespace {
// Prints the task's line, then creates the task, keeps it in its field and starts it
// in the kernel. A task whose start fails is not in the loop; false then.
template <class T, class Field>
bool AddTask(const char* message, CMMPointer<Field>& field, int32_t priority)
{
    std::cout << message << "\n";
    T* task = new T();
    field = task;
    task->priority = priority;
    CMMPointer<ITask> added(task);
    return CKernel::GetSingleton().AddTask(added);
}
}  // namespace

int CApplication::Run(const Options& options)
{
    std::cout << "VELQ started: Creating Log Files\n";
    new CLog();
    if (!CLog::GetSingleton().Init(options.logDir))
        std::cerr << "VELQ: cannot write the logs applog.txt, clntlog.txt and srvrlog.txt in "
                  << (options.logDir.empty() ? "the working directory" : options.logDir) << "\n";

    std::cout << "starting Settings Manager and Kernel... ";
    new CSettingsManager();
    new GameWorld();
    // The actors' weapons and the movers' collisions; the rules outlive every level.
    CGameRules rules;
    GameWorld::GetSingleton().SetRules(&rules);
    new SceneGraph();
    new ModelCache();
    new CKernel();
    std::cout << "done.\n";

    // The clock is read from here on: a recording starts now (SDL's ticks are set
    // up by the kernel), a replay has set the clock already.
    if (!options.record.empty()) {
        const std::string error = CGameRecording::StartRecording(options.record);
        if (!error.empty()) {
            std::cerr << "VELQ: cannot record: " << error << "\n";
            Shutdown();
            return 1;
        }
    }
    CGameRecording::stateHash = [] { return GameStateHash(GameWorld::GetSingleton(), CClock::GetTicks()); };
    // The frame-time record sets each frame against the shots in flight.
    CFrameTimes::load = [movers = std::vector<CMMPointer<VMOB>>()]() mutable {
        GameWorld::GetSingleton().GetMovers(movers);
        int shots = 0;
        for (const CMMPointer<VMOB>& m : movers)
            shots += m->GetType().compare(0, 10, "projectile") == 0 ? 1 : 0;
        movers.clear();
        return shots;
    };

    CSettingsManager& settings = CSettingsManager::GetSingleton();
    ReadSettings(options);
    if (CGameRecording::IsPlayingBack()) {
        // A replayed game reads the cursor against the size it was recorded at (the
        // frame's, or an older file's window), and its keys as they were bound then
        // (the game's own in a file without them).
        CInputTask::cursorWidth = CGameRecording::RecordedWidth();
        CInputTask::cursorHeight = CGameRecording::RecordedHeight();
        CBindings::Reset();
        DisplayToggles::Reset();
        for (const std::string& line : CGameRecording::RecordedSettings())
            settings.ParseSetting(line, "recording");
    } else if (CGameRecording::GetMode() == CGameRecording::Mode::kRecord) {
        std::vector<std::string> lines = CBindings::SettingsLines();
        for (const std::string& line : DisplayToggles::SettingsLines())
            lines.push_back(line);
        CGameRecording::SetSettings(lines);
    }

    // The menu over the pause writes what the player changes back into the settings
    // file; a replay changes what the recorded player changed, but writes nothing.
    new CMenu();
    CMenu::GetSingleton().SetSaving(!CGameRecording::IsPlayingBack());

    // Ends the process when the device cannot be opened; a silent manager loads nothing,
    // and the sound key then changes no mixer volumes (there are no channels).
    new SoundManager(sound != 0);
    SoundManager::GetSingleton().ApplyVolumes();  // before the music starts with the game task

    // Tasks start in this order (the window first); they run by priority. Without a
    // window nothing can be seen, nor any key reach the game to end it.
    if (!AddTask<CVideoTask>("Add Video Task...", videoTask, 10000)) {
        settings.ReportUnknown();
        std::cerr << "VELQ: there is no window to play in; the game ends\n";
        CGameRecording::Finish();
        CGameRecording::stateHash = nullptr;
        SoundManager::GetSingleton().Close();
        Shutdown();
        return 1;
    }
    AddTask<CInputTask>("Add Input Task...", inputTask, 20);
    AddTask<CGlobalTimerTask>("Add Timer Task...", globalTimer, 10);

    // The game task lives on this stack frame for the whole loop: the memory
    // manager never frees it.
    std::cout << "Add Game Task...\n";
    TestTask gameTask;
    gameTask.priority = 100;
    CMMPointer<ITask> gameTaskPtr(&gameTask);
    CKernel::GetSingleton().AddTask(gameTaskPtr);

    AddTask<CRenderTask>("Add Render Task...", renderTask, 5000);
    AddTask<CHandleInputTask>("Add Inpute Handle Task...", handleInputTask, 500);
    AddTask<CEnemyAITask>("Add Enemy AI Task...", enemyAITask, 510);
    AddTask<CTowerAITask>("Add Tower AI Task...", towerAITask, 520);
    AddTask<CMovementTask>("Add Movement Task...", movementTask, 530);

    CProfileLogHandler profileLogHandler;
    CProfileSample::outputHandler = &profileLogHandler;

    // Every part of the program has registered its settings by now.
    settings.ReportUnknown();

    std::cout << "Starting Kernel Loop from VELQ\n";
    CKernel::GetSingleton().Execute();
    const int exitCode = CGameRecording::Finish();
    CGameRecording::stateHash = nullptr;
    CFrameTimes::load = nullptr;

    SoundManager::GetSingleton().Close();
    Shutdown();
    CProfileSample::outputHandler = nullptr;
    return exitCode;
}

int CApplication::sound = 1;

void CApplication::RegisterSettings(CSettingsManager& settings)
{
    settings.RegisterVariable("sound", CMMPointer<BaseDator>(new Dator<int>(sound, 0, 1)));
    settings.RegisterVariable("fullResolution", CMMPointer<BaseDator>(new Dator<int>(CRenderTask::fullResolution, 0, 1)));
    settings.RegisterVariable("effects",
                              CMMPointer<BaseDator>(new ChoiceDator(CRenderTask::effects, {"full", "light"})));
    CHandleInputTask::RegisterSettings(settings);
}

void CApplication::ReadSettings(const Options& options)
{
    CSettingsManager& settings = CSettingsManager::GetSingleton();
    RegisterSettings(settings);
    settings.ParseFile(options.settings);
    // Each argument is one more settings line, applied after the file.
    for (const std::string& line : options.settingsLines)
        settings.ParseSetting(line, "command line");
    for (const std::string& clash : CBindings::Clashes())
        settings.Warn(clash);
}

void CApplication::Shutdown()
{
    SDL_Quit();
    delete &GameWorld::GetSingleton();
    delete &SceneGraph::GetSingleton();
    delete &CSettingsManager::GetSingleton();
    delete &CKernel::GetSingleton();
    if (CMenu::Exists())
        delete &CMenu::GetSingleton();
}
