// Whether a mover may take its next position.
#include "world/vob.h"

bool VMOB::CollidesWith(CMMPointer<VOB> other)
{
    // Only walls and enemies block, and nothing blocks its own kind (itself included).
    const std::string otherType = other->GetType();
    if (otherType != "map.wall" && otherType != "enemy")
        return false;
    if (otherType == type)
        return false;
    // The box tests come with the movement code; until then nothing blocks.
    return false;
}
