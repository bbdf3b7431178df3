// SPDX-License-Identifier: GPL-3.0-or-later
// Each frame every tower that finds an enemy in reach aims at it and pulls the trigger.
#include "gameplay/towerai.h"

#include <cmath>
#include <string>

#include "engine/pause.h"
#include "engine/random.h"
#include "world/actors.h"
#include "world/gamerules.h"
#include "world/gameworld.h"

namespace {
const std::string kEnemy = "enemy";
// The aim's scatter, drawn evenly from -spread .. spread, one draw for both axes.
constexpr double kAimSpread = 1.0;
}  // namespace

void CTowerAITask::Update()
{
    if (CPause::IsOn())
        return;
    // A copy, which already holds the towers placed by the player in this frame.
    for (const CMMPointer<Tower>& t : GameWorld::GetSingleton().GetTowers()) {
        if (AcquireTarget(*t))
            t->Fire();  // the weapon keeps its own rate
    }
}

bool CTowerAITask::AcquireTarget(Tower& tower)
{
    IWeapon* weapon = tower.GetWeapon();
    SceneGraphNode* node = tower.GetNode();
    if (!weapon || !node)
        return false;
    const float range = weapon->GetRange();
    nearby.clear();
    // Only the region around the tower: an enemy filed beyond it is not seen, however
    // close it stands. The first in the region's order is taken, not the nearest.
    node->GetNearby(nearby, &tower, kSearchRadius);
    const VOB* target = nullptr;
    for (const VOB* o : nearby) {
        if (o->GetType() != kEnemy)
            continue;
        const float dx = o->GetX() - tower.GetX();
        const float dy = o->GetY() - tower.GetY();
        if (std::sqrt(dx * dx + dy * dy) <= range) {
            target = o;
            break;
        }
    }
    if (target) {
        const float j = static_cast<float>(CRandom::Unit() * 2.0 * kAimSpread - kAimSpread);
        tower.SetLookX(target->GetX() - tower.GetX() + j);
        tower.SetLookY(target->GetY() - tower.GetY() + j);
    }
    // What it holds is good for this frame only.
    nearby.clear();
    return target != nullptr;
}
