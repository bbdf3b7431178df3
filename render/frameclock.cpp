// SPDX-License-Identifier: GPL-3.0-or-later
// Frame-rate and countdown arithmetic.
#include "render/frameclock.h"

namespace {
constexpr int32_t kLevelSeconds = 60;
constexpr uint32_t kRatePeriodMs = 1000;
}  // namespace

void FrameRate::Tick(uint32_t now)
{
    ++frameCount;
    const uint32_t since = now - lastRateTicks;
    if (since > kRatePeriodMs) {
        framesPerSecond = static_cast<int32_t>(frameCount * 1000.0 / since);
        lastRateTicks = now;
        frameCount = 0;
    }
}

void FrameRate::Reset()
{
    frameCount = 0;
    lastRateTicks = 0;
    framesPerSecond = 0;
}

int32_t Countdown(uint32_t now, uint32_t levelStartTime, bool flagCarried)
{
    const int32_t elapsed = static_cast<int32_t>(now - levelStartTime);
    return kLevelSeconds - elapsed / (flagCarried ? 500 : 1000);
}
