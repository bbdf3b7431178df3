// SPDX-License-Identifier: GPL-3.0-or-later
// The game's shared state: the object lists of the level, the player and flag slots,
// the level number, the display toggles and the outcome.
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "engine/mmanager.h"
#include "engine/singleton.h"
#include "world/toggles.h"

class VOB;
class VMOB;
class Enemy;
class Tower;
class Flag;
class IGameRules;

class GameWorld : public CSingleton<GameWorld> {
public:
    static constexpr int kActorSlots = 3;
    static constexpr int kPlayerSlot = 1;
    static constexpr int kFlagSlot = 2;

    static constexpr int kToggleCount = ::kToggleCount;
    // How long the render task shows a toggle's new state.
    static constexpr uint32_t kToggleShowMs = 2500;

    enum Result { kPlaying = 0, kWon = 1, kLost = 2 };

    // The level start time is the engine clock at creation.
    GameWorld();
    ~GameWorld();

    void AddObject(VOB* object);
    // Movers are also in the all-objects list.
    void AddMover(VMOB* object);
    // Enemies are in the enemy, movers and all-objects lists, and counted.
    void AddEnemy(Enemy* enemy);
    void AddTower(Tower* tower);
    void RemoveMover(VMOB* object);
    // Counted off only while it is listed: removing an enemy twice counts it once.
    void RemoveEnemy(Enemy* enemy);

    // Drops the level's enemies (one " DELETING " line each), towers and remaining
    // movers; only the player stays in the all-objects list. A carried flag is let go
    // of, since its carrier leaves.
    void ClearLevel();
    // Makes every listed object forget its scene-graph node, before that tree is freed.
    void DetachFromSceneGraph();

    // Copies: callers may remove objects while they walk them.
    std::list<CMMPointer<VOB>> GetAllObjects() const;
    // The same copy into a list the caller keeps, so a walk every frame allocates
    // nothing once the list has grown.
    void GetAllObjects(std::vector<CMMPointer<VOB>>& out) const;
    std::list<CMMPointer<VMOB>> GetMovers() const;
    void GetMovers(std::vector<CMMPointer<VMOB>>& out) const;
    std::list<CMMPointer<Enemy>> GetEnemies() const;
    void GetEnemies(std::vector<CMMPointer<Enemy>>& out) const;
    std::list<CMMPointer<Tower>> GetTowers() const;

    // Index 1 the player, 2 the flag.
    CMMPointer<VOB> GetActor(int index) const;
    void SetActor(VOB* object, int index);

    int32_t GetLevel() const { return level; }
    void SetLevel(int32_t l) { level = l; }
    int32_t GetResult() const { return result; }
    void SetResult(int32_t r) { result = r; }
    int32_t GetEnemyCount() const { return enemyCount; }
    void SetEnemyCount(int32_t n) { enemyCount = n; }
    uint32_t GetLevelStartTime() const { return levelStartTime; }
    // Stores the engine clock's tick count.
    void SetLevelStartTime();

    // 0 or 1.
    uint8_t GetToggle(Toggle t) const;
    bool IsOn(Toggle t) const { return GetToggle(t) != 0; }
    // Flips the toggle and shows its new state for 2.5 s.
    void FlipToggle(Toggle t);
    // Sets the toggle without a notice (a player's kept choice).
    void SetToggle(Toggle t, bool on);
    // While the show time runs, true; once it has run out, true one last time, then
    // false until the toggle is flipped again.
    bool IsToggleShown(Toggle t);
    uint32_t GetToggleShownUntil(Toggle t) const;

    // The weapons and collisions of the game; not owned. Without rules actors carry
    // no weapon and nothing blocks a move.
    IGameRules* GetRules() const { return rules; }
    void SetRules(IGameRules* r) { rules = r; }

private:
    // The flag in its actor slot, or null.
    Flag* GetFlag() const;

    std::list<CMMPointer<VOB>> allObjects;
    std::list<CMMPointer<VMOB>> movers;
    std::list<CMMPointer<Enemy>> enemies;
    std::list<CMMPointer<Tower>> towers;
    CMMPointer<VOB> actors[kActorSlots];
    int32_t level;
    uint8_t toggles[kToggleCount];
    uint32_t toggleShownUntil[kToggleCount];
    int32_t result;
    uint32_t levelStartTime;
    int32_t enemyCount;
    IGameRules* rules = nullptr;
};
