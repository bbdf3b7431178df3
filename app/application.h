// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: builds the engine and the game around the kernel and
// tears them down in order.
#pragma once

#include "engine/inputtask.h"
#include "engine/kernel.h"
#include "engine/options.h"
#include "engine/settings.h"
#include "engine/singleton.h"
#include "engine/timertask.h"
#include "engine/videotask.h"

class CApplication : public CSingleton<CApplication> {
public:
    // The whole life of the engine: start-up, kernel loop, shutdown.
    // Returns the exit code: 0, or 1 when no window opens, a recording could not be
    // written or a replay parted from its recording.
    int Run(const Options& options);
    // Registers the game's settings (sound, volumes, bindings) next to the engine's and
    // reads the settings file and the command line's lines into them; reports two
    // actions bound to one key. The settings manager must exist.
    static void ReadSettings(const Options& options);
    // Registers the game's settings next to the engine's, as ReadSettings does first.
    static void RegisterSettings(CSettingsManager& settings);
    static int sound;  // 0: play silently, without an audio device

private:
    // Frees the singletons Run made, in the order the shutdown needs.
    void Shutdown();

    // Released in reverse order when the application goes: movement first, video last.
    CMMPointer<CVideoTask> videoTask;
    CMMPointer<CGlobalTimerTask> globalTimer;
    CMMPointer<CInputTask> inputTask;
    CMMPointer<ITask> renderTask;
    CMMPointer<ITask> handleInputTask;
    CMMPointer<ITask> enemyAITask;
    CMMPointer<ITask> towerAITask;
    CMMPointer<ITask> movementTask;
};
