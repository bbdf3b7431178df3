// SPDX-License-Identifier: GPL-3.0-or-later
// The game's rules that the world applies but does not define: the weapons the actors
// carry and what blocks a move. Gameplay implements them; the program installs them in
// the game world before the first level loads.
#pragma once

#include "engine/mmanager.h"

class VOB;
class VMOB;

// What an actor knows of the weapon it carries.
class IWeapon {
public:
    virtual ~IWeapon() {}
    // True when a shot was made; the weapon keeps its own rate of fire.
    virtual bool Fire() = 0;
    // The distance within which its owner counts a target as in range.
    virtual float GetRange() = 0;
};

enum class WeaponKind { RocketLauncher, LaserMG, LaserShotgun };

class IGameRules {
public:
    virtual ~IGameRules() {}
    // A new weapon, owned by the caller, firing from owner.
    virtual IWeapon* MakeWeapon(WeaponKind kind, VOB* owner) = 0;
    // True when mover may not take its nextPosition because of other; may slide the
    // mover's nextPosition. Other may be the mover itself.
    virtual bool CollidesWith(VMOB& mover, VOB& other) = 0;
};
