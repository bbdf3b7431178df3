// SPDX-License-Identifier: GPL-3.0-or-later
// Projectiles: movers that age and vanish after their weapon's lifetime; laser shots
// bounce off walls and towers, rockets explode there.
#pragma once

#include <memory>
#include <string>

#include "gameplay/particles.h"
#include "world/vob.h"

class CProjectile : public VMOB {
public:
    CProjectile(const std::string& type, const std::string& ownerType, float dx, float dy, float dz);

    unsigned size() override { return sizeof(*this); }
    // Ages by the frame time; at the age limit the projectile is killed and stays put.
    void ComputeNextPosition() override;
    std::string GetOwnerType() override { return ownerType; }

    float GetAge() const { return age; }
    float GetMaxAge() const { return maxAge; }
    void SetMaxAge(float seconds) { maxAge = seconds; }
    // The particle effect the drawing shows and steps each time it passes the shot;
    // null for a shot without one.
    virtual ParticleSystem* Effect() { return nullptr; }

    // Extent in the ground plane. Half the sum with a wall block's 1.0 is 0.75, just
    // more than the 0.71 from a block's centre to its corner: a shot that lands anywhere
    // on a block bounces, and none is ever seen inside one.
    static constexpr float kDiameter = 0.5f;

protected:
    // Walls and towers, the only objects a projectile reacts to. Asked first, inline:
    // nearly everything a shot is tested against is not one.
    static bool IsObstacle(const VOB& other)
    {
        const VOBKind k = other.GetKind();
        return k == VOBKind::Wall || k == VOBKind::Tower;
    }
    // True when other is a wall or a tower closer to this projectile's next position
    // (in x and y) than half their diameters; gives the distances along x and y. A
    // projectile clear of other is re-placed in the scene graph.
    bool Touches(const VOB& other, float& dx, float& dy);
    // A laser shot turns back at an obstacle: along x when the obstacle lies farther
    // across x than across y, along y in the opposite case, and then steps again; it
    // never blocks its own move.
    bool Bounce(const VOB& other);

    float age;
    float maxAge;
    std::string ownerType;
};

class CLaserMGProjectile : public CProjectile {
public:
    using CProjectile::CProjectile;
    unsigned size() override { return sizeof(*this); }
    bool CollidesWith(VOB& other) override { return IsObstacle(other) && Bounce(other); }
    // The trail, made where the shot is when it is first drawn, then following it.
    ParticleSystem* Effect() override;
    const ParticleSystem* GetTrail() const { return trail.get(); }

private:
    std::unique_ptr<ParticleSystem> trail;
    bool trailMade = false;
};

class CLaserShotgunProjectile : public CProjectile {
public:
    using CProjectile::CProjectile;
    unsigned size() override { return sizeof(*this); }
    bool CollidesWith(VOB& other) override { return IsObstacle(other) && Bounce(other); }
};

class CRocketProjectile : public CProjectile {
public:
    using CProjectile::CProjectile;
    unsigned size() override { return sizeof(*this); }
    // At an obstacle the rocket becomes an explosion where it is (its move refused):
    // 0.4 s of blast, the explosion's sound, no damage of its own. An explosion
    // collides with nothing, so it never starts again.
    bool CollidesWith(VOB& other) override;
    // The blast, once exploded; null before.
    ParticleSystem* Effect() override;
    const ParticleSystem* GetBlast() const { return blast.get(); }

    static constexpr float kExplosionSeconds = 0.4f;

private:
    std::unique_ptr<ParticleSystem> blast;
};
