// SPDX-License-Identifier: GPL-3.0-or-later
// The kernel loop: update pass, removal pass, collection, once per frame.
#include "engine/kernel.h"

#include <SDL.h>

#include <algorithm>
#include <csignal>
#include <iostream>

#include "engine/clock.h"
#include "engine/pause.h"
#include "engine/profiler.h"
#include "engine/recording.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;
}

CKernel::CKernel() { SDL_Init(0); }

CKernel::~CKernel()
{
    SDL_Quit();
    suspendedTaskList.clear();
    taskList.clear();
}

int CKernel::maxFps = 0;

void CKernel::RequestStop() { stopRequested = 1; }

int CKernel::Execute()
{
    while (!taskList.empty()) {
        CClock::BeginFrame();
        // A replay that has gone past the recorded game's end ends this one.
        const bool recordedGameOver = !CGameRecording::BeginFrame();
        const uint32_t frameStart = CClock::GetOutsideTicks();
        {
            PROFILE("Kernel task loop");
            if (stopRequested || recordedGameOver) {
                stopRequested = 0;
                KillAllTasks();
            }

            // The walk stays on the running task while it updates, so a task inserted
            // right behind it is updated in this pass; when the running task takes
            // itself out (suspend), the walk has already been moved on for it.
            for (auto it = taskList.begin(); it != taskList.end();) {
                CMMPointer<ITask> t = *it;
                walk = &it;
                walkMoved = false;
                if (!t->canKill)
                    t->Update();
                if (!walkMoved)
                    ++it;
            }

            // Killed tasks stop in priority order, after every update of the pass.
            for (auto it = taskList.begin(); it != taskList.end();) {
                CMMPointer<ITask> t = *it;
                walk = &it;
                walkMoved = false;
                if (t->canKill) {
                    t->Stop();
                    if (!walkMoved)
                        it = taskList.erase(it);
                } else if (!walkMoved) {
                    ++it;
                }
            }
            walk = nullptr;

            // Objects released during the pass stay valid until here.
            IMMObject::CollectGarbage();
        }
        // The state the frame left, for a recorded or replayed game.
        CGameRecording::EndFrame();
        // Console lines leave once per frame, not once per line.
        std::cout.flush();
        // The cap waits out the rest of the frame instead of starting the next one.
        // A paused game draws the same frame over and over: a few a second will do.
        const int fps = CPause::IsOn() ? (maxFps > 0 ? std::min(maxFps, CPause::kFramesPerSecond) : CPause::kFramesPerSecond)
                                       : maxFps;
        if (fps > 0)
            CClock::WaitUntil(frameStart + static_cast<uint32_t>(1000 / std::min(fps, 1000)));
    }
    return 0;
}

void CKernel::EraseFromRunning(const CMMPointer<ITask>& t)
{
    for (auto it = taskList.begin(); it != taskList.end();) {
        if (*it != t) {
            ++it;
            continue;
        }
        bool onWalk = walk && *walk == it;
        it = taskList.erase(it);
        // The walk stood on this entry: it goes on from the one after.
        if (onWalk) {
            *walk = it;
            walkMoved = true;
        }
    }
}

void CKernel::InsertByPriority(CMMPointer<ITask>& t)
{
    auto it = taskList.begin();
    while (it != taskList.end() && (*it)->priority <= t->priority)
        ++it;
    taskList.insert(it, t);
}

bool CKernel::AddTask(CMMPointer<ITask>& t)
{
    if (!t->Start())
        return false;
    InsertByPriority(t);
    return true;
}

void CKernel::SuspendTask(CMMPointer<ITask>& t)
{
    if (std::find(taskList.begin(), taskList.end(), t) == taskList.end())
        return;
    t->OnSuspend();
    CMMPointer<ITask> keep = t;  // the list may hold the only reference
    EraseFromRunning(keep);
    suspendedTaskList.push_back(keep);
}

void CKernel::ResumeTask(CMMPointer<ITask>& t)
{
    if (std::find(suspendedTaskList.begin(), suspendedTaskList.end(), t) == suspendedTaskList.end())
        return;
    t->OnResume();
    CMMPointer<ITask> keep = t;
    suspendedTaskList.remove(keep);
    InsertByPriority(keep);
}

void CKernel::RemoveTask(CMMPointer<ITask>& t)
{
    if (std::find(taskList.begin(), taskList.end(), t) != taskList.end())
        t->canKill = true;
}

void CKernel::KillAllTasks()
{
    for (auto& entry : taskList)
        entry->canKill = true;
}
