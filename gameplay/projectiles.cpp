// Projectile ageing.
#include "gameplay/projectiles.h"

#include "engine/timertask.h"

CProjectile::CProjectile(const std::string& typeName, const std::string& owner, float dx, float dy, float dz)
    : VMOB(typeName, dx, dy, dz), age(0.0f), maxAge(0.0f), ownerType(owner)
{
    diameter = kDiameter;
}

void CProjectile::ComputeNextPosition()
{
    age += CGlobalTimerTask::dT;
    if (age >= maxAge) {
        Kill();
        return;
    }
    VMOB::ComputeNextPosition();
}
