// SPDX-License-Identifier: GPL-3.0-or-later
// Particle systems: birth from the clock's seed, the step, respawn, and the pause.
#include "gameplay/particles.h"

#include "engine/clock.h"
#include "engine/pause.h"
#include "support/testutil.h"

namespace {

class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override { CClock::Drive(5000); }
    void TearDown() override { CClock::Release(); }
};

// A whole speed of -25 ... 24, times the burst factor.
bool IsSpeed(float v, float factor)
{
    const float s = v / factor;
    return s == std::floor(s) && s >= -25.0f && s <= 24.0f;
}

TEST_F(ParticlesTest, SystemStartsRedAtItsOriginFromTheClocksSeedWithSpeedsByTheBurst)
{
    for (const bool burst : {false, true}) {
        const ParticleSystem s(10.0f, 20.0f, 1.0f, burst);
        const ParticleSystem same(10.0f, 20.0f, 1.0f, burst);
        const float xy = burst ? 5.0f : 1.0f;
        const float z = burst ? 15.0f : 1.0f;
        int spread = 0;
        for (int i = 0; i < ParticleSystem::kParticleCount; ++i) {
            const Particle& p = s.GetParticle(i);
            EXPECT_EQ(std::make_tuple(p.active, p.life, std::clamp(p.fade, 0.003f, 0.1021f), p.r, p.g, p.x, p.y, p.z),
                      std::make_tuple(true, 1.0f, p.fade, 1.0f, 0.0f, 10.0f, 20.0f, 1.0f)) << i;
            EXPECT_EQ(std::make_tuple(IsSpeed(p.vx, xy), IsSpeed(p.vy, xy), IsSpeed(p.vz, z)), std::make_tuple(true, true, true))
                << i << " " << burst << ": " << p.vx << " " << p.vy << " " << p.vz;
            EXPECT_EQ(std::make_tuple(p.vx, p.fade), std::make_tuple(same.GetParticle(i).vx, same.GetParticle(i).fade))
                << "same tick";
            spread += p.vx != s.GetParticle(0).vx ? 1 : 0;
        }
        EXPECT_GT(spread, 50);
    }
}

TEST_F(ParticlesTest, SpentParticlesGoOutOrStartAgainAtTheCurrentOriginWithoutBurst)
{
    // The slowest fade, 0.003 a step, spends a life within 334 steps.
    ParticleSystem once(0, 0, 0, true);
    ParticleSystem again(10.0f, 10.0f, 1.0f, true);
    again.SetOrigin(30.0f, 40.0f, 2.0f);
    int reborn = 0;
    for (int step = 0; step < 334; ++step) {
        once.Advance(false);
        std::vector<float> lives;
        for (int i = 0; i < ParticleSystem::kParticleCount; ++i)
            lives.push_back(again.GetParticle(i).life);
        again.Advance(true);
        for (int i = 0; i < ParticleSystem::kParticleCount; ++i) {
            const Particle& p = again.GetParticle(i);
            if (p.life <= lives[i])
                continue;
            ++reborn;
            EXPECT_EQ(std::make_tuple(p.life, p.r, p.x, p.y, p.z), std::make_tuple(1.0f, 1.0f, 30.0f, 40.0f, 2.0f));
            EXPECT_TRUE(IsSpeed(p.vx, 1.0f) && IsSpeed(p.vz, 1.0f)) << "a rebirth never bursts: " << p.vx << " " << p.vz;
        }
    }
    EXPECT_EQ(once.CountActive(), 0);
    EXPECT_EQ(again.CountActive(), ParticleSystem::kParticleCount);
    EXPECT_GE(reborn, ParticleSystem::kParticleCount);
}

TEST_F(ParticlesTest, NothingMovesWhileTheGameIsPaused)
{
    ParticleSystem s(10.0f, 20.0f, 1.0f, true);
    velqtest::CaptureCout quiet;
    CPause::Set(true);
    s.Advance(true);
    const Particle& p = s.GetParticle(7);
    EXPECT_EQ(p.life, 1.0f);
    EXPECT_EQ(p.x, 10.0f);
    CPause::Set(false);
    s.Advance(true);
    EXPECT_LT(p.life, 1.0f);
}

}  // namespace
