// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's one source of time: SDL ticks and calendar seconds, which tests and
// fixed-step runs drive by hand. The game's ticks stand still while the pause holds them.
#pragma once

#include <cstdint>
#include <ctime>

class CClock {
public:
    // The game's milliseconds: since SDL start, or the driven tick count, less the time
    // spent paused.
    static uint32_t GetTicks();
    // The time that enters from outside, paused or not: what a recording keeps.
    static uint32_t GetOutsideTicks();
    // Calendar seconds, or the driven value.
    static time_t GetSeconds();

    // Switches to driven time: from now on only SetTicks/Advance/BeginFrame move it.
    static void Drive(uint32_t ticks, time_t seconds = 0);
    static void SetTicks(uint32_t ticks);
    static void Advance(uint32_t ms);
    // Driven time with a fixed step: every kernel pass advances the clock by stepMs.
    static void DriveFixedStep(uint32_t stepMs);
    // Driven time that reads exactly ticks and seconds until moved again (a replay sets
    // every frame's recorded values).
    static void SetNow(uint32_t ticks, time_t seconds);
    // Real time, sampled once per kernel pass and held still through it (a recorded
    // game writes down what each frame read).
    static void HoldPerFrame();
    // Back to the real clocks.
    static void Release();
    static bool IsDriven();

    // Stops the game's ticks where they are, or lets them go on from there (the pause
    // does this; everything else asks the pause).
    static void StandStill(bool on);
    static bool IsStandingStill();

    // Called by the kernel at the start of every pass.
    static void BeginFrame();

    // Sleeps until the real tick count reaches ticks; returns at once on driven time,
    // so fixed-step and replayed runs never wait.
    static void WaitUntil(uint32_t ticks);

    // Real milliseconds, to a fraction, from a steady clock, whatever drives the game's
    // time: a replay's pace and a timedemo's frame lengths are measured on it.
    static double GetRealMs();
    // Sleeps until GetRealMs reaches ms, on driven time too (a replay keeps its pace).
    static void WaitUntilReal(double ms);
};
