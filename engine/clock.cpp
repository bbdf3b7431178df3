// SPDX-License-Identifier: GPL-3.0-or-later
// Real time comes from SDL, the C library and the steady clock; driven time is a plain
// counter.
#include "engine/clock.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
bool driven = false;
uint32_t drivenTicks = 0;
time_t drivenSeconds = 0;
uint32_t fixedStep = 0;
bool held = false;
uint32_t heldTicks = 0;
time_t heldSeconds = 0;
bool paused = false;
uint32_t pausedAt = 0;     // the game's ticks when the pause began
uint32_t pausedTotal = 0;  // outside milliseconds the game has stood still
}  // namespace

uint32_t CClock::GetOutsideTicks()
{
    if (driven)
        return drivenTicks;
    return held ? heldTicks : SDL_GetTicks();
}

uint32_t CClock::GetTicks() { return paused ? pausedAt : GetOutsideTicks() - pausedTotal; }

void CClock::StandStill(bool on)
{
    if (on == paused)
        return;
    if (on)
        pausedAt = GetTicks();
    else
        pausedTotal = GetOutsideTicks() - pausedAt;  // wraps like the counter
    paused = on;
}

bool CClock::IsStandingStill() { return paused; }

time_t CClock::GetSeconds()
{
    if (driven)
        return drivenSeconds + drivenTicks / 1000;
    return held ? heldSeconds : time(nullptr);
}

void CClock::SetNow(uint32_t ticks, time_t seconds)
{
    // A pause goes on through it: the replay pauses as the recorded game did.
    driven = true;
    drivenTicks = ticks;
    drivenSeconds = seconds - static_cast<time_t>(ticks / 1000);
    fixedStep = 0;
}

void CClock::HoldPerFrame()
{
    held = true;
    heldTicks = SDL_GetTicks();
    heldSeconds = time(nullptr);
}

void CClock::Drive(uint32_t ticks, time_t seconds)
{
    driven = true;
    drivenTicks = ticks;
    drivenSeconds = seconds;
    fixedStep = 0;
    paused = false;
    pausedTotal = 0;
}

void CClock::SetTicks(uint32_t ticks) { drivenTicks = ticks; }

void CClock::Advance(uint32_t ms) { drivenTicks += ms; }  // wraps like SDL's counter

void CClock::DriveFixedStep(uint32_t stepMs)
{
    Drive(0, 0);
    fixedStep = stepMs;
}

void CClock::Release()
{
    driven = false;
    held = false;
    fixedStep = 0;
    paused = false;
    pausedTotal = 0;
}

bool CClock::IsDriven() { return driven; }

void CClock::WaitUntil(uint32_t ticks)
{
    if (driven)
        return;
    const uint32_t now = SDL_GetTicks();
    const int32_t left = static_cast<int32_t>(ticks - now);  // wraps like the counter
    if (left > 0)
        SDL_Delay(static_cast<uint32_t>(left));
}

double CClock::GetRealMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void CClock::WaitUntilReal(double ms)
{
    const double left = ms - GetRealMs();
    if (left > 0)
        SDL_Delay(static_cast<uint32_t>(std::ceil(std::min(left, double{INT32_MAX}))));
}

void CClock::BeginFrame()
{
    if (driven) {
        drivenTicks += fixedStep;
    } else if (held) {
        heldTicks = SDL_GetTicks();
        heldSeconds = time(nullptr);
    }
}
