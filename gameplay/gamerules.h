// SPDX-License-Identifier: GPL-3.0-or-later
// The game's rules as the world applies them: the actors' weapons and what blocks a move.
#pragma once

#include "world/gamerules.h"

class CGameRules : public IGameRules {
public:
    IWeapon* MakeWeapon(WeaponKind kind, VOB* owner) override;
    bool CollidesWith(VMOB& mover, VOB& other) override;
};
