// SPDX-License-Identifier: GPL-3.0-or-later
// Scene objects: VOB is everything in a level, VMOB everything that moves by itself.
#pragma once

#include <cstdint>
#include <string>

#include "engine/mmanager.h"
#include "world/md2model.h"
#include "world/scenegraph.h"

class IWeapon;

// The kinds the type strings name, so that the tests every move runs against every
// object nearby tell them apart without comparing strings. Equal kinds other than
// Other mean equal type strings.
enum class VOBKind : uint8_t {
    Other,  // any type string not below
    Ground,
    Wall,
    Player,
    Enemy,
    Tower,
    Flag,
    LaserMG,
    Shotgun,
    Rocket,
    Explosion,
    Count
};
VOBKind KindOfType(const std::string& type);

class VOB : public IMMObject {
public:
    explicit VOB(const std::string& type);
    ~VOB() override;

    unsigned size() override { return sizeof(*this); }
    virtual void Reset() {}

    const std::string& GetType() const { return type; }
    VOBKind GetKind() const { return kind; }
    float GetX() const { return position[0]; }
    float GetY() const { return position[1]; }
    float GetZ() const { return position[2]; }
    float GetNextX() const { return nextPosition[0]; }
    float GetNextY() const { return nextPosition[1]; }
    float GetNextZ() const { return nextPosition[2]; }
    void SetNextPosition(float x, float y, float z);
    void SetNextX(float x) { nextPosition[0] = x; }
    void SetNextY(float y) { nextPosition[1] = y; }
    void SetNextZ(float z) { nextPosition[2] = z; }
    float GetLookX() const { return lookDirection[0]; }
    float GetLookY() const { return lookDirection[1]; }
    float GetLookZ() const { return lookDirection[2]; }
    void SetLookX(float x) { lookDirection[0] = x; }
    void SetLookY(float y) { lookDirection[1] = y; }
    float GetDiameter() const { return diameter; }
    void SetDiameter(float d) { diameter = d; }
    bool IsDead() const { return dead; }
    MD2Model& GetModel() { return model; }
    IWeapon* GetWeapon() const { return weapon; }

    // The scene-graph leaf that lists this object, or null. Only the scene graph sets it.
    SceneGraphNode* GetNode() const { return node; }
    void SetNode(SceneGraphNode* n) { node = n; }

    // Fills the model from the model cache and reports its frame count.
    void LoadModel(const std::string& name);
    // position = nextPosition.
    bool CommitMove();
    // Re-places the object in the scene graph after its position changed. Inline: a
    // shot asks after every wall it misses, and nearly always it is still in its square.
    void UpdateSceneGraph()
    {
        if (node && !node->Contains(position[0], position[1], position[2]))
            node->Relocate(this);
    }
    // Leaves the scene-graph leaf and marks the object dead; the node is remembered,
    // so a dead object can still be asked to move without effect.
    void Kill();
    // Fires the current weapon; false when there is none or it is not ready.
    bool Fire();
    // Moves the model's box to nextPosition; false when no model is loaded.
    bool MoveModelBox();

protected:
    // A new type string, and with it the kind.
    void SetType(const std::string& typeName);

    // What a move reads of every object nearby (kind, position, diameter) comes first,
    // so that it shares one cache line with the object's head.
    SceneGraphNode* node;
    VOBKind kind;  // follows type
    bool dead;
    float position[3];
    float diameter;
    float nextPosition[3];
    float lookDirection[3];

private:
    std::string type;

protected:
    IWeapon* weapon;
    MD2Model model;
};

class VMOB : public VOB {
public:
    VMOB(const std::string& type, float dirX, float dirY, float dirZ);

    unsigned size() override { return sizeof(*this); }

    // Commits nextPosition unless something nearby blocks it.
    virtual bool TryMove();
    // nextPosition from position, direction, speed and the frame time; an axis that
    // would leave the open range 0..64 keeps its current value.
    virtual void ComputeNextPosition();
    // The type of the object that fired this one; empty for everything but projectiles.
    virtual std::string GetOwnerType() { return std::string(); }
    // True when this object may not take its nextPosition because of other; may slide
    // nextPosition. Tolerates other being this object. Movers ask the game's rules.
    virtual bool CollidesWith(VOB& other);
    virtual void AddWaypoint(float x, float y, float z);

    void SetMoveDirection(float x, float y, float z);
    float GetMoveX() const { return moveDirection[0]; }
    float GetMoveY() const { return moveDirection[1]; }
    float GetMoveZ() const { return moveDirection[2]; }
    void SetSpeed(float s) { speed = s; }
    float GetSpeed() const { return speed; }
    int32_t GetHealth() const { return health; }
    void SetHealth(int32_t h) { health = h; }
    void Damage(int32_t amount) { health -= amount; }

    // Radius of the neighbourhood a move is tested against.
    static constexpr float kMoveQueryRadius = 4.0f;

protected:
    float moveDirection[3];
    float speed;
    int32_t health;
};
