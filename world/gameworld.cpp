// SPDX-License-Identifier: GPL-3.0-or-later
// Object lists, actor slots, toggles and the level's outcome.
#include "world/gameworld.h"

#include <cassert>
#include <cstddef>
#include <iostream>

#include "engine/clock.h"
#include "world/actors.h"
#include "world/vob.h"

namespace {
// Erases every entry that refers to the object.
template <typename List, typename T>
void EraseAll(List& list, T* object)
{
    list.remove_if([object](const auto& p) { return static_cast<void*>(p) == static_cast<void*>(object); });
}
}  // namespace

GameWorld::GameWorld()
    : level(0), toggleShownUntil{}, result(kPlaying), levelStartTime(CClock::GetTicks()), enemyCount(0)
{
    for (const ToggleRow& row : kToggleTable)
        toggles[static_cast<int>(row.toggle)] = row.initial ? 1 : 0;
}

GameWorld::~GameWorld() {}

void GameWorld::AddObject(VOB* object) { allObjects.push_back(object); }

void GameWorld::AddMover(VMOB* object)
{
    movers.push_back(object);
    allObjects.push_back(object);
}

void GameWorld::AddEnemy(Enemy* enemy)
{
    enemies.push_back(enemy);
    movers.push_back(enemy);
    allObjects.push_back(enemy);
    ++enemyCount;
}

void GameWorld::AddTower(Tower* tower)
{
    towers.push_back(tower);
    allObjects.push_back(tower);
}

void GameWorld::RemoveMover(VMOB* object)
{
    // Keep the object alive until the last list has let go of it.
    CMMPointer<VMOB> keep = object;
    EraseAll(movers, object);
    EraseAll(allObjects, static_cast<VOB*>(object));
}

void GameWorld::RemoveEnemy(Enemy* enemy)
{
    CMMPointer<Enemy> keep = enemy;
    // A flag carried by a leaving enemy lies free where it is: it must not go on
    // reading its carrier once the carrier is freed.
    Flag* flag = GetFlag();
    if (flag && flag->GetCarrier() == enemy)
        flag->Drop();
    const std::size_t listed = enemies.size();
    EraseAll(enemies, enemy);
    if (enemies.size() != listed)
        --enemyCount;
    EraseAll(movers, static_cast<VMOB*>(enemy));
    EraseAll(allObjects, static_cast<VOB*>(enemy));
}

std::list<CMMPointer<VOB>> GameWorld::GetAllObjects() const { return allObjects; }
void GameWorld::GetAllObjects(std::vector<CMMPointer<VOB>>& out) const
{
    out.assign(allObjects.begin(), allObjects.end());
}

std::list<CMMPointer<VMOB>> GameWorld::GetMovers() const { return movers; }
void GameWorld::GetMovers(std::vector<CMMPointer<VMOB>>& out) const
{
    out.assign(movers.begin(), movers.end());
}

std::list<CMMPointer<Enemy>> GameWorld::GetEnemies() const { return enemies; }
void GameWorld::GetEnemies(std::vector<CMMPointer<Enemy>>& out) const
{
    out.assign(enemies.begin(), enemies.end());
}

std::list<CMMPointer<Tower>> GameWorld::GetTowers() const { return towers; }

void GameWorld::ClearLevel()
{
    for (const CMMPointer<Enemy>& e : GetEnemies()) {
        std::cout << " DELETING " << e->GetType() << "\n";
        e->Kill();
        RemoveEnemy(e);
    }
    // Towers and shots of the old level must not go on firing and flying in the next.
    for (const CMMPointer<Tower>& t : GetTowers())
        t->Kill();
    towers.clear();
    for (const CMMPointer<VMOB>& m : GetMovers())
        m->Kill();
    movers.clear();
    if (Flag* flag = GetFlag())
        flag->Drop();

    CMMPointer<VOB> player = actors[kPlayerSlot];
    allObjects.clear();
    if (player.isValid())
        allObjects.push_back(player);
}

void GameWorld::DetachFromSceneGraph()
{
    for (const CMMPointer<VOB>& o : allObjects)
        o->SetNode(nullptr);
    for (const CMMPointer<VMOB>& o : movers)
        o->SetNode(nullptr);
    for (const CMMPointer<Enemy>& o : enemies)
        o->SetNode(nullptr);
    for (const CMMPointer<Tower>& o : towers)
        o->SetNode(nullptr);
    for (const CMMPointer<VOB>& o : actors) {
        if (o.isValid())
            o->SetNode(nullptr);
    }
}

Flag* GameWorld::GetFlag() const
{
    VOB* flag = actors[kFlagSlot];
    return flag && flag->GetType() == "flag" ? static_cast<Flag*>(flag) : nullptr;
}

CMMPointer<VOB> GameWorld::GetActor(int index) const
{
    assert(index >= 0 && index < kActorSlots);
    return actors[index];
}

void GameWorld::SetActor(VOB* object, int index)
{
    assert(index >= 0 && index < kActorSlots);
    actors[index] = object;
}

void GameWorld::SetLevelStartTime() { levelStartTime = CClock::GetTicks(); }

namespace {
int Index(Toggle t)
{
    const int index = static_cast<int>(t);
    assert(index >= 0 && index < GameWorld::kToggleCount);
    return index;
}
}  // namespace

uint8_t GameWorld::GetToggle(Toggle t) const { return toggles[Index(t)]; }

void GameWorld::FlipToggle(Toggle t)
{
    const int index = Index(t);
    toggles[index] = toggles[index] == 0 ? 1 : 0;
    toggleShownUntil[index] = CClock::GetTicks() + kToggleShowMs;
}

void GameWorld::SetToggle(Toggle t, bool on) { toggles[Index(t)] = on ? 1 : 0; }

bool GameWorld::IsToggleShown(Toggle t)
{
    const int index = Index(t);
    if (toggleShownUntil[index] == 0)
        return false;
    if (toggleShownUntil[index] > CClock::GetTicks())
        return true;
    toggleShownUntil[index] = 0;
    return true;
}

uint32_t GameWorld::GetToggleShownUntil(Toggle t) const { return toggleShownUntil[Index(t)]; }
