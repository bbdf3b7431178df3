// Weapons: the rate gate, spawning in front, the shotgun's spread, shots that would
// start off the field.
#include "gameplay/weapons.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "scene.h"

namespace {

using WeaponsTest = velqtest::SceneFixture;

Player* PlayerAt(float x, float y)
{
    Player* p = new Player();
    p->SetNextPosition(x, y, 1.0f);
    p->CommitMove();
    return p;
}

TEST_F(WeaponsTest, ShotgunLaysTenPelletsSpreadInFront)
{
    CMMPointer<Player> p = PlayerAt(20, 20);
    CClock::Advance(1001);
    ASSERT_TRUE(p->Fire());
    auto pellets = World().GetMovers();
    ASSERT_EQ(pellets.size(), 10u);
    bool spread = false;
    for (const auto& a : pellets) {
        EXPECT_EQ(a->GetType(), "projectile.shotgun");
        // Look (0, 1): 1.1 units ahead, each start moved by at most half a unit.
        EXPECT_TRUE(std::fabs(a->GetX() - 20.0f) <= 0.5f && std::fabs(a->GetY() - 21.1f) <= 0.5f &&
                    a->GetMoveY() == 1.0f);
        spread = spread || a->GetX() != pellets.front()->GetX();
    }
    EXPECT_TRUE(spread) << "the pellets do not all start at one point";
}

TEST_F(WeaponsTest, HeldFireShootsInTheFirstFramePastTheGapNotOnAFixedGrid)
{
    // gap: the first multiple of the frame beyond 333.3 ms after the gun was made
    const struct { uint32_t frameMs, gapMs; } cases[] = {
        {16, 336}, {37, 370}, {333, 666}, {334, 334}};
    for (const auto& c : cases) {
        CMMPointer<Tower> t = new Tower(10.0f, 10.0f, 0.0f);
        const uint32_t made = CClock::GetTicks();
        std::vector<uint32_t> shots;
        for (uint32_t elapsed = 0; elapsed < 2000; elapsed += c.frameMs) {
            CClock::Advance(c.frameMs);
            if (t->Fire())
                shots.push_back(CClock::GetTicks() - made);
        }
        ASSERT_GE(shots.size(), 3u) << c.frameMs;
        for (std::size_t i = 0; i < shots.size(); ++i)
            EXPECT_EQ(shots[i], (i + 1) * c.gapMs) << "frames of " << c.frameMs << " ms, shot " << i;
    }
}

TEST_F(WeaponsTest, TowerShotStartsInFrontAlongTheLookUnlessThatIsOffTheField)
{
    const struct { float x, y, lookX, lookY; bool inside; } cases[] = {
        {63.9f, 30.0f, 1.0f, 0.0f, false}, {0.05f, 30.0f, -1.0f, 0.0f, false},
        {30.0f, 63.9f, 0.0f, 1.0f, false}, {30.0f, 0.05f, 0.0f, -1.0f, false},
        {62.0f, 30.0f, -1.0f, 3.0f, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y);
        CMMPointer<Tower> t = new Tower(c.x, c.y, 0.0f);
        t->SetLookX(c.lookX);
        t->SetLookY(c.lookY);
        CClock::Advance(334);
        velqtest::CaptureCout out;
        EXPECT_TRUE(t->Fire()) << "the gun fires all the same";
        EXPECT_EQ(out.Text().find("WARNING"), std::string::npos) << "no object out of the scene graph";
        auto movers = World().GetMovers();
        ASSERT_EQ(movers.size(), c.inside ? 1u : 0u);
        if (c.inside) {
            // Look (-1, 3) divided by |x| + |y|: (-0.25, 0.75); 1.1 units out, at height 1.
            const CMMPointer<VMOB> shot = movers.front();
            EXPECT_TRUE(shot->GetType() == "projectile.lasermg" && shot->GetOwnerType() == "tower" &&
                        shot->GetMoveX() == -0.25f && shot->GetMoveY() == 0.75f && shot->GetSpeed() == 6.0f);
            EXPECT_FLOAT_EQ(shot->GetX(), 62.0f - 0.275f);
            EXPECT_FLOAT_EQ(shot->GetY(), 30.0f + 0.825f);
            EXPECT_TRUE(shot->GetZ() == 1.0f && shot->GetNode() != nullptr);
        }
    }
}

}  // namespace
