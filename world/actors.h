// SPDX-License-Identifier: GPL-3.0-or-later
// The actors: the player, the enemies, the flag they are after and the towers.
#pragma once

#include <cstdint>
#include <vector>

#include "world/vob.h"

class IWeapon;

struct Waypoint {
    float x, y, z;
};

class Player : public VMOB {
public:
    static constexpr int kWeaponCount = 3;
    static constexpr int kRocketLauncher = 0;
    static constexpr int kLaserMG = 1;
    static constexpr int kLaserShotgun = 2;
    // The animation played once on a weapon change.
    static constexpr int kWeaponChangeAnimation = 8;

    // Also sets the game world's result back to playing.
    Player();
    ~Player() override;

    unsigned size() override { return sizeof(*this); }
    // Back to the start values for a new level; camera offset and x, y stay.
    void Reset() override;
    // Rocket launcher, laser machine gun, shotgun, and round again.
    void NextWeapon();

    int32_t GetCurrentWeapon() const { return currentWeapon; }
    IWeapon* GetWeaponAt(int index) const { return weapons[index]; }

    float GetEyeX() const { return position[0] + cameraOffset[0]; }
    float GetEyeY() const { return position[1] + cameraOffset[1]; }
    float GetEyeZ() const { return position[2] + cameraOffset[2]; }
    float GetCameraOffset(int axis) const { return cameraOffset[axis]; }
    void SetCameraOffset(float x, float y, float z);

private:
    float cameraOffset[3];
    IWeapon* weapons[kWeaponCount];
    int32_t currentWeapon;
};

class Enemy : public VMOB {
public:
    Enemy();
    ~Enemy() override;

    unsigned size() override { return sizeof(*this); }
    // The first waypoint also becomes the target.
    void AddWaypoint(float x, float y, float z) override;
    const std::vector<Waypoint>& GetPath() const { return path; }

    Waypoint GetTarget() const { return target; }
    void SetTarget(float x, float y, float z) { target = {x, y, z}; }

    // Decisions on the actors in the game world's slots, by x-y distance; each is false
    // while its actor (or, for the range, the weapon) is missing.
    bool IsPlayerNear() const;
    bool IsPlayerInRange() const;
    bool IsFlagNear() const;
    // Look and move towards the player or the flag, both scattered by the game's random
    // generator, at 0.3 times the distance per second; nothing without the actor.
    void AimAtPlayer();
    void HeadForFlag();

private:
    std::vector<Waypoint> path;
    Waypoint target;
};

class Flag : public VMOB {
public:
    Flag();

    unsigned size() override { return sizeof(*this); }
    bool IsCarried() const { return carried; }
    VMOB* GetCarrier() const { return carried ? carrier : nullptr; }
    void PickUp(VMOB* by);
    // Lies free again; the carrier is forgotten.
    void Drop();
    // Moves to the carrier's x and y.
    void FollowCarrier();

private:
    bool carried;
    VMOB* carrier;
};

class Tower : public VOB {
public:
    Tower(float x, float y, float z);
    ~Tower() override;

    unsigned size() override { return sizeof(*this); }
};
