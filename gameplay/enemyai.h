// SPDX-License-Identifier: GPL-3.0-or-later
// The enemies' minds: chase and shoot the player, make for the free flag, or wander.
#pragma once

#include "engine/kernel.h"

class CEnemyAITask : public ITask {
public:
    bool Start() override { return true; }
    void Update() override;
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }

    // An enemy picks the free flag up when it stands closer than this on both axes.
    static constexpr float kPickUpReach = 1.0f;
};
