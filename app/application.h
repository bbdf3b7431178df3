// The application object: builds the engine and the game around the kernel and
// tears them down in order.
#pragma once

#include "engine/inputtask.h"
#include "engine/kernel.h"
#include "engine/options.h"
#include "engine/singleton.h"
#include "engine/timertask.h"
#include "engine/videotask.h"

class CApplication : public CSingleton<CApplication> {
public:
    // The whole life of the engine: start-up, kernel loop, shutdown.
    void Run(const Options& options);

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
