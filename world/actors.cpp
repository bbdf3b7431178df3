// SPDX-License-Identifier: GPL-3.0-or-later
// The actors' starting values, weapons, waypoints and the carried flag.
#include "world/actors.h"

#include <cmath>
#include <iostream>

#include "engine/random.h"
#include "world/gameworld.h"
#include "world/gamerules.h"

namespace {

struct ActorValues {
    const char* type;
    const char* model;
    float speed;
    int32_t health;
    float z;  // height at construction
    float diameter;
};

enum ActorKind { kPlayerKind, kEnemyKind, kFlagKind, kTowerKind, kActorKinds };

// clang-format off
constexpr ActorValues kActors[] = {
    // type      model            speed  health  z     diameter
    {"player",   "male.md2",      4.0f,  100,    1.0f, 1.5f},
    {"enemy",    "hobgoblin.md2", 0.5f,  100,    1.0f, 2.5f},
    {"flag",     "flag.md2",      0.0f,  1000,   1.0f, 0.5f},
    {"tower",    "turret.md2",    0.0f,  0,      0.0f, 0.3f},  // z from the constructor
};
// clang-format on
static_assert(sizeof(kActors) / sizeof(kActors[0]) == kActorKinds, "one row per actor kind");

// How an enemy reacts to the player and to the flag: the distance within which it
// takes notice, and the scatter on the distance vector it then looks and walks along,
// each drawn evenly from -spread .. spread, the look's first.
struct Approach {
    int slot;
    float nearDistance;
    double lookSpread;
    double moveSpread;
};

enum ApproachKind { kToPlayer, kToFlag, kApproachKinds };

// clang-format off
constexpr Approach kApproaches[] = {
    // slot                    near   look  move
    {GameWorld::kPlayerSlot,   6.5f,  1.0,  2.0},
    {GameWorld::kFlagSlot,     50.0f, 2.0,  2.0},
};
// clang-format on
static_assert(sizeof(kApproaches) / sizeof(kApproaches[0]) == kApproachKinds, "one row per approach");

// The move direction is the whole distance vector, so this is the speed per unit of
// distance: far enemies run, near ones creep.
constexpr float kApproachSpeed = 0.3f;

constexpr float kCameraHeight = 30.0f;
constexpr float kEnemyFrameDuration = 1.0f;  // seconds per keyframe
constexpr int kEnemyWalkAnimation = 1;

// A weapon by the game's rules, or none when the world runs without them.
IWeapon* MakeWeapon(WeaponKind kind, VOB* owner)
{
    IGameRules* rules = GameWorld::Exists() ? GameWorld::GetSingleton().GetRules() : nullptr;
    return rules ? rules->MakeWeapon(kind, owner) : nullptr;
}

// The actor in the slot, or null; the slot keeps it alive.
VOB* ActorIn(int slot)
{
    if (!GameWorld::Exists())
        return nullptr;
    return GameWorld::GetSingleton().GetActor(slot);
}

// The x-y distance to the actor in the slot; false while the slot is empty.
bool DistanceTo(const VOB& from, int slot, float& distance)
{
    const VOB* to = ActorIn(slot);
    if (!to)
        return false;
    const float dx = to->GetX() - from.GetX();
    const float dy = to->GetY() - from.GetY();
    distance = std::sqrt(dx * dx + dy * dy);
    return true;
}

float Scatter(double spread) { return static_cast<float>(CRandom::Unit() * 2.0 * spread - spread); }

void Close(VMOB& e, const Approach& approach)
{
    const VOB* to = ActorIn(approach.slot);
    if (!to)
        return;
    const float ax = to->GetX() - e.GetX();
    const float ay = to->GetY() - e.GetY();
    // One draw for both axes of the look and one for both of the move, in this order.
    const float look = Scatter(approach.lookSpread);
    const float move = Scatter(approach.moveSpread);
    e.SetLookX(ax + look);
    e.SetLookY(ay + look);
    e.SetMoveDirection(ax + move, ay + move, 0.0f);
    e.SetSpeed(kApproachSpeed);
}

}  // namespace

Player::Player()
    : VMOB(kActors[kPlayerKind].type, 0.0f, 0.0f, 0.0f),
      cameraOffset{0.0f, 0.0f, kCameraHeight},
      weapons{},
      currentWeapon(kLaserShotgun)
{
    weapons[kRocketLauncher] = MakeWeapon(WeaponKind::RocketLauncher, this);
    weapons[kLaserMG] = MakeWeapon(WeaponKind::LaserMG, this);
    weapons[kLaserShotgun] = MakeWeapon(WeaponKind::LaserShotgun, this);
    Reset();
    LoadModel(kActors[kPlayerKind].model);
}

Player::~Player()
{
    for (IWeapon* w : weapons)
        delete w;
}

void Player::Reset()
{
    speed = kActors[kPlayerKind].speed;
    position[2] = kActors[kPlayerKind].z;
    diameter = kActors[kPlayerKind].diameter;
    health = kActors[kPlayerKind].health;
    if (GameWorld::Exists())
        GameWorld::GetSingleton().SetResult(GameWorld::kPlaying);
    currentWeapon = kLaserShotgun;
    weapon = weapons[currentWeapon];
}

void Player::NextWeapon()
{
    currentWeapon = (currentWeapon + 1) % kWeaponCount;
    weapon = weapons[currentWeapon];
    model.SetAnimation(kWeaponChangeAnimation, 1);
}

void Player::SetCameraOffset(float x, float y, float z)
{
    cameraOffset[0] = x;
    cameraOffset[1] = y;
    cameraOffset[2] = z;
}

Enemy::Enemy() : VMOB(kActors[kEnemyKind].type, 0.0f, 0.0f, 0.0f), target{0.0f, 0.0f, 0.0f}
{
    speed = kActors[kEnemyKind].speed;
    health = kActors[kEnemyKind].health;
    position[2] = kActors[kEnemyKind].z;
    LoadModel(kActors[kEnemyKind].model);
    model.frameDuration = kEnemyFrameDuration;
    model.SetAnimation(kEnemyWalkAnimation, 0);
    diameter = kActors[kEnemyKind].diameter;
    weapon = MakeWeapon(WeaponKind::LaserMG, this);
}

Enemy::~Enemy() { delete weapon; }

void Enemy::AddWaypoint(float x, float y, float z)
{
    if (path.empty())
        target = {x, y, z};
    path.push_back({x, y, z});
}

bool Enemy::IsPlayerNear() const
{
    float d;
    return DistanceTo(*this, GameWorld::kPlayerSlot, d) && d <= kApproaches[kToPlayer].nearDistance;
}

bool Enemy::IsPlayerInRange() const
{
    float d;
    return weapon && DistanceTo(*this, GameWorld::kPlayerSlot, d) && d <= weapon->GetRange();
}

bool Enemy::IsFlagNear() const
{
    float d;
    return DistanceTo(*this, GameWorld::kFlagSlot, d) && d <= kApproaches[kToFlag].nearDistance;
}

void Enemy::AimAtPlayer() { Close(*this, kApproaches[kToPlayer]); }

void Enemy::HeadForFlag() { Close(*this, kApproaches[kToFlag]); }

Flag::Flag() : VMOB(kActors[kFlagKind].type, 0.0f, 0.0f, 0.0f), carried(false), carrier(nullptr)
{
    speed = kActors[kFlagKind].speed;
    health = kActors[kFlagKind].health;
    position[2] = kActors[kFlagKind].z;
    diameter = kActors[kFlagKind].diameter;
    LoadModel(kActors[kFlagKind].model);
}

void Flag::PickUp(VMOB* by)
{
    carried = true;
    carrier = by;
}

void Flag::Drop()
{
    carried = false;
    carrier = nullptr;
}

void Flag::FollowCarrier()
{
    if (!carried || !carrier)
        return;
    std::cout << "FLAGCARRIER " << carrier->GetX() << " " << carrier->GetY() << "\n";
    nextPosition[0] = carrier->GetX();
    nextPosition[1] = carrier->GetY();
    TryMove();
}

Tower::Tower(float x, float y, float z) : VOB(kActors[kTowerKind].type)
{
    position[0] = x;
    position[1] = y;
    position[2] = z;
    diameter = kActors[kTowerKind].diameter;
    weapon = MakeWeapon(WeaponKind::LaserMG, this);
    LoadModel(kActors[kTowerKind].model);
}

Tower::~Tower() { delete weapon; }
