// Frame timer and input queries, driven through the clock and the real input task.
#include <gtest/gtest.h>

#include "engine/clock.h"
#include "engine/inputtask.h"
#include "engine/timertask.h"
#include "engine/videotask.h"
#include "support/inputdevice.h"
#include "support/testutil.h"

namespace {

TEST(Timer, FrameTimeIsTheTickDifferenceInSecondsEvenAcrossTheWrap)
{
    CGlobalTimerTask timer;
    CClock::Drive(5000);
    EXPECT_TRUE(timer.Start());
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
    CClock::Release();
}

TEST(Input, HeldKeyOrButtonIsDownInTheFirstFrameOnlyThenStillDownAndNoQueryReadsPastTheKeys)
{
    constexpr int kKey = SDLK_a;
    velqtest::InputDevice device;
    // Held in two frames, then let go: down, still down, old; button 3 (right) as the key.
    const struct { bool held, down, stillDown, cur, old; } frames[] = {
        {true, true, false, true, false}, {true, false, true, true, true}, {false, false, false, false, true}};
    for (const auto& f : frames) {
        if (f.held)
            device.Frame({kKey}, 1u << 2 | 1u);
        else
            device.Frame();
        const bool key[] = {CInputTask::keyDown(kKey), CInputTask::keyStillDown(kKey), CInputTask::curKey(kKey),
                            CInputTask::oldKey(kKey)};
        const bool button[] = {CInputTask::mouseDown(3), CInputTask::mouseStillDown(3), CInputTask::curMouse(3),
                               CInputTask::oldMouse(3)};
        const bool want[] = {f.down, f.stillDown, f.cur, f.old};
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(key[i] == want[i] && button[i] == want[i]) << "query " << i << " held " << f.held;
        EXPECT_FALSE(CInputTask::curMouse(2));
    }
    ASSERT_EQ(CInputTask::keyCount, SDLK_LAST);
    for (int outside : {int(SDLK_LAST), -1, 100000})
        EXPECT_FALSE(CInputTask::curKey(outside)) << outside;
    EXPECT_DEATH(CInputTask::oldKey(SDLK_LAST), "index<dataSize");
}

TEST(Input, CursorIsNormalisedToMinusOneToOneWithYUp)
{
    const struct { int width, height, x, y; float normX, normY; } cases[] = {
        {800, 600, 400, 300, 0, 0}, {1024, 768, 0, 768, -1, -1}};
    for (const auto& c : cases) {
        CVideoTask::scrWidth = c.width, CVideoTask::scrHeight = c.height;
        CInputTask::mouseX = c.x, CInputTask::mouseY = c.y;
        EXPECT_FLOAT_EQ(CInputTask::normMouseX(), c.normX) << c.x;
        EXPECT_FLOAT_EQ(CInputTask::normMouseY(), c.normY) << c.y;
    }
    CVideoTask::scrWidth = 800, CVideoTask::scrHeight = 600;
}

}  // namespace
