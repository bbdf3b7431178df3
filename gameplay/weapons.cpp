// SPDX-License-Identifier: GPL-3.0-or-later
// The rate gate, projectile spawning and the three weapons' numbers.
#include "gameplay/weapons.h"

#include <cmath>
#include <cstdint>

#include "engine/clock.h"
#include "engine/random.h"
#include "gameplay/projectiles.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"
#include "world/soundmanager.h"
#include "world/vob.h"

namespace {

enum WeaponRow { kLaserMG, kLaserShotgun, kRocketLauncher, kWeaponRows };

struct WeaponValues {
    const char* type;
    float fireRate;  // shots per second
    float speed;     // units per second
    float lifetime;  // seconds; also the firing range
    int shotSound;
};

// clang-format off
constexpr WeaponValues kWeapons[] = {
    // type                   rate  speed  life  sound
    {"projectile.lasermg",    3.0f, 6.0f,  5.0f, SoundManager::kLaserShot},
    {"projectile.shotgun",    1.0f, 5.0f,  5.0f, SoundManager::kShotgunShot},
    {"projectile.rocket",     1.0f, 4.0f,  3.0f, SoundManager::kRocketLaunch},
};
// clang-format on
static_assert(sizeof(kWeapons) / sizeof(kWeapons[0]) == kWeaponRows, "one row per weapon");

}  // namespace

AWeapon::AWeapon(VOB* ownerObject, float rate, float life, float speed)
    : fireRate(rate),
      lifetime(life),
      owner(ownerObject),
      lastShot(static_cast<float>(CClock::GetTicks())),
      projectileSpeed(speed)
{}

bool AWeapon::Fire()
{
    const float now = static_cast<float>(CClock::GetTicks());
    // A shot that could not leave the muzzle (an owner at the border facing out) is no
    // shot: no sound, and the weapon stays ready for the next frame.
    if (now - lastShot > 1000.0f / fireRate && SpawnProjectiles()) {
        PlayShotSound();
        lastShot = now;
        return true;
    }
    return false;
}

void AWeapon::AimDirection(float& fx, float& fy) const
{
    const float dx = owner->GetLookX();
    const float dy = owner->GetLookY();
    const float sum = std::fabs(dx) + std::fabs(dy);
    // A zero look direction would divide by zero; such a shot just stands still.
    fx = sum > 0.0f ? dx / sum : 0.0f;
    fy = sum > 0.0f ? dy / sum : 0.0f;
}

bool AWeapon::Launch(CProjectile* p, float x, float y)
{
    // Held here: a shot that is never registered is freed when this returns.
    CMMPointer<CProjectile> shot = p;
    // Out of the field (an owner at the border facing out) there is nowhere to fly.
    const float side = SceneGraphNode::kWorldSide;
    if (!(x > 0.0f && x < side && y > 0.0f && y < side))
        return false;
    shot->SetNextPosition(x, y, kMuzzleHeight);
    shot->SetSpeed(projectileSpeed);
    shot->SetMaxAge(lifetime);
    // The shot stands at its muzzle point before it enters the scene graph, so that
    // its first move is tested among the objects around the muzzle, and a rocket that
    // explodes at once does so there.
    shot->CommitMove();
    if (GameWorld::Exists())
        GameWorld::GetSingleton().AddMover(p);
    if (SceneGraph::Exists())
        SceneGraph::GetSingleton().GetRoot()->Insert(CMMPointer<VOB>(p));
    shot->TryMove();
    return true;
}

bool AWeapon::SpawnProjectiles()
{
    float fx, fy;
    AimDirection(fx, fy);
    CProjectile* p = CreateProjectile("projectile", owner->GetType(), fx, fy, owner->GetLookZ());
    return Launch(p, owner->GetX() + kMuzzleDistance * fx, owner->GetY() + kMuzzleDistance * fy);
}

void AWeapon::PlaySound(int index)
{
    if (SoundManager::Exists())
        SoundManager::GetSingleton().PlaySound(index);
}

CLaserMG::CLaserMG(VOB* o)
    : AWeapon(o, kWeapons[kLaserMG].fireRate, kWeapons[kLaserMG].lifetime, kWeapons[kLaserMG].speed)
{}

CProjectile* CLaserMG::CreateProjectile(const std::string&, const std::string& ownerType, float dx, float dy,
                                        float dz)
{
    return new CLaserMGProjectile(kWeapons[kLaserMG].type, ownerType, dx, dy, dz);
}

void CLaserMG::PlayShotSound() { PlaySound(kWeapons[kLaserMG].shotSound); }

CLaserShotgun::CLaserShotgun(VOB* o)
    : AWeapon(o, kWeapons[kLaserShotgun].fireRate, kWeapons[kLaserShotgun].lifetime,
              kWeapons[kLaserShotgun].speed)
{}

bool CLaserShotgun::SpawnProjectiles()
{
    float fx, fy;
    AimDirection(fx, fy);
    bool launched = false;
    uint32_t seed = static_cast<uint32_t>(CClock::GetSeconds());
    for (int i = 0; i < kPellets; ++i) {
        seed += 2;
        CRandom::Seed(seed);
        CProjectile* p = CreateProjectile("projectile", owner->GetType(), fx, fy, owner->GetLookZ());
        // Each offset in -0.5 .. 0.5.
        const float jx = static_cast<float>(CRandom::Unit() - 0.5);
        const float jy = static_cast<float>(CRandom::Unit() - 0.5);
        launched = Launch(p, owner->GetX() + jx + kMuzzleDistance * fx, owner->GetY() + jy + kMuzzleDistance * fy) ||
                   launched;
    }
    return launched;
}

CProjectile* CLaserShotgun::CreateProjectile(const std::string&, const std::string& ownerType, float dx,
                                             float dy, float dz)
{
    return new CLaserShotgunProjectile(kWeapons[kLaserShotgun].type, ownerType, dx, dy, dz);
}

void CLaserShotgun::PlayShotSound() { PlaySound(kWeapons[kLaserShotgun].shotSound); }

CRocketLauncher::CRocketLauncher(VOB* o)
    : AWeapon(o, kWeapons[kRocketLauncher].fireRate, kWeapons[kRocketLauncher].lifetime,
              kWeapons[kRocketLauncher].speed)
{}

CProjectile* CRocketLauncher::CreateProjectile(const std::string&, const std::string& ownerType, float dx,
                                               float dy, float dz)
{
    return new CRocketProjectile(kWeapons[kRocketLauncher].type, ownerType, dx, dy, dz);
}

void CRocketLauncher::PlayShotSound() { PlaySound(kWeapons[kRocketLauncher].shotSound); }

