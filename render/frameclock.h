// SPDX-License-Identifier: GPL-3.0-or-later
// The two pieces of game state the frame keeps: the frame rate and the level countdown.
#pragma once

#include <cstdint>

class FrameRate {
public:
    // One drawn frame at tick count now. The figure changes only once more than a
    // second has passed since its last change.
    void Tick(uint32_t now);
    void Reset();

    int32_t Get() const { return framesPerSecond; }

private:
    int32_t frameCount = 0;
    uint32_t lastRateTicks = 0;
    int32_t framesPerSecond = 0;
};

// Seconds left of a level's 60; while the flag is carried the whole elapsed time counts
// double, so the figure jumps down at the pick-up.
int32_t Countdown(uint32_t now, uint32_t levelStartTime, bool flagCarried);
