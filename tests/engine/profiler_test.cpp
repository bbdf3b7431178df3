// SPDX-License-Identifier: GPL-3.0-or-later
// Profiler nesting, shares and running figures, driven by the engine clock.
#include "engine/profiler.h"

#include "engine/clock.h"
#include "engine/log.h"
#include "support/testutil.h"

namespace {

struct Line { float min, avg, max, time; int calls, depth; };

struct Recorder : IProfilerOutputHandler {
    void BeginOutput(float t) override { total = t, lines.clear(); }
    void Sample(float mn, float avg, float mx, float t, int calls, std::string name, int depth) override
    {
        lines[name] = {mn, avg, mx, t, calls, depth};
    }
    void EndOutput() override { ended = true; }
    float total = -1;
    bool ended = false;
    std::map<std::string, Line> lines;
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
    static void Frame()
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

TEST_F(ProfilerTest, NestedRegionsReportOwnTimeShareDepthAndRunningFigures)
{
    Frame();
    CProfileSample::Output();
    EXPECT_NEAR(recorder.total, 0.020f, 1e-6);
    EXPECT_TRUE(recorder.ended);
    ASSERT_EQ(recorder.lines.size(), 3u);
    const struct { const char* name; float share, time; int depth; } want[] = {
        {"Kernel task loop", 75, 0.015f, 0}, {"Task", 15, 0.003f, 1}, {"Inner", 10, 0.002f, 2}};
    for (const auto& w : want) {
        const Line& l = recorder.lines[w.name];
        EXPECT_NEAR(l.avg, w.share, 1e-3) << w.name;
        EXPECT_EQ(std::make_tuple(l.min, l.max, l.depth, l.calls), std::make_tuple(l.avg, l.avg, w.depth, 1)) << w.name;
        EXPECT_NEAR(l.time, w.time, 1e-5) << w.name;
    }
    // Next period: three calls summed; calls restart, average, min and max go on.
    {
        CProfileSample outer("Kernel task loop");
        for (int i = 0; i < 3; ++i) {
            CProfileSample s("Task");
            CClock::Advance(2);
        }
        CClock::Advance(4);
    }
    CProfileSample::Output();
    const Line& task = recorder.lines["Task"];
    EXPECT_EQ(task.calls, 3);
    EXPECT_NEAR(task.min, 15.0f, 1e-3);
    EXPECT_NEAR(task.max, 60.0f, 1e-3);
    EXPECT_NEAR(task.avg, 37.5f, 1e-3);

    CProfileSample::ResetSample("Task");  // min and max of that slot only
    CProfileSample::ResetSample("No such region");
    EXPECT_EQ(std::make_tuple(CProfileSample::samples[1].minPc, CProfileSample::samples[1].dataCount),
              std::make_tuple(-1.0f, 0ul));
    EXPECT_NEAR(CProfileSample::samples[2].maxPc, 10.0f, 1e-3);
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
    velqtest::CaptureCout out;
    CProfileSample::Output();
    const std::string text = out.Text();
    handler.BeginOutput(0);  // no closed outer region
    const std::string empty = out.Text().substr(text.size());
    delete &CLog::GetSingleton();
    for (const char* part :
         {"0.020000 s", ": Kernel task loop\n", "15.0 : 15.0 : 15.0 : 0.0 :   1 :  Task\n", ":   Inner\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
    EXPECT_EQ(empty.find("inf"), std::string::npos) << empty;
}

TEST(ProfilerDeathTest, ReopeningAnOpenSampleOutputWithoutHandlerAndTooManySlotsStop)
{
    CProfileSample::ClearAllForTesting();
    EXPECT_DEATH({ CProfileSample a("same"); CProfileSample b("same"); },
                 "Tried to profile a sample which was already being profiled");
    EXPECT_DEATH(CProfileSample::Output(), "Profiler has no output handler set");
    EXPECT_DEATH({ for (int i = 0; i < 51; ++i) CProfileSample s("name " + std::to_string(i)); },
                 "Profiler has run out of sample slots!");
}

}  // namespace
