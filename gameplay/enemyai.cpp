// SPDX-License-Identifier: GPL-3.0-or-later
// Each frame every enemy chooses where it looks and walks, how fast, and whether it shoots.
#include "gameplay/enemyai.h"

#include <cmath>
#include <cstdint>
#include <list>

#include "engine/clock.h"
#include "engine/pause.h"
#include "engine/profiler.h"
#include "engine/random.h"
#include "world/actors.h"
#include "world/gameworld.h"

namespace {

// A wandering enemy walks at up to this speed, each axis of its direction up to this far.
constexpr double kWanderSpeed = 1.0;
constexpr double kWanderReach = 5.0;

// The flag in its actor slot, or null.
Flag* TakeFlag()
{
    CMMPointer<VOB> slot = GameWorld::GetSingleton().GetActor(GameWorld::kFlagSlot);
    return dynamic_cast<Flag*>(static_cast<VOB*>(slot));
}

// A course from the generator just seeded: the speed's draw first, then y's, then x's.
void Wander(Enemy& e)
{
    const double s = CRandom::Unit();
    const double r1 = CRandom::Unit();
    const double r2 = CRandom::Unit();
    e.SetSpeed(static_cast<float>(s * kWanderSpeed));
    e.SetMoveDirection(static_cast<float>(r2 * 2.0 * kWanderReach - kWanderReach),
                       static_cast<float>(r1 * 2.0 * kWanderReach - kWanderReach), 0.0f);
}

}  // namespace

void CEnemyAITask::Update()
{
    if (CPause::IsOn())
        return;
    // A snapshot: the enemies' shots change the movers while the walk goes on.
    const std::list<CMMPointer<Enemy>> enemies = GameWorld::GetSingleton().GetEnemies();
    Flag* flag = TakeFlag();
    // Restarted from the calendar second every frame and one up per wandering enemy, so
    // a wanderer keeps its course for the rest of the second.
    uint32_t seed = static_cast<uint32_t>(CClock::GetSeconds());

    if (flag && flag->IsCarried())
        flag->FollowCarrier();

    PROFILE("Enemy Movement");
    for (const CMMPointer<Enemy>& e : enemies) {
        if (e->IsPlayerNear()) {
            e->AimAtPlayer();
            if (e->IsPlayerInRange())
                e->Fire();  // the weapon keeps its own rate
        } else {
            CRandom::Seed(++seed);
            Wander(*e);
        }
        if (!flag)
            continue;
        // The first enemy in list order to reach the flag takes it; later ones find it carried.
        if (!flag->IsCarried() && std::fabs(e->GetX() - flag->GetX()) < kPickUpReach &&
            std::fabs(e->GetY() - flag->GetY()) < kPickUpReach)
            flag->PickUp(e);
        // Last, so the free flag wins over the player for the walk (a shot is already made).
        if (e->IsFlagNear() && !flag->IsCarried())
            e->HeadForFlag();
    }
}
