// SPDX-License-Identifier: GPL-3.0-or-later
// Collisions of walking movers: who blocks whom, the slide along walls, unloaded models.
#include "scene.h"

namespace {

class CollisionTest : public velqtest::SceneFixture {
protected:
    // A cube-shaped object of the type at (x, y).
    VOB* Make(const std::string& type, float x, float y)
    {
        if (type == "map.wall")
            return Wall(x, y);
        if (type == "tower")
            return Place(Cube(new Tower(x, y, 0.0f)), x, y, 0.0f);
        if (type == "flag")
            return Place(Cube(new Flag()), x, y);
        return Cube(type == "player" ? static_cast<VMOB*>(AddPlayer(x, y)) : AddEnemy(x, y));
    }
};

TEST_F(CollisionTest, EnemyAtAWallEndsWhereTheSlideLeavesIt)
{
    const struct { const char* what; float fromX, fromY, toX, toY; bool moved; float endX, endY; } cases[] = {
        {"clear of it", 7.0f, 7.0f, 7.2f, 7.3f, true, 7.2f, 7.3f},
        {"wall mainly across y keeps x", 9.0f, 8.8f, 9.2f, 9.1f, true, 9.2f, 8.8f},
        {"wall mainly across x keeps y", 8.8f, 9.0f, 9.1f, 9.2f, true, 8.8f, 9.2f},
        {"diagonal at the corner stops", 8.5f, 8.5f, 9.1f, 9.1f, true, 8.5f, 8.5f},
        {"slid move still inside blocks", 10.0f, 9.2f, 10.1f, 9.3f, false, 10.0f, 9.2f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Wall(10.0f, 10.0f);  // its box covers 9.5 ... 10.5 on both axes
        Enemy* e = Cube(AddEnemy(c.fromX, c.fromY));
        e->SetNextPosition(c.toX, c.toY, 1.0f);
        EXPECT_EQ(e->TryMove(), c.moved);
        EXPECT_FLOAT_EQ(e->GetX(), c.endX);
        EXPECT_FLOAT_EQ(e->GetY(), c.endY);
        Reset();
    }
}

TEST_F(CollisionTest, OnlyWallsBlockEnemiesAndThePlayerIsAlsoBlockedByEnemies)
{
    const struct { const char* mover; const char* other; bool blocks; } cases[] = {
        {"enemy", "enemy", false},  {"enemy", "tower", false},     {"enemy", "flag", false},
        {"enemy", "player", false}, {"enemy", "map.wall", true},   {"player", "enemy", true},
        {"player", "map.wall", true}, {"player", "tower", false},  {"player", "flag", false},
    };
    for (const auto& c : cases) {
        Make(c.other, 21.2f, 20.0f);  // boxes 0.2 apart; the step to 20.5 overlaps by 0.3
        auto* m = static_cast<VMOB*>(Make(c.mover, 20.0f, 20.0f));
        m->SetNextPosition(20.5f, 20.0f, 1.0f);
        m->TryMove();
        EXPECT_FLOAT_EQ(m->GetX(), c.blocks ? 20.0f : 20.5f) << c.mover << " into " << c.other;
        Reset();
    }
}

TEST_F(CollisionTest, PairWithAnUnloadedModelPassesAndSaysSo)
{
    AddEnemy(21.0f, 20.0f);  // no hobgoblin model here
    Player* p = Cube(AddPlayer(20.0f, 20.0f));
    velqtest::CaptureCout out;
    p->SetNextPosition(20.6f, 20.0f, 1.0f);
    EXPECT_TRUE(p->TryMove());
    EXPECT_EQ(out.Text(), "can't check radius between player and enemy\n");
}

}  // namespace
