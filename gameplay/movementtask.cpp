// SPDX-License-Identifier: GPL-3.0-or-later
// One frame of movement: hits first, then the dead leave, then everyone else moves.
#include "gameplay/movementtask.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "engine/pause.h"
#include "engine/profiler.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/vob.h"

namespace {

struct HitDamage {
    const char* type;
    int32_t player;  // unless the player fired it
    int32_t enemy;   // unless an enemy fired it; 0 passes through
};

// clang-format off
constexpr HitDamage kHitDamage[] = {
    // projectile type          player  enemy
    {"projectile.lasermg",      5,      6},
    {"projectile.shotgun",      5,      5},
    {"projectile.rocket",       5,      50},
    {"projectile.explosion",    5,      0},   // the blast harms no enemy
};
// clang-format on
static_assert(sizeof(kHitDamage) / sizeof(kHitDamage[0]) == 4, "one row per projectile type");
// Any other projectile costs the player as much and passes through enemies.
constexpr HitDamage kOtherProjectile = {"projectile", 5, 0};

const HitDamage& DamageOf(const std::string& type)
{
    for (const HitDamage& row : kHitDamage) {
        if (type == row.type)
            return row;
    }
    return kOtherProjectile;
}

bool IsProjectile(const std::string& type) { return type.compare(0, 10, "projectile") == 0; }

// The same unit cell of the map. Truncated in floating point: no position converts
// to an integer, whatever it holds.
bool SameCell(const VOB& a, const VOB& b)
{
    return std::trunc(a.GetX()) == std::trunc(b.GetX()) && std::trunc(a.GetY()) == std::trunc(b.GetY());
}

}  // namespace

CMovementTask::CMovementTask() { priority = kPriority; }

CMovementTask::~CMovementTask() {}

void CMovementTask::Update()
{
    if (CPause::IsOn())
        return;
    GameWorld& world = GameWorld::GetSingleton();
    world.GetMovers(movers);
    world.GetEnemies(enemies);

    // Looked at before anything moves: a player out of health loses even when nothing
    // hits it again.
    const CMMPointer<VOB> playerSlot = world.GetActor(GameWorld::kPlayerSlot);
    VMOB* player = dynamic_cast<VMOB*>(static_cast<VOB*>(playerSlot));
    if (player && player->GetHealth() <= 0)
        world.SetResult(GameWorld::kLost);

    PROFILE("Moving");
    const CMMPointer<VOB> flagSlot = world.GetActor(GameWorld::kFlagSlot);
    Flag* flag = dynamic_cast<Flag*>(static_cast<VOB*>(flagSlot));

    for (const CMMPointer<VMOB>& o : movers) {
        // A projectile killed by its age last frame still hits before it is dropped.
        if (IsProjectile(o->GetType()))
            SettleHits(*o, player);
        if (o->IsDead()) {
            Drop(*o);
            continue;
        }
        if (flag && flag->IsCarried())
            flag->FollowCarrier();
        o->ComputeNextPosition();
        // Killed by its age: it stays where it is until it is dropped.
        if (!o->IsDead())
            o->TryMove();
    }
    // Let go of the frame's objects now, so that the dead are freed at the frame's end.
    movers.clear();
    enemies.clear();
}

void CMovementTask::SettleHits(VMOB& shot, VMOB* player)
{
    const HitDamage& damage = DamageOf(shot.GetType());
    const std::string owner = shot.GetOwnerType();
    if (player && SameCell(*player, shot) && owner != "player") {
        player->Damage(damage.player);
        shot.Kill();
    }
    if (owner == "enemy" || damage.enemy == 0)
        return;
    // A killed shot goes on through the cell: it hits every enemy standing there. An
    // enemy killed earlier in this frame is hit again but leaves only once.
    for (const CMMPointer<Enemy>& e : enemies) {
        if (!SameCell(*e, shot))
            continue;
        e->Damage(damage.enemy);
        shot.Kill();
        if (e->GetHealth() <= 0 && !e->IsDead()) {
            GameWorld::GetSingleton().RemoveEnemy(e);
            e->Kill();
        }
    }
}

void CMovementTask::Drop(VMOB& dead)
{
    GameWorld& world = GameWorld::GetSingleton();
    // An enemy killed some other way is counted off here; one removed at its hit is no
    // longer listed and is not counted twice.
    if (Enemy* enemy = dynamic_cast<Enemy*>(&dead)) {
        world.RemoveEnemy(enemy);
        return;
    }
    const CMMPointer<VOB> flagSlot = world.GetActor(GameWorld::kFlagSlot);
    if (Flag* flag = dynamic_cast<Flag*>(static_cast<VOB*>(flagSlot))) {
        if (flag->GetCarrier() == &dead)
            flag->Drop();
    }
    world.RemoveMover(&dead);
}
