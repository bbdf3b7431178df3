// Frame timer and input queries, driven through the clock and the input state.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/clock.h"
#include "engine/inputtask.h"
#include "engine/timertask.h"
#include "engine/videotask.h"
#include "support/testutil.h"

namespace {

class TimerTest : public ::testing::Test {
protected:
    void TearDown() override { CClock::Release(); }
};

TEST_F(TimerTest, FrameTimeIsTheTickDifferenceInSecondsEvenAcrossTheWrap)
{
    CGlobalTimerTask timer;
    CClock::Drive(5000);
    ASSERT_TRUE(timer.Start());
    EXPECT_EQ(CGlobalTimerTask::dT, 0.0f);
    CClock::Advance(16);
    timer.Update();
    EXPECT_FLOAT_EQ(CGlobalTimerTask::dT, 0.016f);
    timer.Update();  // a frame shorter than a millisecond
    EXPECT_EQ(CGlobalTimerTask::dT, 0.0f);

    CClock::SetTicks(0xFFFFFFF0u);
    timer.Update();
    CClock::Advance(0x20);  // wraps past zero
    timer.Update();
    EXPECT_FLOAT_EQ(CGlobalTimerTask::dT, 0.032f);
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(current, 0, sizeof current);
        CInputTask::keys = current;
        CInputTask::keyCount = kCount;
        CInputTask::oldKeys = new CMMDynamicBlob<unsigned char>(kCount);
        std::memset(CInputTask::oldKeys->getBuffer(), 0, kCount);
        CInputTask::buttons = CInputTask::oldButtons = 0;
    }
    void TearDown() override
    {
        velqtest::CaptureCout quiet;
        CInputTask::keys = nullptr;
        CInputTask::keyCount = 0;
        CInputTask::oldKeys = nullptr;
        IMMObject::CollectGarbage();
        CVideoTask::scrWidth = 800;
        CVideoTask::scrHeight = 600;
    }
    // What the task's update does to the key arrays, without SDL.
    void NextFrame(bool held)
    {
        std::memcpy(CInputTask::oldKeys->getBuffer(), current, kCount);
        current[kKey] = held;
    }
    static constexpr int kCount = 323;
    static constexpr int kKey = 97;
    unsigned char current[kCount];
};

TEST_F(InputTest, HeldKeyIsDownInTheFirstFrameOnlyThenStillDown)
{
    NextFrame(true);
    EXPECT_TRUE(CInputTask::keyDown(kKey));
    EXPECT_FALSE(CInputTask::keyStillDown(kKey));
    NextFrame(true);
    EXPECT_FALSE(CInputTask::keyDown(kKey));
    EXPECT_TRUE(CInputTask::keyStillDown(kKey));
    NextFrame(false);
    EXPECT_FALSE(CInputTask::curKey(kKey));
    EXPECT_TRUE(CInputTask::oldKey(kKey));
    for (int outside : {kCount, -1, 100000})
        EXPECT_FALSE(CInputTask::curKey(outside)) << outside;
}

TEST_F(InputTest, ButtonMasksGiveDownAndStillDown)
{
    CInputTask::oldButtons = 0;
    CInputTask::buttons = 1u << 0 | 1u << 2;  // left and right
    EXPECT_TRUE(CInputTask::mouseDown(1));
    EXPECT_TRUE(CInputTask::mouseDown(3));
    EXPECT_FALSE(CInputTask::curMouse(2));
    CInputTask::oldButtons = CInputTask::buttons;
    CInputTask::buttons = 1u << 2;
    EXPECT_FALSE(CInputTask::curMouse(1));
    EXPECT_TRUE(CInputTask::oldMouse(1));
    EXPECT_TRUE(CInputTask::mouseStillDown(3));
    EXPECT_FALSE(CInputTask::mouseDown(3));
}

TEST_F(InputTest, CursorIsNormalisedToMinusOneToOneWithYUp)
{
    const struct {
        int width, height, x, y;
        float normX, normY;
    } cases[] = {{800, 600, 400, 300, 0, 0}, {800, 600, 0, 0, -1, 1}, {1024, 768, 1024, 768, 1, -1}};
    for (const auto& c : cases) {
        CVideoTask::scrWidth = c.width;
        CVideoTask::scrHeight = c.height;
        CInputTask::mouseX = c.x;
        CInputTask::mouseY = c.y;
        EXPECT_FLOAT_EQ(CInputTask::normMouseX(), c.normX) << c.x;
        EXPECT_FLOAT_EQ(CInputTask::normMouseY(), c.normY) << c.y;
    }
}

TEST(InputDeathTest, OldKeyPastTheBufferStopsWithTheAssertion)
{
    velqtest::CaptureCout quiet;
    CInputTask::oldKeys = new CMMDynamicBlob<unsigned char>(10);
    EXPECT_DEATH(CInputTask::oldKey(10), "index<dataSize");
    CInputTask::oldKeys = nullptr;
    IMMObject::CollectGarbage();
}

}  // namespace
