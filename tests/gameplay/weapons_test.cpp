// Weapons: what each actor carries, the rate gate, spawning in front, the shotgun's
// pattern, shots that would start off the field.
#include "gameplay/weapons.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "scene.h"

namespace {

class WeaponsTest : public velqtest::SceneFixture {
protected:
    static Player* PlayerAt(float x, float y)
    {
        Player* p = new Player();
        p->SetNextPosition(x, y, 1.0f);
        p->CommitMove();
        return p;
    }
    static Tower* TowerLooking(float x, float y, float lookX, float lookY)
    {
        Tower* t = new Tower(x, y, 0.0f);
        t->SetLookX(lookX);
        t->SetLookY(lookY);
        return t;
    }
};

TEST_F(WeaponsTest, TowerLaunchesItsLaserInFrontAlongItsLook)
{
    CMMPointer<Tower> t = TowerLooking(10.0f, 10.0f, -1.0f, 3.0f);
    CClock::Advance(334);
    ASSERT_TRUE(t->Fire());
    auto movers = World().GetMovers();
    ASSERT_EQ(movers.size(), 1u);
    CMMPointer<VMOB> shot = movers.front();
    EXPECT_TRUE(shot->GetType() == "projectile.lasermg" && shot->GetOwnerType() == "tower");
    // Look (-1, 3) divided by |x| + |y|: (-0.25, 0.75); 1.1 units out, at height 1.
    const float want[] = {-0.25f, 0.75f, 10.0f - 0.275f, 10.0f + 0.825f, 1.0f, 6.0f};
    const float got[] = {shot->GetMoveX(), shot->GetMoveY(), shot->GetX(),
                         shot->GetY(),     shot->GetZ(),     shot->GetSpeed()};
    for (int i = 0; i < 6; ++i)
        EXPECT_FLOAT_EQ(got[i], want[i]) << i;
    EXPECT_NE(shot->GetNode(), nullptr) << "in the scene graph";
}

TEST_F(WeaponsTest, ShotgunLaysTenPelletsInTheSamePatternWithinASecond)
{
    CMMPointer<Player> one = PlayerAt(20, 20), two = PlayerAt(40, 44);
    CClock::Advance(1001);
    ASSERT_TRUE(one->Fire());
    auto first = World().GetMovers();
    ASSERT_TRUE(two->Fire());
    auto both = World().GetMovers();
    ASSERT_TRUE(first.size() == 10u && both.size() == 20u);

    auto pellet = std::next(both.begin(), 10);
    bool spread = false;
    for (const auto& a : first) {
        const CMMPointer<VMOB>& b = *pellet++;
        EXPECT_EQ(a->GetType(), "projectile.shotgun");
        // Look (0, 1): 1.1 units ahead, each start moved by at most half a unit, the same for both.
        EXPECT_TRUE(std::fabs(a->GetX() - 20.0f) <= 0.5f && std::fabs(a->GetY() - 21.1f) <= 0.5f &&
                    a->GetMoveY() == 1.0f);
        EXPECT_NEAR(b->GetX() - 40.0f, a->GetX() - 20.0f, 1e-4f);
        EXPECT_NEAR(b->GetY() - 44.0f, a->GetY() - 20.0f, 1e-4f);
        spread = spread || a->GetX() != first.front()->GetX();
    }
    EXPECT_TRUE(spread) << "the pellets do not all start at one point";

    // The next calendar second lays another pattern.
    CClock::Advance(1001);
    ASSERT_TRUE(one->Fire());
    auto all = World().GetMovers();
    auto next = std::next(all.begin(), 20);
    int moved = 0;
    for (const auto& a : first)
        moved += (*next++)->GetX() != a->GetX() ? 1 : 0;
    EXPECT_GT(moved, 5);
}

TEST_F(WeaponsTest, HeldFireShootsInTheFirstFramePastTheGapNotOnAFixedGrid)
{
    // gap: the first multiple of the frame beyond 333.3 ms after the gun was made
    const struct { uint32_t frameMs, gapMs; } cases[] = {
        {16, 336}, {37, 370}, {50, 350}, {111, 444}, {333, 666}, {334, 334}};
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

TEST_F(WeaponsTest, SwitchingWeaponsKeepsEachOnesLastShot)
{
    CMMPointer<Player> p = PlayerAt(20, 20);
    CClock::Advance(1001);
    // The rocket launcher and laser gun have waited since they were made; the shotgun's
    // gap runs from its own last shot.
    for (int weapon = 0; weapon < 3; ++weapon, p->NextWeapon())
        EXPECT_TRUE(p->Fire()) << weapon;
    EXPECT_FALSE(p->Fire());
    CClock::Advance(1000);
    EXPECT_FALSE(p->Fire());
    CClock::Advance(1);
    EXPECT_TRUE(p->Fire());
}

TEST_F(WeaponsTest, ShotThatWouldStartOutsideTheFieldIsNeverMade)
{
    const struct { float x, y, lookX, lookY; bool inside; } cases[] = {
        {63.9f, 30.0f, 1.0f, 0.0f, false}, {0.05f, 30.0f, -1.0f, 0.0f, false},
        {30.0f, 63.9f, 0.0f, 1.0f, false}, {30.0f, 0.05f, 0.0f, -1.0f, false},
        {62.8f, 30.0f, 1.0f, 0.0f, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y);
        CMMPointer<Tower> t = TowerLooking(c.x, c.y, c.lookX, c.lookY);
        CClock::Advance(334);
        velqtest::CaptureCout out;
        EXPECT_TRUE(t->Fire()) << "the gun fires all the same";
        EXPECT_EQ(out.Text().find("WARNING"), std::string::npos) << "no object out of the scene graph";
        auto movers = World().GetMovers();
        ASSERT_EQ(movers.size(), c.inside ? 1u : 0u);
        if (c.inside) {
            EXPECT_FLOAT_EQ(movers.front()->GetX(), 63.9f);
            EXPECT_NE(movers.front()->GetNode(), nullptr);
            World().RemoveMover(movers.front());
            movers.front()->Kill();
        }
    }
}

}  // namespace
