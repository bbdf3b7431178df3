// SPDX-License-Identifier: GPL-3.0-or-later
// The frame timer: runs first in every pass and measures the last frame in seconds.
#pragma once

#include <cstdint>

#include "engine/kernel.h"

class CGlobalTimerTask : public ITask {
public:
    bool Start() override;
    void Update() override;
    void Stop() override;
    unsigned size() override { return sizeof(*this); }

    static float dT;  // duration of the last frame, seconds
    static uint32_t lastFrameIndex;
    static uint32_t thisFrameIndex;
};
