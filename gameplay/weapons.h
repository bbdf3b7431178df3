// SPDX-License-Identifier: GPL-3.0-or-later
// Weapons: a rate of fire, projectiles made in front of the owner, a shot sound.
#pragma once

#include <string>

#include "world/gamerules.h"

class VOB;
class CProjectile;

class AWeapon : public IWeapon {
public:
    AWeapon(VOB* owner, float fireRate, float lifetime, float projectileSpeed);
    ~AWeapon() override {}
    AWeapon(const AWeapon&) = delete;
    AWeapon& operator=(const AWeapon&) = delete;

    // True when a shot was made: the gap 1000 / fireRate ms since the last one has passed
    // and a projectile left the muzzle. Only then the sound plays and the gap starts anew.
    bool Fire() override;
    // One projectile along the owner's look direction; false when none could be placed.
    virtual bool SpawnProjectiles();
    // A new projectile of this weapon's kind; baseType "projectile" is replaced by it.
    virtual CProjectile* CreateProjectile(const std::string& baseType, const std::string& ownerType, float dx,
                                          float dy, float dz) = 0;
    // The firing range the enemy AI compares distances with.
    float GetRange() override { return lifetime; }
    virtual void PlayShotSound() = 0;

    float GetFireRate() const { return fireRate; }
    float GetLifetime() const { return lifetime; }
    float GetProjectileSpeed() const { return projectileSpeed; }
    float GetLastShot() const { return lastShot; }
    VOB* GetOwner() const { return owner; }

    static constexpr float kMuzzleDistance = 1.1f;  // projectiles start this far in front
    static constexpr float kMuzzleHeight = 1.0f;

protected:
    // The owner's look direction in x and y, divided by |x| + |y|.
    void AimDirection(float& fx, float& fy) const;
    // Places p at (x, y, muzzle height), gives it this weapon's speed and lifetime,
    // registers it and lets it take its first step. A point outside the field makes
    // no shot: p is freed and the result is false.
    bool Launch(CProjectile* p, float x, float y);
    void PlaySound(int index);

    float fireRate;
    float lifetime;
    VOB* owner;
    float lastShot;
    float projectileSpeed;
};

class CLaserMG : public AWeapon {
public:
    explicit CLaserMG(VOB* owner);
    CProjectile* CreateProjectile(const std::string& baseType, const std::string& ownerType, float dx,
                                  float dy, float dz) override;
    void PlayShotSound() override;
};

class CLaserShotgun : public AWeapon {
public:
    explicit CLaserShotgun(VOB* owner);
    // Ten parallel pellets, their starting points spread by a generator seeded from the
    // calendar second: shots within one second lay the same pattern. False when not one
    // pellet lies on the field.
    bool SpawnProjectiles() override;
    CProjectile* CreateProjectile(const std::string& baseType, const std::string& ownerType, float dx,
                                  float dy, float dz) override;
    void PlayShotSound() override;

    static constexpr int kPellets = 10;
};

class CRocketLauncher : public AWeapon {
public:
    explicit CRocketLauncher(VOB* owner);
    CProjectile* CreateProjectile(const std::string& baseType, const std::string& ownerType, float dx,
                                  float dy, float dz) override;
    void PlayShotSound() override;
};

