// SPDX-License-Identifier: GPL-3.0-or-later
// Scene objects and the per-frame move protocol.
#include "world/vob.h"

#include <iostream>

#include "engine/timertask.h"
#include "world/gameworld.h"
#include "world/modelcache.h"
#include "world/scenegraph.h"
#include "world/gamerules.h"

VOBKind KindOfType(const std::string& type)
{
    struct Row {
        const char* type;
        VOBKind kind;
    };
    // clang-format off
    static const Row kRows[] = {
        {"map.ground",           VOBKind::Ground},
        {"map.wall",             VOBKind::Wall},
        {"player",               VOBKind::Player},
        {"enemy",                VOBKind::Enemy},
        {"tower",                VOBKind::Tower},
        {"flag",                 VOBKind::Flag},
        {"projectile.lasermg",   VOBKind::LaserMG},
        {"projectile.shotgun",   VOBKind::Shotgun},
        {"projectile.rocket",    VOBKind::Rocket},
        {"projectile.explosion", VOBKind::Explosion},
    };
    // clang-format on
    static_assert(sizeof(kRows) / sizeof(kRows[0]) == static_cast<size_t>(VOBKind::Explosion),
                  "one row per kind but Other");
    for (const Row& row : kRows) {
        if (type == row.type)
            return row.kind;
    }
    return VOBKind::Other;
}

VOB::VOB(const std::string& typeName)
    : node(nullptr),
      kind(KindOfType(typeName)),
      dead(false),
      position{5.0f, 5.0f, 1.0f},
      diameter(0.0f),
      // Loaders set only what the map gives; the rest of a commit lands on the ground plane.
      nextPosition{0.0f, 0.0f, 0.0f},
      lookDirection{0.0f, 1.0f, 0.0f},
      type(typeName),
      weapon(nullptr)
{}

VOB::~VOB() {}

void VOB::SetType(const std::string& typeName)
{
    type = typeName;
    kind = KindOfType(typeName);
}

void VOB::SetNextPosition(float x, float y, float z)
{
    nextPosition[0] = x;
    nextPosition[1] = y;
    nextPosition[2] = z;
}

void VOB::LoadModel(const std::string& name)
{
    ModelCache::GetSingleton().GetModel(model, name);
    std::cout << "MD2 Loaded " << model.GetFrameCount() << "\n";
}

bool VOB::CommitMove()
{
    for (int i = 0; i < 3; ++i)
        position[i] = nextPosition[i];
    return true;
}

void VOB::Kill()
{
    // The node may hold the last reference: this object then waits on the dead list
    // until the end of the frame, so touching it afterwards is fine.
    if (node)
        node->Remove(this);
    dead = true;
}

bool VOB::Fire()
{
    if (!weapon)
        return false;
    return weapon->Fire();
}

bool VOB::MoveModelBox()
{
    if (!model.IsLoaded())
        return false;
    model.SetBoxPosition(nextPosition[0], nextPosition[1], nextPosition[2]);
    return true;
}

VMOB::VMOB(const std::string& typeName, float dirX, float dirY, float dirZ)
    : VOB(typeName), moveDirection{dirX, dirY, dirZ}, speed(0.0f), health(0)
{}

void VMOB::SetMoveDirection(float x, float y, float z)
{
    moveDirection[0] = x;
    moveDirection[1] = y;
    moveDirection[2] = z;
}

void VMOB::ComputeNextPosition()
{
    const float step = speed * CGlobalTimerTask::dT;
    for (int i = 0; i < 3; ++i) {
        const float next = position[i] + moveDirection[i] * step;
        // Strictly inside: an axis may never reach the world's border.
        nextPosition[i] = (next > 0.0f && next < SceneGraphNode::kWorldSide) ? next : position[i];
    }
}

bool VMOB::TryMove()
{
    // The flag is carried along and never blocked; an object that is in no scene
    // graph has nothing to be blocked by.
    if (kind != VOBKind::Flag && node) {
        // Every move reuses one list, so a frame allocates nothing here once it has
        // grown; a move started from inside a collision test takes a list of its own.
        static VOBRefs shared;
        static bool sharedInUse = false;
        VOBRefs own;
        const bool nested = sharedInUse;
        VOBRefs& nearby = nested ? own : shared;
        sharedInUse = true;
        nearby.clear();
        node->GetNearby(nearby, this, kMoveQueryRadius);
        bool blocked = false;
        for (VOB* other : nearby) {
            if (CollidesWith(*other)) {
                blocked = true;
                break;
            }
        }
        nearby.clear();
        sharedInUse = nested;
        if (blocked)
            return false;
    }
    CommitMove();
    UpdateSceneGraph();
    return true;
}

bool VMOB::CollidesWith(VOB& other)
{
    IGameRules* rules = GameWorld::Exists() ? GameWorld::GetSingleton().GetRules() : nullptr;
    return rules && rules->CollidesWith(*this, other);
}

void VMOB::AddWaypoint(float, float, float) {}
