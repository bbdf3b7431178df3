// Kernel ordering, suspension, removal and kill-all, with recording tasks.
#include "engine/kernel.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/testutil.h"

namespace {

std::vector<std::string> events;

class RecordingTask : public ITask {
public:
    RecordingTask(std::string n, int32_t p, bool startOk = true) : name(std::move(n)), startOk(startOk)
    {
        priority = p;
    }
    bool Start() override
    {
        events.push_back("start " + name);
        return startOk;
    }
    void Update() override
    {
        events.push_back("update " + name);
        if (onUpdate)
            onUpdate();
    }
    void Stop() override { events.push_back("stop " + name); }
    void OnSuspend() override { events.push_back("suspend " + name); }
    void OnResume() override { events.push_back("resume " + name); }
    unsigned size() override { return sizeof(*this); }

    std::string name;
    bool startOk;
    std::function<void()> onUpdate;
};

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        events.clear();
        kernel = new CKernel();
    }
    void TearDown() override
    {
        delete kernel;
        IMMObject::CollectGarbage();
    }

    CMMPointer<ITask> Add(RecordingTask* t)
    {
        CMMPointer<ITask> p(t);
        kernel->AddTask(p);
        return p;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (auto& t : kernel->GetTaskList())
            names.push_back(static_cast<RecordingTask*>(static_cast<ITask*>(t))->name);
        return names;
    }
    // Runs exactly one pass: a task behind all others kills everyone.
    void RunOnePass()
    {
        auto* killer = new RecordingTask("killer", 1000000);
        killer->onUpdate = [this] { kernel->KillAllTasks(); };
        Add(killer);
        events.clear();
        kernel->Execute();
    }

    velqtest::CaptureCout quiet;
    CKernel* kernel = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(KernelTest, EqualPrioritiesKeepInsertionOrderAndLowerPrioritiesRunFirst)
{
    Add(new RecordingTask("render", 5000));
    Add(new RecordingTask("a500", 500));
    Add(new RecordingTask("b500", 500));
    Add(new RecordingTask("late5000", 5000));
    Add(new RecordingTask("timer", 10));
    Add(new RecordingTask("c500", 500));
    EXPECT_EQ(Names(), (Strings{"timer", "a500", "b500", "c500", "render", "late5000"}));
}

TEST_F(KernelTest, KillAllFromMiddleTaskStopsEveryoneInPriorityOrder)
{
    Add(new RecordingTask("timer", 10));
    auto* input = new RecordingTask("input", 500);
    input->onUpdate = [this] { kernel->KillAllTasks(); };
    Add(input);
    Add(new RecordingTask("enemy", 510));
    Add(new RecordingTask("video", 10000));
    events.clear();
    EXPECT_EQ(kernel->Execute(), 0);
    EXPECT_EQ(events, (Strings{"update timer", "update input", "stop timer", "stop input", "stop enemy",
                               "stop video"}));
    EXPECT_TRUE(kernel->GetTaskList().empty());
}

TEST_F(KernelTest, RefusedStartsAndOperationsOnTasksNotInTheSearchedListChangeNothing)
{
    CMMPointer<ITask> refused(new RecordingTask("refused", 50, false));
    EXPECT_FALSE(kernel->AddTask(refused));
    EXPECT_TRUE(kernel->GetTaskList().empty());
    CMMPointer<ITask> outsider(new RecordingTask("outsider", 5));
    Add(new RecordingTask("a", 10));
    events.clear();
    kernel->RemoveTask(outsider);
    kernel->SuspendTask(outsider);
    kernel->ResumeTask(outsider);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(outsider->canKill);

    CMMPointer<ITask> running = Add(new RecordingTask("running", 20));
    events.clear();
    kernel->ResumeTask(running);  // not paused
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(Names(), (Strings{"a", "running"}));
    RunOnePass();
    EXPECT_EQ(events, (Strings{"update a", "update running", "update killer", "stop a", "stop running", "stop killer"}));
}

TEST_F(KernelTest, SuspendedTaskIsNeitherUpdatedNorStoppedAndResumesByPriority)
{
    Add(new RecordingTask("first", 10));
    CMMPointer<ITask> middle = Add(new RecordingTask("middle", 20));
    Add(new RecordingTask("last", 30));
    kernel->SuspendTask(middle);
    EXPECT_EQ(Names(), (Strings{"first", "last"}));
    EXPECT_EQ(kernel->GetPausedTaskList().size(), 1u);

    // A pass that kills all: the paused task is not stopped.
    RunOnePass();
    EXPECT_EQ(events, (Strings{"update first", "update last", "update killer", "stop first", "stop last",
                               "stop killer"}));

    Add(new RecordingTask("low", 5));
    Add(new RecordingTask("high", 40));
    events.clear();
    kernel->ResumeTask(middle);
    EXPECT_EQ(events, (Strings{"resume middle"}));
    EXPECT_EQ(Names(), (Strings{"low", "middle", "high"}));
    EXPECT_TRUE(kernel->GetPausedTaskList().empty());
}

TEST_F(KernelTest, RemovedTaskIsStoppedAtTheEndOfThePassAfterAllUpdates)
{
    CMMPointer<ITask> victim = Add(new RecordingTask("victim", 30));
    auto* remover = new RecordingTask("remover", 20);
    remover->onUpdate = [this, &victim] { kernel->RemoveTask(victim); };
    Add(remover);
    RunOnePass();
    // The victim was marked before its turn, so it is not updated in this pass.
    EXPECT_EQ(events, (Strings{"update remover", "update killer", "stop remover", "stop victim",
                               "stop killer"}));
}

TEST_F(KernelTest, TaskMaySuspendItselfOrItsSuccessorDuringTheUpdatePass)
{
    CMMPointer<ITask> self;
    CMMPointer<ITask> next;
    auto* selfish = new RecordingTask("selfish", 10);
    self = selfish;
    selfish->onUpdate = [this, &self, &next] {
        kernel->SuspendTask(self);
        kernel->SuspendTask(next);
    };
    kernel->AddTask(self);
    next = Add(new RecordingTask("next", 20));
    Add(new RecordingTask("after", 30));
    RunOnePass();
    EXPECT_EQ(events, (Strings{"update selfish", "suspend selfish", "suspend next", "update after",
                               "update killer", "stop after", "stop killer"}));
    EXPECT_EQ(kernel->GetPausedTaskList().size(), 2u);
}

TEST_F(KernelTest, TaskAddedDuringThePassRunsInItOnlyWhenBehindTheRunningTask)
{
    auto* spawner = new RecordingTask("spawner", 100);
    spawner->onUpdate = [this, spawner] {
        spawner->onUpdate = nullptr;
        Add(new RecordingTask("behind", 100));
        Add(new RecordingTask("ahead", 50));
    };
    Add(spawner);
    RunOnePass();
    EXPECT_EQ(events, (Strings{"update spawner", "start behind", "start ahead", "update behind", "update killer",
                               "stop ahead", "stop spawner", "stop behind", "stop killer"}));
}

TEST_F(KernelTest, ObjectReleasedDuringAPassLivesUntilThePassCollects)
{
    struct Probe : IMMObject {
        explicit Probe(bool* flag) : deleted(flag) {}
        ~Probe() override { *deleted = true; }
        unsigned size() override { return sizeof(*this); }
        bool* deleted;
    };
    bool deleted = false;
    bool aliveInLaterTask = false;
    auto* holder = new CMMPointer<Probe>(new Probe(&deleted));
    auto* releaser = new RecordingTask("releaser", 10);
    releaser->onUpdate = [holder] { *holder = nullptr; };
    auto* observer = new RecordingTask("observer", 20);
    observer->onUpdate = [&] { aliveInLaterTask = !deleted; };
    Add(releaser);
    Add(observer);
    RunOnePass();
    EXPECT_TRUE(aliveInLaterTask);
    EXPECT_TRUE(deleted);
    delete holder;
}

TEST_F(KernelTest, StackTaskIsNeverFreedByTheCollector)
{
    RecordingTask local("local", 10);
    EXPECT_FALSE(local.IsHeapAllocated());
    {
        CMMPointer<ITask> p(&local);
        kernel->AddTask(p);
    }
    RunOnePass();
    EXPECT_EQ(events.back(), "stop killer");
    EXPECT_EQ(local.name, "local");  // still a valid object after collection
    EXPECT_EQ(local.GetRefCount(), 0);
}

}  // namespace
