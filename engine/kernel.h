// SPDX-License-Identifier: GPL-3.0-or-later
// The task kernel: one ordered list of tasks, run once per frame, then the
// killed tasks are stopped and the dead objects collected.
#pragma once

#include <cstdint>
#include <list>

#include "engine/mmanager.h"
#include "engine/singleton.h"

class ITask : public IMMObject {
public:
    ITask() : canKill(false), priority(5000) {}
    ~ITask() override {}

    // Called once when the task is added; false refuses the task.
    virtual bool Start() = 0;
    virtual void OnSuspend() {}
    virtual void Update() = 0;
    virtual void OnResume() {}
    // Called once when the kernel removes the task.
    virtual void Stop() = 0;

    bool canKill;
    int32_t priority;
};

class CKernel : public CSingleton<CKernel> {
public:
    CKernel();
    virtual ~CKernel();

    // Runs passes until no task is left; returns 0.
    int Execute();

    // Starts the task and inserts it by priority behind its equals; false, and no
    // change, when its Start refuses.
    bool AddTask(CMMPointer<ITask>& t);
    // A suspended task is neither updated nor stopped until it is resumed; it has
    // nothing to do with the game's pause.
    void SuspendTask(CMMPointer<ITask>& t);
    void ResumeTask(CMMPointer<ITask>& t);
    // Marks a running task; it is stopped and removed at the end of the pass.
    void RemoveTask(CMMPointer<ITask>& t);
    void KillAllTasks();

    // Asks the loop to kill every task at the start of its next pass (signals use it).
    static void RequestStop();

    // Frames per second at most (setting maxfps); 0 or less runs uncapped.
    static int maxFps;

    const std::list<CMMPointer<ITask>>& GetTaskList() const { return taskList; }
    const std::list<CMMPointer<ITask>>& GetSuspendedTaskList() const { return suspendedTaskList; }

private:
    void InsertByPriority(CMMPointer<ITask>& t);
    // Erases every entry of the task from the running list without breaking the pass's walk.
    void EraseFromRunning(const CMMPointer<ITask>& t);

    std::list<CMMPointer<ITask>> taskList;
    std::list<CMMPointer<ITask>> suspendedTaskList;
    // The walk of the current pass, standing on the entry being run; walkMoved
    // tells that the entry was erased and the walk already points past it.
    std::list<CMMPointer<ITask>>::iterator* walk = nullptr;
    bool walkMoved = false;
};
