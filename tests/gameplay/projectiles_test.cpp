// SPDX-License-Identifier: GPL-3.0-or-later
// Projectiles on their own: the laser's bounce, the rocket's explosion, and the particle
// effects they draw.
#include "gameplay/projectiles.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "gameplay/movementtask.h"
#include "scene.h"
#include "world/soundmanager.h"

namespace {

class ProjectilesTest : public velqtest::SceneFixture {
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        CGlobalTimerTask::dT = 1.0f / 64.0f;  // exact in binary: ages add up without error
    }
    void TearDown() override
    {
        if (SoundManager::Exists()) {
            delete &SoundManager::GetSingleton();
            Mix_CloseAudio();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        SceneFixture::TearDown();
    }

    // Fires the player's rocket launcher from (x, y) along +x; the rocket, or null.
    CRocketProjectile* FireRocket(float x, float y)
    {
        Player* p = AddPlayer(x, y);
        p->SetLookX(1.0f);
        p->SetLookY(0.0f);
        p->NextWeapon();
        CClock::Advance(1001);
        p->Fire();
        return TheRocket();
    }

    CRocketProjectile* TheRocket()
    {
        auto movers = World().GetMovers();
        return movers.empty() ? nullptr : dynamic_cast<CRocketProjectile*>(&*movers.front());
    }
    void Frames(int n)
    {
        while (n-- > 0)
            task.Update();
    }

    CMovementTask task;
};

TEST_F(ProjectilesTest, LaserShotTurnsAwayFromTheSideTheObstacleMainlyLiesOn)
{
    // Before the step the shot moves (0.5, 0.5) with look x 1; the rows give the move afterwards.
    const struct { const char* what; const char* obstacle; float nextX, nextY, moveX, moveY, lookX; } cases[] = {
        {"farther across x turns x", "map.wall", 9.6f, 9.8f, -0.5f, 0.5f, -1.0f},
        {"farther across y turns y", "map.wall", 9.8f, 9.6f, 0.5f, -0.5f, -1.0f},
        {"equal turns only the look", "map.wall", 9.7f, 9.7f, 0.5f, 0.5f, -1.0f},
        {"a tower turns it too", "tower", 9.7f, 9.9f, -0.5f, 0.5f, -1.0f},
        {"beyond half the diameters", "map.wall", 9.2f, 9.5f, 0.5f, 0.5f, 1.0f},
        {"an enemy is no obstacle", "enemy", 9.9f, 9.9f, 0.5f, 0.5f, 1.0f},
    };
    for (const auto& c : cases) {
        const std::string type = c.obstacle;
        VOB* obstacle = type == "map.wall" ? Wall(10.0f, 10.0f)
                        : type == "tower"  ? static_cast<VOB*>(Place(new Tower(10, 10, 0), 10.0f, 10.0f, 0.0f))
                                           : AddEnemy(10.0f, 10.0f);
        const bool bounces = c.lookX < 0.0f;
        SCOPED_TRACE(c.what);
        CProjectile* shot = AddShot("projectile.shotgun", "player", 9.0f, 9.0f);
        shot->SetMoveDirection(0.5f, 0.5f, 0.0f);
        shot->SetSpeed(2.0f);
        shot->SetLookX(1.0f);
        shot->SetNextPosition(c.nextX, c.nextY, 1.0f);
        EXPECT_FALSE(shot->CollidesWith(*obstacle)) << "a bounce never blocks";
        EXPECT_EQ(std::make_tuple(shot->GetMoveX(), shot->GetMoveY(), shot->GetLookX()),
                  std::make_tuple(c.moveX, c.moveY, c.lookX));
        // A bounce steps again from where the shot is, one frame older.
        EXPECT_EQ(shot->GetAge(), bounces ? 1.0f / 64.0f : 0.0f);
        EXPECT_FLOAT_EQ(shot->GetNextX(), bounces ? 9.0f + c.moveX / 32.0f : c.nextX);
        EXPECT_FLOAT_EQ(shot->GetNextY(), bounces ? 9.0f + c.moveY / 32.0f : c.nextY);
        Reset();
    }
}

TEST_F(ProjectilesTest, RocketExplodesBeforeAWallOrAtAMuzzleOnItWithItsSoundAndIsGoneAfterFourTenths)
{
    // Only the explosion can be heard: a channel after it means it played.
    dir->Write("Resources/SFX/dsrxplod.ogg", velqtest::Wav(16));
    new SoundManager();
    SoundManager::GetSingleton().LoadSounds();
    Wall(16.0f, 10.0f);
    CRocketProjectile* rocket = FireRocket(10.0f, 10.0f);
    ASSERT_NE(rocket, nullptr);
    EXPECT_EQ(SoundManager::GetSingleton().GetLastChannel(), -1) << "only the launch so far";
    for (int frames = 0; rocket->GetType() == "projectile.rocket" && frames < 200; ++frames)
        Frames(1);
    ASSERT_EQ(rocket->GetType(), "projectile.explosion");
    EXPECT_GE(SoundManager::GetSingleton().GetLastChannel(), 0) << "the explosion's sound";
    // It stops where it was, within one step outside the blast distance of the wall.
    const float x = rocket->GetX();
    EXPECT_GT(x, 15.25f - 4.0f / 64.0f);
    EXPECT_LE(x, 15.25f);
    ASSERT_NE(rocket->Effect(), nullptr);
    EXPECT_EQ(rocket->Effect()->CountActive(), ParticleSystem::kParticleCount) << "the blast";
    Frames(25);  // alive at 0.39 s, killed where it stands at 0.41 s, dropped in the next frame
    EXPECT_FALSE(rocket->IsDead());
    Frames(1);
    EXPECT_EQ(std::make_tuple(rocket->IsDead(), rocket->GetX()), std::make_tuple(true, x));
    Frames(1);
    EXPECT_EQ(TheRocket(), nullptr);

    rocket = FireRocket(14.5f, 10.0f);  // point blank: the muzzle, 15.6, is on the block
    ASSERT_NE(rocket, nullptr);
    EXPECT_EQ(rocket->GetType(), "projectile.explosion");
    EXPECT_NEAR(rocket->GetX(), 15.6f, 1e-5);
    EXPECT_EQ(rocket->GetY(), 10.0f);
    const ParticleSystem* blast = rocket->GetBlast();
    Frames(26);
    EXPECT_TRUE(rocket->IsDead()) << "an explosion beside a wall does not start again";
    EXPECT_EQ(rocket->GetBlast(), blast);
}

TEST_F(ProjectilesTest, LaserTrailIsMadeWhereTheShotIsFirstDrawnAndFollowsIt)
{
    auto* shot = static_cast<CLaserMGProjectile*>(AddShot("projectile.lasermg", "tower", 20.0f, 20.0f));
    shot->SetMoveDirection(1, 0, 0);
    shot->SetSpeed(6.0f);
    EXPECT_EQ(shot->GetTrail(), nullptr) << "none before it is drawn";
    const ParticleSystem* trail = shot->Effect();
    ASSERT_NE(trail, nullptr);
    EXPECT_EQ(std::make_tuple(trail->GetOriginX(), trail->CountActive()), std::make_tuple(20.0f, ParticleSystem::kParticleCount));
    Frames(1);
    EXPECT_EQ(shot->Effect(), trail) << "one trail for the shot's life";
    EXPECT_FLOAT_EQ(trail->GetOriginX(), 20.0f + 6.0f / 64.0f);
}

}  // namespace
