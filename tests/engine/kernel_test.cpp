// SPDX-License-Identifier: GPL-3.0-or-later
// Kernel ordering, suspension, removal and kill-all, with tasks that log what is done to them.
#include "engine/kernel.h"

#include "support/testutil.h"

namespace {

using Strings = std::vector<std::string>;
Strings events;

struct RecordingTask : ITask {
    RecordingTask(std::string n, int32_t p, std::function<void()> u = {}, bool ok = true)
        : name(std::move(n)), startOk(ok), onUpdate(std::move(u))
    {
        priority = p;
    }
    bool Start() override { return events.push_back("start " + name), startOk; }
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
public:  // the scenario table's set-ups reach in from outside
    void SetUp() override { events.clear(), kernel = new CKernel(); }
    void TearDown() override
    {
        tasks.clear();
        delete kernel;
        IMMObject::CollectGarbage();
    }
    CMMPointer<ITask> Add(const std::string& name, int32_t p, std::function<void()> u = {})
    {
        return tasks[name] = Add(new RecordingTask(name, p, std::move(u)));
    }
    CMMPointer<ITask> Add(RecordingTask* t)
    {
        CMMPointer<ITask> p(t);
        kernel->AddTask(p);
        return p;
    }
    Strings Names() const
    {
        Strings names;
        for (auto& t : kernel->GetTaskList())
            names.push_back(static_cast<RecordingTask*>(static_cast<ITask*>(t))->name);
        return names;
    }
    // Exactly one pass: a task behind all others kills everyone.
    void RunOnePass()
    {
        Add("killer", 1000000, [this] { kernel->KillAllTasks(); });
        events.clear();
        EXPECT_EQ(kernel->Execute(), 0);
    }
    velqtest::CaptureCout quiet;
    CKernel* kernel = nullptr;
    std::map<std::string, CMMPointer<ITask>> tasks;
};

TEST_F(KernelTest, TasksRunByPriorityThenInsertionAndASuspendedOneSkipsThePassAndResumesByPriority)
{
    for (auto [name, p] : {std::pair{"render", 5000}, {"a500", 500}, {"b500", 500}, {"timer", 10}, {"c500", 500}})
        Add(name, p);
    EXPECT_EQ(Names(), (Strings{"timer", "a500", "b500", "c500", "render"}));
    kernel->SuspendTask(tasks["b500"]);
    EXPECT_EQ(kernel->GetSuspendedTaskList().size(), 1u);
    RunOnePass();
    EXPECT_EQ(events, (Strings{"update timer", "update a500", "update c500", "update render", "update killer",
                               "stop timer", "stop a500", "stop c500", "stop render", "stop killer"}));
    Add("low", 5);
    Add("high", 40000);
    events.clear();
    kernel->ResumeTask(tasks["b500"]);
    EXPECT_EQ(events, (Strings{"resume b500"}));
    EXPECT_EQ(Names(), (Strings{"low", "b500", "high"}));
    EXPECT_TRUE(kernel->GetSuspendedTaskList().empty());
}

TEST_F(KernelTest, OnePassUpdatesAndStopsInPriorityOrderWhateverTheTasksDoToEachOther)
{
    const struct { const char* what; std::function<void(KernelTest&)> setUp; Strings events; } cases[] = {
        {"kill-all from a middle task stops everyone",
         [](KernelTest& t) {
             t.Add("timer", 10);
             t.Add("input", 500, [&t] { t.kernel->KillAllTasks(); });
             t.Add("video", 10000);
         },
         {"update timer", "update input", "stop timer", "stop input", "stop video", "stop killer"}},
        {"a task removed before its turn is not updated, stopped at the end of the pass",
         [](KernelTest& t) {
             t.Add("victim", 30);
             t.Add("remover", 20, [&t] { t.kernel->RemoveTask(t.tasks["victim"]); });
         },
         {"update remover", "update killer", "stop remover", "stop victim", "stop killer"}},
        {"a task suspends itself and its successor: neither runs nor stops",
         [](KernelTest& t) {
             t.Add("selfish", 10, [&t] { t.kernel->SuspendTask(t.tasks["selfish"]), t.kernel->SuspendTask(t.tasks["next"]); });
             t.Add("next", 20);
             t.Add("after", 30);
         },
         {"update selfish", "suspend selfish", "suspend next", "update after", "update killer", "stop after",
          "stop killer"}},
        {"a task added in the pass runs in it only when behind the running one",
         [](KernelTest& t) {
             t.Add("spawner", 100, [&t] {
                 static_cast<RecordingTask*>(static_cast<ITask*>(t.tasks["spawner"]))->onUpdate = nullptr;
                 t.Add("behind", 100);
                 t.Add("ahead", 50);
             });
         },
         {"update spawner", "start behind", "start ahead", "update behind", "update killer", "stop ahead",
          "stop spawner", "stop behind", "stop killer"}},
        {"a refused start and operations on tasks not in the searched list change nothing",
         [](KernelTest& t) {
             CMMPointer<ITask> refused(new RecordingTask("refused", 50, {}, false)), outsider(new RecordingTask("outsider", 5));
             EXPECT_FALSE(t.kernel->AddTask(refused));
             t.Add("a", 10);
             t.kernel->RemoveTask(outsider);
             t.kernel->SuspendTask(outsider);
             t.kernel->ResumeTask(outsider);
             t.kernel->ResumeTask(t.tasks["a"]);  // not suspended
             EXPECT_EQ(events, (Strings{"start refused", "start a"}));
             EXPECT_FALSE(outsider->canKill);
         },
         {"update a", "update killer", "stop a", "stop killer"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.setUp(*this);
        RunOnePass();
        EXPECT_EQ(events, c.events);
        EXPECT_TRUE(kernel->GetTaskList().empty());
        TearDown();
        SetUp();
    }
}

TEST_F(KernelTest, ObjectReleasedInAPassLivesUntilItsEndAndAStackTaskIsNeverFreed)
{
    struct Probe : IMMObject {
        explicit Probe(bool* flag) : deleted(flag) {}
        ~Probe() override { *deleted = true; }
        unsigned size() override { return sizeof(*this); }
        bool* deleted;
    };
    bool deleted = false, aliveInLaterTask = false;
    auto* holder = new CMMPointer<Probe>(new Probe(&deleted));
    Add("releaser", 10, [holder] { *holder = nullptr; });
    Add("observer", 20, [&] { aliveInLaterTask = !deleted; });
    RecordingTask local("local", 30);
    EXPECT_FALSE(local.IsHeapAllocated());
    Add(&local);
    RunOnePass();
    EXPECT_EQ(std::make_tuple(aliveInLaterTask, deleted), std::make_tuple(true, true));
    delete holder;
    tasks.clear();
    IMMObject::CollectGarbage();
    EXPECT_EQ(std::make_tuple(local.name, local.GetRefCount()), std::make_tuple("local", 0))
        << "still a valid object after collection";
}

}  // namespace
