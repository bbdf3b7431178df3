// SPDX-License-Identifier: GPL-3.0-or-later
// The towers' minds: snap towards the first enemy within reach and fire.
#pragma once

#include "engine/kernel.h"
#include "world/scenegraph.h"
#include "world/vob.h"

class Tower;

class CTowerAITask : public ITask {
public:
    bool Start() override { return true; }
    void Update() override;
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }

    // Turns the tower towards the first enemy of its scene-graph region that is within
    // its weapon's range; false, and nothing changed, when there is none.
    bool AcquireTarget(Tower& tower);

    // The radius of the region a tower looks into.
    static constexpr float kSearchRadius = 1.0f;

private:
    VOBRefs nearby;  // reused by every search, so a frame allocates nothing once it has grown
};
