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
}

TEST_F(InputTest, KeysOutsideTheArrayAreNotHeld)
{
    EXPECT_FALSE(CInputTask::curKey(kCount));
    EXPECT_FALSE(CInputTask::curKey(-1));
    EXPECT_FALSE(CInputTask::curKey(100000));
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
    CInputTask::mouseX = 400;
    CInputTask::mouseY = 300;
    EXPECT_FLOAT_EQ(CInputTask::normMouseX(), 0.0f);
    EXPECT_FLOAT_EQ(CInputTask::normMouseY(), 0.0f);
    CInputTask::mouseX = 0;
    CInputTask::mouseY = 0;
    EXPECT_FLOAT_EQ(CInputTask::normMouseX(), -1.0f);
    EXPECT_FLOAT_EQ(CInputTask::normMouseY(), 1.0f);
    CVideoTask::scrWidth = 1024;
    CVideoTask::scrHeight = 768;
    CInputTask::mouseX = 1024;
    CInputTask::mouseY = 768;
    EXPECT_FLOAT_EQ(CInputTask::normMouseX(), 1.0f);
    EXPECT_FLOAT_EQ(CInputTask::normMouseY(), -1.0f);
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
