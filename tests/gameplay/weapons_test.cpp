// SPDX-License-Identifier: GPL-3.0-or-later
// Weapons: the rate gate, spawning in front, the shotgun's seeded spread, and shots that
// would start off the field.
#include "gameplay/weapons.h"

#include "engine/clock.h"
#include "engine/random.h"
#include "scene.h"

namespace {

using WeaponsTest = velqtest::SceneFixture;

int sounds = 0;  // shot sounds the weapons below played
template <class W>
struct Heard : W {
    using W::W;
    void PlayShotSound() override { ++sounds; }
};

Player* PlayerAt(float x, float y)
{
    Player* p = new Player();
    p->SetNextPosition(x, y, 1.0f);
    p->CommitMove();
    return p;
}

TEST_F(WeaponsTest, ShotgunPelletsStartAtJittersXFirstSeededTwoApartFromTheSecondAndTwoShotsInOneSecondMatch)
{
    // Two shotguns firing in the same frame, looking along +y: ten pellets each.
    CMMPointer<Player> a = PlayerAt(20, 20), b = PlayerAt(40, 30);
    CClock::Advance(1001);
    ASSERT_TRUE(a->Fire());
    ASSERT_TRUE(b->Fire());
    const auto movers = World().GetMovers();
    const std::vector<CMMPointer<VMOB>> pellets(movers.begin(), movers.end());
    ASSERT_EQ(pellets.size(), 20u);
    const uint32_t second = static_cast<uint32_t>(CClock::GetSeconds());
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        CRandom::Seed(second + 2 * (i + 1));
        const float jx = static_cast<float>(CRandom::Unit() - 0.5), jy = static_cast<float>(CRandom::Unit() - 0.5);
        const VMOB &first = *pellets[i], &second = *pellets[10 + i];
        EXPECT_FLOAT_EQ(first.GetX(), 20.0f + jx);
        EXPECT_FLOAT_EQ(first.GetY(), 20.0f + jy + 1.1f);
        EXPECT_FLOAT_EQ(second.GetX() - 20.0f, first.GetX()) << "the same pattern within the second";
        EXPECT_FLOAT_EQ(second.GetY() - 10.0f, first.GetY());
        EXPECT_EQ(std::make_tuple(first.GetType(), first.GetMoveX(), first.GetMoveY()),
                  std::make_tuple("projectile.shotgun", 0.0f, 1.0f));
    }
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

TEST_F(WeaponsTest, ShotStartsInFrontAlongTheLookAndOffTheFieldIsNoShotNoSoundAndTheGunStaysReady)
{
    const struct { float x, y, lookX, lookY; bool shotgun; size_t least, most; } cases[] = {
        {63.9f, 30.0f, 1.0f, 0.0f, false, 0, 0}, {0.05f, 30.0f, -1.0f, 0.0f, false, 0, 0},
        {30.0f, 63.9f, 0.0f, 1.0f, false, 0, 0}, {30.0f, 0.05f, 0.0f, -1.0f, false, 0, 0},
        {62.0f, 30.0f, -1.0f, 3.0f, false, 1, 1},
        {0.3f, 30.0f, -1.0f, 0.0f, true, 0, 0},  // every pellet off the field
        {1.3f, 30.0f, -1.0f, 0.0f, true, 10, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.y << (c.shotgun ? " shotgun" : ""));
        Reset();
        CMMPointer<Tower> t = new Tower(c.x, c.y, 0.0f);
        t->SetLookX(c.lookX);
        t->SetLookY(c.lookY);
        std::unique_ptr<AWeapon> gun(c.shotgun ? static_cast<AWeapon*>(new Heard<CLaserShotgun>(t))
                                               : new Heard<CLaserMG>(t));
        CClock::Advance(1001);
        const float ready = gun->GetLastShot();
        sounds = 0;
        velqtest::CaptureCout out;
        const bool fired = gun->Fire();
        const size_t shots = World().GetMovers().size();
        EXPECT_EQ(std::clamp(shots, c.least, c.most), shots);
        EXPECT_EQ(std::make_tuple(shots > 0, sounds, gun->GetLastShot() != ready), std::make_tuple(fired, int(fired), fired))
            << "a shot, its sound and the time of the last shot go together";
        EXPECT_EQ(out.Text().find("WARNING"), std::string::npos) << "no object out of the scene graph";
        if (!fired) {
            t->SetLookX(-c.lookX), t->SetLookY(-c.lookY);
            EXPECT_TRUE(gun->Fire()) << "turned round in the same frame, it fires";
            EXPECT_EQ(sounds, 1);
        } else if (!c.shotgun) {
            // Look (-1, 3) divided by |x| + |y|: (-0.25, 0.75); 1.1 units out, at height 1.
            const CMMPointer<VMOB> shot = World().GetMovers().front();
            EXPECT_EQ(std::make_tuple(shot->GetType(), shot->GetOwnerType(), shot->GetMoveX(), shot->GetMoveY(),
                                      shot->GetSpeed()),
                      std::make_tuple("projectile.lasermg", "tower", -0.25f, 0.75f, 6.0f));
            EXPECT_FLOAT_EQ(shot->GetX(), 62.0f - 0.275f);
            EXPECT_FLOAT_EQ(shot->GetY(), 30.0f + 0.825f);
            EXPECT_EQ(std::make_tuple(shot->GetZ(), shot->GetNode() != nullptr), std::make_tuple(1.0f, true));
        }
    }
}

}  // namespace
