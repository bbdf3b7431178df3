// The engine's one source of time: SDL ticks and calendar seconds, which tests and
// fixed-step runs drive by hand.
#pragma once

#include <cstdint>
#include <ctime>

class CClock {
public:
    // Milliseconds since SDL start, or the driven tick count.
    static uint32_t GetTicks();
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

    // Called by the kernel at the start of every pass.
    static void BeginFrame();

    // Sleeps until the real tick count reaches ticks; returns at once on driven time,
    // so fixed-step and replayed runs never wait.
    static void WaitUntil(uint32_t ticks);
};
