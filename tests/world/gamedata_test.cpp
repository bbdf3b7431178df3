// Every generated model and sound of the game loads cleanly.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>

#include "support/testutil.h"
#include "world/md2model.h"
#include "world/modelcache.h"
#include "world/soundmanager.h"

namespace {

// Runs each test in its own directory with the build's generated Resources/ linked in
// (the test depends on its generation).
class GameData : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* env = std::getenv("VELQ_RESOURCES");
        const std::filesystem::path resources = env && *env ? env : VELQ_BUILD_RESOURCES;
        ASSERT_TRUE(std::filesystem::is_directory(resources / "Models") &&
                    std::filesystem::is_directory(resources / "SFX"))
            << "no generated Resources/Models and Resources/SFX under " << resources
            << " (the build makes them with the velq_resources target)";
        std::filesystem::create_directory_symlink(resources, dir.Path() / "Resources");
    }
    velqtest::TempDir dir;
};

}  // namespace

TEST_F(GameData, EveryModelLoadsWithoutAWarningAndHasTheAnimationsTheGameUses)
{
    struct Expected {
        const char* name;
        int minAnimations;  // the player switches to animation 8, the enemy loops 1
    };
    const Expected models[] = {
        {"male.md2", 9}, {"hobgoblin.md2", 2}, {"turret.md2", 0}, {"flag.md2", 1}};
    ModelCache cache;
    for (const Expected& e : models) {
        SCOPED_TRACE(e.name);
        MD2Model model;
        velqtest::CaptureCout capture;
        cache.GetModel(model, e.name);
        EXPECT_EQ(capture.Text(), "");
        EXPECT_TRUE(model.loaded);
        EXPECT_GE(model.animationCount, e.minAnimations);
        for (const MD2Animation& anim : model.animations) {
            EXPECT_GE(anim.start, 0) << anim.name;
            EXPECT_LE(anim.start, anim.end) << anim.name;
            EXPECT_LT(anim.end, model.frameCount) << anim.name;
        }
        // Collision and placement need a real box.
        EXPECT_GT(model.boundingRadius, 0.0);
        EXPECT_GT(model.modelHeight, 0.0);
    }
}

TEST_F(GameData, EverySoundLoads)
{
    {
        SoundManager manager;
        EXPECT_TRUE(manager.LoadSounds());
        for (int i = 0; i < SoundManager::kSoundCount; ++i)
            EXPECT_TRUE(manager.IsSoundLoaded(i)) << "sound " << i << ": " << Mix_GetError();
        EXPECT_TRUE(manager.IsMusicLoaded(0)) << Mix_GetError();
        manager.PlayMusic(0);
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        EXPECT_GE(manager.PlaySound(SoundManager::kExplosion), 0);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
