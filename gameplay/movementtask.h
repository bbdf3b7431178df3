// SPDX-License-Identifier: GPL-3.0-or-later
// The movement task: settles projectile hits, drops dead movers and moves every mover
// once per frame, after input and AI have decided where things want to go.
#pragma once

#include <vector>

#include "engine/kernel.h"
#include "engine/mmanager.h"

class Enemy;
class VMOB;

class CMovementTask : public ITask {
public:
    // Last of the gameplay tasks: the moves it takes are the ones input and AI chose.
    static constexpr int kPriority = 530;

    CMovementTask();
    ~CMovementTask() override;

    bool Start() override { return true; }
    void Update() override;
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }

private:
    // A projectile in the player's cell or an enemy's, not fired by that kind, costs
    // it health and is killed; an enemy out of health leaves the world.
    void SettleHits(VMOB& shot, VMOB* player);
    // Out of the world's lists; a flag it carried lies free where it is.
    void Drop(VMOB& dead);

    // The frame's snapshots of the world's lists, kept so a frame allocates nothing
    // once they have grown. Removals during the frame leave them as they are.
    std::vector<CMMPointer<VMOB>> movers;
    std::vector<CMMPointer<Enemy>> enemies;
};
