// Projectiles: movers that age and vanish after their weapon's lifetime.
#pragma once

#include <string>

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

    // Extent used by the bounce and blast distance.
    static constexpr float kDiameter = 0.2f;

protected:
    float age;
    float maxAge;
    std::string ownerType;
};

class CLaserMGProjectile : public CProjectile {
public:
    using CProjectile::CProjectile;
    unsigned size() override { return sizeof(*this); }
};

class CLaserShotgunProjectile : public CProjectile {
public:
    using CProjectile::CProjectile;
    unsigned size() override { return sizeof(*this); }
};

class CRocketProjectile : public CProjectile {
public:
    using CProjectile::CProjectile;
    unsigned size() override { return sizeof(*this); }
};
