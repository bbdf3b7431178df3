// Profiler nesting, shares and running figures, driven by the engine clock.
#include "engine/profiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/log.h"
#include "support/testutil.h"

namespace {

struct Line {
    float min, avg, max, time;
    int calls;
    std::string name;
    int depth;
};

class Recorder : public IProfilerOutputHandler {
public:
    void BeginOutput(float t) override
    {
        total = t;
        lines.clear();
    }
    void Sample(float fMin, float fAvg, float fMax, float tAvg, int callCount, std::string name,
                int parentCount) override
    {
        lines.push_back({fMin, fAvg, fMax, tAvg, callCount, name, parentCount});
    }
    void EndOutput() override { ended = true; }
    const Line* Find(const std::string& name) const
    {
        for (const Line& l : lines)
            if (l.name == name)
                return &l;
        return nullptr;
    }
    float total = -1;
    bool ended = false;
    std::vector<Line> lines;
};

class ProfilerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CProfileSample::ClearAllForTesting();
        CProfileSample::outputHandler = &recorder;
        CClock::Drive(1000);
    }
    void TearDown() override
    {
        CProfileSample::ClearAllForTesting();
        CProfileSample::outputHandler = nullptr;
        CClock::Release();
    }
    // A 20 ms outer region holding 5 ms of "Task", 2 ms of them in "Inner".
    void Frame()
    {
        CProfileSample outer("Kernel task loop");
        CClock::Advance(3);
        {
            CProfileSample task("Task");
            CClock::Advance(2);
            {
                CProfileSample inner("Inner");
                CClock::Advance(2);
            }
            CClock::Advance(1);
        }
        CClock::Advance(12);
    }
    Recorder recorder;
};

TEST_F(ProfilerTest, NestedRegionReportsItsOwnTimeShareAndDepth)
{
    Frame();
    CProfileSample::Output();
    EXPECT_NEAR(recorder.total, 0.020f, 1e-6);
    ASSERT_EQ(recorder.lines.size(), 3u);
    EXPECT_EQ(recorder.lines[0].name, "Kernel task loop");  // first slot, first opened
    const Line* task = recorder.Find("Task");
    ASSERT_NE(task, nullptr);
    EXPECT_NEAR(task->time, 0.003f, 1e-5);
    EXPECT_NEAR(task->avg, 15.0f, 1e-3);
    EXPECT_EQ(task->min, task->avg);
    EXPECT_EQ(task->max, task->avg);
    EXPECT_EQ(task->depth, 1);
    EXPECT_EQ(recorder.Find("Inner")->depth, 2);
    EXPECT_EQ(recorder.Find("Kernel task loop")->depth, 0);
    EXPECT_NEAR(recorder.Find("Kernel task loop")->avg, 75.0f, 1e-3);  // 20 − 5 ms of its own
    EXPECT_TRUE(recorder.ended);
}

TEST_F(ProfilerTest, RepeatedRegionSumsCallsAndTimeAndTheRunningFiguresCarryOver)
{
    {
        CProfileSample outer("Kernel task loop");
        for (int i = 0; i < 3; ++i) {
            CProfileSample s("Task");
            CClock::Advance(2);
        }
        CClock::Advance(4);
    }
    CProfileSample::Output();
    const Line* task = recorder.Find("Task");
    EXPECT_EQ(task->calls, 3);
    EXPECT_NEAR(task->time, 0.006f, 1e-5);
    EXPECT_NEAR(task->avg, 60.0f, 1e-3);

    // Next period: calls and times restart; average, min and max go on.
    {
        CProfileSample outer("Kernel task loop");
        CProfileSample s("Task");
        CClock::Advance(1);
    }
    CProfileSample::Output();
    task = recorder.Find("Task");
    EXPECT_EQ(task->calls, 1);
    EXPECT_NEAR(task->time, 0.001f, 1e-5);
    EXPECT_NEAR(task->min, 60.0f, 1e-3);
    EXPECT_NEAR(task->max, 100.0f, 1e-3);  // 1 ms of a 1 ms outer region
    EXPECT_NEAR(task->avg, 80.0f, 1e-3);
}

TEST_F(ProfilerTest, ResetForgetsMinMaxOfNamedSlotOnlyAndUnknownNamesChangeNothing)
{
    Frame();
    CProfileSample::Output();
    CProfileSample::ResetSample("Task");
    CProfileSample::ResetSample("No such region");
    EXPECT_EQ(CProfileSample::samples[1].minPc, -1);
    EXPECT_EQ(CProfileSample::samples[1].dataCount, 0u);
    EXPECT_NEAR(CProfileSample::samples[1].averagePc, 15.0f, 1e-3);
    EXPECT_NEAR(CProfileSample::samples[2].minPc, 10.0f, 1e-3);
    CProfileSample::ResetAll();
    EXPECT_EQ(CProfileSample::samples[2].maxPc, -1);
}

TEST_F(ProfilerTest, LogHandlerIndentsByDepthEndsWithAnEmptyLineAndNeverPrintsAnEndlessRate)
{
    velqtest::TempDir dir;
    new CLog();
    CLog::GetSingleton().Init();
    CProfileLogHandler handler;
    CProfileSample::outputHandler = &handler;
    Frame();
    std::string text, empty;
    {
        velqtest::CaptureCout out;
        CProfileSample::Output();
        text = out.Text();
    }
    {
        velqtest::CaptureCout out;
        handler.BeginOutput(0);  // no closed outer region
        empty = out.Text();
    }
    delete &CLog::GetSingleton();
    EXPECT_NE(text.find("0.020000 s"), std::string::npos) << text;
    EXPECT_NE(text.find(": Kernel task loop\n"), std::string::npos) << text;
    EXPECT_NE(text.find(":  Task\n"), std::string::npos) << text;
    EXPECT_NE(text.find(":   Inner\n"), std::string::npos) << text;
    EXPECT_NE(text.find("15.0 : 15.0 : 15.0 : 0.0 :   1 :  Task"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
    EXPECT_EQ(empty.find("inf"), std::string::npos) << empty;
}

TEST(ProfilerDeathTest, ReopeningAnOpenSampleAndOutputWithoutHandlerStop)
{
    CProfileSample::ClearAllForTesting();
    EXPECT_DEATH(
        {
            CProfileSample a("same");
            CProfileSample b("same");
        },
        "Tried to profile a sample which was already being profiled");
    EXPECT_DEATH(CProfileSample::Output(), "Profiler has no output handler set");
    EXPECT_DEATH(
        {
            for (int i = 0; i < 51; ++i)
                CProfileSample s("name " + std::to_string(i));
        },
        "Profiler has run out of sample slots!");
}

}  // namespace
