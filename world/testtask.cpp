// SPDX-License-Identifier: GPL-3.0-or-later
// Level start, win check and level change.
#include "world/testtask.h"

#include <iostream>

#include "engine/profiler.h"
#include "world/gameworld.h"
#include "world/scenegraph.h"
#include "world/soundmanager.h"
#include "world/vob.h"

// clang-format off
const char* const TestTask::kLevelMaps[kLevelCount] = {
    "Resources/Maps/select.map",
    "Resources/Maps/level1.map",
    "Resources/Maps/level2.map",
    "Resources/Maps/level3.map",
    "Resources/Maps/level4.map",
};
// clang-format on

TestTask::TestTask() : currentLevel(0) { priority = kPriority; }

bool TestTask::Start()
{
    mapLoader.LoadMap(kLevelMaps[0]);
    std::cout << "Loading Sound Files\n";
    if (SoundManager::Exists()) {
        SoundManager& sound = SoundManager::GetSingleton();
        sound.LoadSounds();
        sound.PlayMusic(0);
    }
    PlaceLevelObjects();
    SceneGraph::GetSingleton().GetRoot()->Dump();
    return true;
}

void TestTask::Update()
{
    PROFILE("Game Task");
    GameWorld& world = GameWorld::GetSingleton();
    // The selection level has no enemies and is never won.
    if (currentLevel != 0 && world.GetEnemyCount() == 0)
        world.SetResult(GameWorld::kWon);

    if (world.GetLevel() != currentLevel)
        ChangeLevel(world.GetLevel());
}

void TestTask::ChangeLevel(int32_t level)
{
    currentLevel = level;
    std::cout << "LEVEL CHANGE\n";

    // Nothing may name a node of the old tree once it is freed.
    GameWorld& world = GameWorld::GetSingleton();
    world.DetachFromSceneGraph();
    delete &SceneGraph::GetSingleton();
    world.ClearLevel();
    new SceneGraph();

    if (level >= 0 && level < kLevelCount)
        mapLoader.LoadMap(kLevelMaps[level]);
    PlaceLevelObjects();
    SceneGraph::GetSingleton().GetRoot()->Dump();
}

void TestTask::PlaceLevelObjects()
{
    SceneGraphNode* root = SceneGraph::GetSingleton().GetRoot();
    for (const CMMPointer<VOB>& o : GameWorld::GetSingleton().GetAllObjects()) {
        o->CommitMove();
        root->Insert(o);
    }
}
