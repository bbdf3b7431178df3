// SPDX-License-Identifier: GPL-3.0-or-later
// The pause: the game's clock standing still and going on without a jump, and the
// rules that begin and end it.
#include "engine/pause.h"

#include <gtest/gtest.h>

#include "engine/clock.h"
#include "engine/timertask.h"
#include "support/testutil.h"

namespace {

TEST(Pause, GameTicksStandStillWhileTheOutsideClockRunsAndGoOnFromThereWithoutAJump)
{
    CGlobalTimerTask timer;
    CClock::DriveFixedStep(16);
    timer.Start();
    CClock::BeginFrame();
    timer.Update();
    EXPECT_FLOAT_EQ(CGlobalTimerTask::dT, 0.016f);
    CPause::Set(true);
    CPause::Set(true);  // twice is once
    for (int frame = 0; frame < 100; ++frame) {
        CClock::BeginFrame();
        timer.Update();
        ASSERT_EQ(CGlobalTimerTask::dT, 0.0f);
        ASSERT_EQ(CClock::GetTicks(), 16u);
    }
    EXPECT_EQ(CClock::GetOutsideTicks(), 16u + 100 * 16);
    CPause::Set(false);
    CPause::Set(false);
    EXPECT_EQ(CClock::GetTicks(), 16u) << "no jump on going on";
    CClock::BeginFrame();
    timer.Update();
    EXPECT_FLOAT_EQ(CGlobalTimerTask::dT, 0.016f);
    // A second pause adds to the first; a replay setting the outside clock keeps it.
    CPause::Set(true);
    CClock::SetNow(5000, 0);
    CPause::Set(false);
    EXPECT_EQ(CClock::GetTicks(), 32u);
    CClock::SetNow(5100, 0);
    EXPECT_EQ(CClock::GetTicks(), 132u);
    EXPECT_TRUE(!CPause::IsOn());
    CPause::Set(true);
    CClock::Release();  // a fresh clock is not paused
    EXPECT_FALSE(CPause::IsOn());
}

TEST(Pause, BeginsOnTheKeyOrALostWindowAndEndsOnTheKeyOrAClickInside)
{
    CClock::Drive(1000);
    velqtest::CaptureCout out;
    // Each row: key, focus lost, click in; whether the game stands still in that frame,
    // and whether the pause is on after it.
    const struct { bool key, lost, click, standing, on; } frames[] = {
        {false, false, true, false, false},  // a click while playing is only a click
        {false, true, false, true, true},    // the window lost the keyboard
        {false, true, false, true, true},
        {false, false, true, true, false},   // a click into the window: the frame it goes on stands still
        {true, false, false, true, true},
        {true, false, true, true, false},    // key and click at once: the key's
    };
    for (const auto& f : frames) {
        EXPECT_EQ(CPause::Step(f.key, f.lost, f.click), f.standing) << f.key << f.lost << f.click;
        EXPECT_EQ(CPause::IsOn(), f.on);
    }
    EXPECT_FALSE(CPause::EndedByClick()) << "the last end came from the key";
    EXPECT_EQ(out.Text(), "Paused\nResumed\nPaused\nResumed\n");
    CClock::Release();
}

}  // namespace
