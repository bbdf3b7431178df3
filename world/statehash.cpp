// SPDX-License-Identifier: GPL-3.0-or-later
// Every object of the level goes into the hash in list order, which is the order the
// game creates and walks them, so two games that play alike hash alike.
#include "world/statehash.h"

#include <vector>

#include "engine/random.h"
#include "engine/statehasher.h"
#include "world/actors.h"
#include "world/gameworld.h"
#include "world/vob.h"

uint64_t GameStateHash(const GameWorld& world, uint32_t now)
{
    CStateHasher h;
    h.I32(world.GetLevel());
    h.I32(world.GetResult());
    h.I32(world.GetEnemyCount());
    h.U32(now - world.GetLevelStartTime());
    for (int i = 0; i < GameWorld::kToggleCount; ++i)
        h.U32(world.GetToggle(static_cast<Toggle>(i)));
    h.U32(CRandom::GetState());
    // The walk reuses one list: a replay hashes every frame.
    static std::vector<CMMPointer<VOB>> objects;
    world.GetAllObjects(objects);
    h.U32(static_cast<uint32_t>(objects.size()));
    for (const CMMPointer<VOB>& object : objects) {
        const VOB* o = object;
        h.Str(o->GetType());
        h.F32(o->GetX());
        h.F32(o->GetY());
        h.F32(o->GetZ());
        h.F32(o->GetLookX());
        h.F32(o->GetLookY());
        h.F32(o->GetLookZ());
        h.F32(o->GetDiameter());
        if (const VMOB* m = dynamic_cast<const VMOB*>(o)) {
            h.F32(m->GetMoveX());
            h.F32(m->GetMoveY());
            h.F32(m->GetMoveZ());
            h.F32(m->GetSpeed());
            h.I32(m->GetHealth());
        }
        if (const Flag* f = dynamic_cast<const Flag*>(o))
            h.U32(f->GetCarrier() ? 1 : 0);
    }
    objects.clear();
    return h.Value();
}
