// SPDX-License-Identifier: GPL-3.0-or-later
// The gameplay tests' headless world with the game's real rules, and a scene set as a
// level's: walls as the map loader makes them, a unit cube for a model, shots standing by.
#pragma once

#include "gameplay/gamerules.h"
#include "gameplay/projectiles.h"
#include "support/worldfixture.h"
#include "world/actors.h"
#include "world/modelcache.h"

namespace velqtest {

class SceneFixture : public WorldFixture {
protected:
    IGameRules* Rules() override
    {
        static CGameRules rules;
        return &rules;
    }
    // A fresh world for the next row of a table.
    void Reset() { TearDown(), SetUp(); }

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
    Flag* AddFlag(float x, float y)
    {
        Flag* f = Place(new Flag(), x, y);
        World().SetActor(f, GameWorld::kFlagSlot);
        return f;
    }
    // A shot of the type standing still at (x, y), living long enough for any test.
    CProjectile* AddShot(const std::string& type, const std::string& owner, float x, float y)
    {
        CProjectile* p = type == "projectile.lasermg"   ? new CLaserMGProjectile(type, owner, 0, 0, 0)
                         : type == "projectile.shotgun" ? static_cast<CProjectile*>(
                                                              new CLaserShotgunProjectile(type, owner, 0, 0, 0))
                                                        : new CRocketProjectile(type, owner, 0, 0, 0);
        p->SetMaxAge(100.0f);
        World().AddMover(p);
        return Place(p, x, y);
    }
    bool IsMover(const VMOB* m)
    {
        for (const CMMPointer<VMOB>& o : World().GetMovers())
            if (o == m)
                return true;
        return false;
    }
};

}  // namespace velqtest
