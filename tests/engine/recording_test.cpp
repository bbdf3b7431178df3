// SPDX-License-Identifier: GPL-3.0-or-later
// A game recorded and replayed through the kernel, with the input task's and the
// generator's calls.
#include "engine/recording.h"

#include "engine/clock.h"
#include "engine/inputtask.h"
#include "engine/kernel.h"
#include "engine/random.h"
#include "support/testutil.h"

namespace {

// The game under test: each frame it reads its input as the input task does and
// reseeds the generator as the game does; after its last frame it quits, as the
// recorded game did.
struct Game : ITask {
    Game(int n, std::function<void(int)> f) : frames(n), frame(std::move(f)) {}
    bool Start() override { return true; }
    void Update() override
    {
        frame(played);
        if (++played == frames)
            CKernel::GetSingleton().KillAllTasks();
    }
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }
    int frames, played = 0;
    std::function<void(int)> frame;
};

void Play(int frames, std::function<void(int)> frame)
{
    CKernel* kernel = new CKernel();
    CMMPointer<ITask> game(new Game(frames, std::move(frame)));
    kernel->AddTask(game);
    kernel->Execute();
    game = nullptr;
    delete kernel;
}

void Input(unsigned char* keys, int mouseX, uint32_t seed, int16_t stick)
{
    CInputTask::keys = keys;
    CInputTask::keyCount = 323;
    CInputTask::mouseX = mouseX;
    CInputTask::padAxes[3] = stick;
    if (CGameRecording::SupplyInput() == false)
        CGameRecording::InputRead();
    CRandom::Seed(seed);
    CRandom::Next();
}

class RecordingSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        CClock::DriveFixedStep(16);
        // The controller plays its part in the game.
        CGameRecording::stateHash = [] { return CRandom::GetState() + CClock::GetTicks() + CInputTask::padAxes[3]; };
        ASSERT_EQ(CGameRecording::StartRecording(path), "");
        CGameRecording::SetSettings({"key.fire=f"});
        unsigned char keys[323] = {};
        Play(5, [&keys](int i) {
            keys[97] = (i == 1 || i == 2);  // 'a' held over two frames
            Input(keys, 10 * i, CClock::GetTicks(), static_cast<int16_t>(i == 3 ? -32768 : 0));
        });
        Printed();
        ASSERT_EQ(CGameRecording::Finish(), 0);
    }
    void TearDown() override
    {
        CGameRecording::stateHash = nullptr;
        CInputTask::keys = nullptr;
        CInputTask::padAxes[3] = 0;
        CInputTask::keyCount = 0;
        CClock::Release();
        IMMObject::CollectGarbage();
    }

    // Replays the file with its own clock and seeds, whatever the game would take.
    int Replay(int framesPlayed)
    {
        EXPECT_EQ(CGameRecording::StartReplay(path, true), "");
        unsigned char ignored[323] = {};
        Play(framesPlayed, [this, &ignored](int) {
            Input(ignored, -1, 99999, 7);
            seen.push_back({CInputTask::curKey(97), CInputTask::mouseX + CInputTask::padAxes[3]});
        });
        return CGameRecording::Finish();
    }

    velqtest::TempDir dir;
    const std::string path = "game.rec";
    // What the session printed since the last look.
    std::string Printed()
    {
        const std::string all = cout.Text();
        const std::string fresh = all.substr(printedSoFar);
        printedSoFar = all.size();
        return fresh;
    }
    velqtest::CaptureCout cout;
    size_t printedSoFar = 0;
    std::vector<std::pair<bool, int>> seen;
};

TEST_F(RecordingSession, ReplaysInputClockAndSeedsToTheSameHashesOrNamesTheFrameWhereTheGamesPart)
{
    const struct { int frames; int partsAt; int result; const char* printed; } cases[] = {
        {5, 0, 0, "game.rec matches the recording (5 frames"},
        {5, 3, 1, "parts from the recording at frame 3 of 5"},
        {4, 0, 1, "at frame 5 of 5"},  // a game that ends early
        {6, 0, 1, "at frame 6 of 5"},  // or late: the kernel ends it before its sixth frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printed);
        int frame = 0;
        const int partsAt = c.partsAt;
        CGameRecording::stateHash = [&frame, partsAt] {
            return CRandom::GetState() + CClock::GetTicks() + CInputTask::padAxes[3] + (++frame == partsAt);
        };
        seen.clear();
        EXPECT_EQ(Replay(c.frames), c.result);
        EXPECT_NE(Printed().find(c.printed), std::string::npos);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<bool, int>>{{false, 0}, {true, 10}, {true, 20}, {false, 30 - 32768}, {false, 40}}));
    EXPECT_EQ(CGameRecording::RecordedSettings(), std::vector<std::string>{"key.fire=f"});
    EXPECT_NE(CGameRecording::StartReplay(path + "x", false).find("cannot open"), std::string::npos);
    EXPECT_EQ(CGameRecording::GetMode(), CGameRecording::Mode::kOff);
}

}  // namespace
