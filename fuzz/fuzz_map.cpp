// SPDX-License-Identifier: GPL-3.0-or-later
// The map reader on arbitrary bytes: a map that reads, whose start and flag reach each
// other or not, builds its level into a headless world twice (the selection level, then a level change that keeps the
// player), and tearing the world down leaves no object alive.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/clock.h"
#include "engine/mmanager.h"
#include "fuzz/fuzz_support.h"
#include "world/gamerules.h"
#include "world/gameworld.h"
#include "world/maploader.h"
#include "world/modelcache.h"
#include "world/scenegraph.h"
#include "world/vob.h"

namespace {

// Weapons that never fire, and nothing blocks: loading a level needs no more.
class StandInWeapon : public IWeapon {
public:
    bool Fire() override { return false; }
    float GetRange() override { return 0.0f; }
};
class StandInRules : public IGameRules {
public:
    IWeapon* MakeWeapon(WeaponKind, VOB*) override { return new StandInWeapon(); }
    bool CollidesWith(VMOB&, VOB&) override { return false; }
};

// As the game task places a freshly loaded level in the scene graph.
void PlaceLevel()
{
    SceneGraphNode* root = SceneGraph::GetSingleton().GetRoot();
    for (const CMMPointer<VOB>& o : GameWorld::GetSingleton().GetAllObjects()) {
        o->CommitMove();
        root->Insert(o);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    velqfuzz::SilenceConsole();
    CClock::Drive(10000, 1000000);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static StandInRules rules;
    const std::string path = velqfuzz::WriteInput("Resources/Maps/input.map", data, size);
    velqfuzz::InScratch here;
    std::string cells;
    const velqfuzz::VerdictNotes notes;
    const bool read = MapLoader::ReadCells(path, cells);
    notes.Check(read);
    velqfuzz::Check(read ? cells.size() == MapLoader::kMapBytes : cells.empty(),
                    "the cells read do not match the verdict");
    // An unreadable map ends the program in LoadMap; that path is ReadCells' verdict.
    if (!read)
        return 0;
    // The walk between the start and the flag goes both ways or neither.
    const size_t start = cells.rfind('s'), flag = cells.rfind('f');
    velqfuzz::Check(MapLoader::Reaches(cells, start, flag) == MapLoader::Reaches(cells, flag, start),
                    "a walk between start and flag that goes one way only");

    const int alive = IMMObject::CountLiveObjects();
    new GameWorld();
    GameWorld::GetSingleton().SetRules(&rules);
    new SceneGraph();
    new ModelCache();
    MapLoader loader;
    loader.LoadMap(path);
    PlaceLevel();

    GameWorld& world = GameWorld::GetSingleton();
    world.DetachFromSceneGraph();
    delete &SceneGraph::GetSingleton();
    world.ClearLevel();
    new SceneGraph();
    world.SetLevel(1);
    loader.LoadMap(path);
    PlaceLevel();

    world.DetachFromSceneGraph();
    delete &SceneGraph::GetSingleton();
    delete &GameWorld::GetSingleton();
    delete &ModelCache::GetSingleton();
    IMMObject::CollectGarbage();
    velqfuzz::Check(IMMObject::CountLiveObjects() == alive, "objects of the level outlive the world");
    return 0;
}
