// SPDX-License-Identifier: GPL-3.0-or-later
// Projectile ageing, the laser's bounce, the rocket's explosion and their effects.
#include "gameplay/projectiles.h"

#include <cmath>

#include "engine/timertask.h"
#include "gameplay/particles.h"
#include "gameplay/rootcompare.h"
#include "world/soundmanager.h"

namespace {
const std::string kExplosion = "projectile.explosion";
}  // namespace

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

bool CProjectile::Touches(const VOB& other, float& dx, float& dy)
{
    if (!IsObstacle(other))
        return false;
    dx = std::fabs(other.GetX() - nextPosition[0]);
    dy = std::fabs(other.GetY() - nextPosition[1]);
    const float reach = (other.GetDiameter() + diameter) / 2.0f;
    if (RootAtLeast(dx * dx + dy * dy, reach)) {
        UpdateSceneGraph();
        return false;
    }
    return true;
}

bool CProjectile::Bounce(const VOB& other)
{
    float dx = 0.0f, dy = 0.0f;
    if (!Touches(other, dx, dy))
        return false;
    if (dy < dx)
        moveDirection[0] = -moveDirection[0];
    else if (dx < dy)
        moveDirection[1] = -moveDirection[1];
    lookDirection[0] = -lookDirection[0];
    // The turned shot steps again from where it is (and grows one frame older); the
    // objects after this one are tested against the new next position.
    ComputeNextPosition();
    return false;
}

ParticleSystem* CLaserMGProjectile::Effect()
{
    if (!trailMade) {
        trail = std::make_unique<ParticleSystem>(position[0], position[1], position[2], false);
        trailMade = true;
    } else {
        trail->SetOrigin(position[0], position[1], position[2]);
    }
    return trail.get();
}

bool CRocketProjectile::CollidesWith(VOB& other)
{
    // A rocket explodes once; the explosion stands where it is until its time is up.
    if (dead || kind == VOBKind::Explosion)
        return false;
    float dx = 0.0f, dy = 0.0f;
    if (!Touches(other, dx, dy))
        return false;
    age = 0.0f;
    maxAge = kExplosionSeconds;
    SetMoveDirection(0.0f, 0.0f, 0.0f);
    SetType(kExplosion);
    blast = std::make_unique<ParticleSystem>(position[0], position[1], position[2], true);
    if (SoundManager::Exists())
        SoundManager::GetSingleton().PlaySound(SoundManager::kExplosion);
    return true;
}

ParticleSystem* CRocketProjectile::Effect() { return kind == VOBKind::Explosion ? blast.get() : nullptr; }
