// Whether a mover may take its next position.
#include <string>

#include "gameplay/gamerules.h"
#include "world/vob.h"

namespace {
const std::string kWall = "map.wall";
const std::string kEnemy = "enemy";
}  // namespace

bool CGameRules::CollidesWith(VMOB& mover, const CMMPointer<VOB>& other)
{
    // Only walls and enemies block, and nothing blocks its own kind (itself included).
    const std::string& otherType = other->GetType();
    if (otherType != kWall && otherType != kEnemy)
        return false;
    if (otherType == mover.GetType())
        return false;
    // The box tests come with the movement code; until then nothing blocks.
    return false;
}
