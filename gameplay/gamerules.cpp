// SPDX-License-Identifier: GPL-3.0-or-later
// The weapon each kind names.
#include "gameplay/gamerules.h"

#include "gameplay/weapons.h"

IWeapon* CGameRules::MakeWeapon(WeaponKind kind, VOB* owner)
{
    switch (kind) {
    case WeaponKind::RocketLauncher:
        return new CRocketLauncher(owner);
    case WeaponKind::LaserMG:
        return new CLaserMG(owner);
    case WeaponKind::LaserShotgun:
        return new CLaserShotgun(owner);
    }
    return nullptr;
}
