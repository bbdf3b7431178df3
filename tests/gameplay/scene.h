// Setting a scene for the gameplay tests: objects placed and registered like a level's,
// walls as the map loader makes them, a unit cube for a model, shots standing by.
#pragma once

#include <string>

#include "gameplay/projectiles.h"
#include "gameplayfixture.h"
#include "world/actors.h"
#include "world/modelcache.h"

namespace velqtest {

class SceneFixture : public GameplayFixture {
protected:
    // Gives o the 1 x 1 x 1 wall cube as its model, whatever model files are missing.
    template <typename T>
    T* Cube(T* o)
    {
        ModelCache::GetSingleton().GetModel(o->GetModel(), ModelCache::kWallModel);
        return o;
    }

    VOB* Wall(float x, float y)
    {
        VOB* wall = new VOB("map.wall");
        wall->LoadModel(ModelCache::kWallModel);
        wall->SetDiameter(1.0f);
        World().AddObject(wall);
        return Place(wall, x, y, 0.5f);
    }

    Player* AddPlayer(float x, float y)
    {
        Player* p = new Player();
        World().AddObject(p);
        World().SetActor(p, GameWorld::kPlayerSlot);
        return Place(p, x, y);
    }

    Enemy* AddEnemy(float x, float y)
    {
        Enemy* e = new Enemy();
        World().AddEnemy(e);
        return Place(e, x, y);
    }

    // A shot of the type standing still at (x, y), living long enough for any test.
    CProjectile* AddShot(const std::string& type, const std::string& owner, float x, float y)
    {
        CProjectile* p = nullptr;
        if (type == "projectile.lasermg")
            p = new CLaserMGProjectile(type, owner, 0, 0, 0);
        else if (type == "projectile.shotgun")
            p = new CLaserShotgunProjectile(type, owner, 0, 0, 0);
        else
            p = new CRocketProjectile(type, owner, 0, 0, 0);
        p->SetMaxAge(100.0f);
        World().AddMover(p);
        return Place(p, x, y);
    }

    bool IsMover(const VMOB* m)
    {
        for (const CMMPointer<VMOB>& o : World().GetMovers()) {
            if (o == m)
                return true;
        }
        return false;
    }
};

}  // namespace velqtest
