// The sound manager on the silent audio driver, and the game's generated sounds. (The generated
// models: the asset tests check their animations and boxes, the start-up run that they load.)
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "support/testutil.h"
#include "world/soundmanager.h"

namespace {

using velqtest::Wav;

// Each test in a directory of its own; the audio device is closed afterwards.
class SoundManagerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        manager.reset();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    velqtest::TempDir dir;
    std::unique_ptr<SoundManager> manager;
};

// With the build's generated Resources/ linked in (the test depends on its generation).
class GameData : public SoundManagerTest {
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
};

}  // namespace

// Started with -sound, the game opens no audio: the options run checks it.
TEST_F(SoundManagerTest, FilesThatDoNotLoadAreNamedWithTheReasonAndPlayNothing)
{
    dir.Write("Resources/SFX/shotgun.ogg", Wav(1000));
    dir.Write("Resources/SFX/dsrlaunc.ogg", "not a sound at all");
    dir.Write("Resources/SFX/dsrxplod.ogg", "");  // never handed to the mixer
    dir.Write("Resources/SFX/music.ogg", "");
    manager = std::make_unique<SoundManager>();
    velqtest::CaptureCerr err;
    EXPECT_TRUE(manager->LoadSounds());
    EXPECT_TRUE(!manager->IsMusicLoaded(0) && !manager->IsSoundLoaded(0) && manager->IsSoundLoaded(1) &&
                !manager->IsSoundLoaded(2) && !manager->IsSoundLoaded(3));
    const std::string sfx = "VELQ: Resources/SFX/", on = "; playing on without it\n";
    EXPECT_EQ(err.Text(), sfx + "music.ogg: the file is empty" + on + sfx +
                              "dsplasma.ogg: cannot be opened: No such file or directory" + on + sfx +
                              "dsrxplod.ogg: the file is empty" + on + sfx + "dsrlaunc.ogg: SDL_mixer: " +
                              Mix_GetError() + on);
    EXPECT_TRUE(manager->PlaySound(0) == -1 && manager->GetLastChannel() == -1 && manager->PlaySound(3) == -1);
    EXPECT_GE(manager->PlaySound(1), 0);
    manager->PlayMusic(0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST(SoundManagerDeathTest, NoAudioDeviceEndsWithCodeOneAndSaysHowToRunSilently)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
            SoundManager manager;
        },
        ::testing::ExitedWithCode(1), "cannot open the audio device.*-sound");
}

TEST_F(GameData, EverySoundLoadsTheMusicPlaysAndShotsOverlap)
{
    manager = std::make_unique<SoundManager>();
    EXPECT_TRUE(manager->LoadSounds());
    for (int i = 0; i < SoundManager::kSoundCount; ++i)
        EXPECT_TRUE(manager->IsSoundLoaded(i)) << "sound " << i << ": " << Mix_GetError();
    EXPECT_TRUE(manager->IsMusicLoaded(0)) << Mix_GetError();
    manager->PlayMusic(0);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    // Two shots in quick succession overlap on two channels.
    const int first = manager->PlaySound(SoundManager::kLaserShot);
    const int second = manager->PlaySound(SoundManager::kLaserShot);
    EXPECT_TRUE(first >= 0 && second >= 0 && first != second && manager->GetLastChannel() == second);
    // Switched off by volume, a sound still takes a channel, silently.
    Mix_Volume(-1, 0);
    const int muted = manager->PlaySound(SoundManager::kRocketLaunch);
    EXPECT_TRUE(muted >= 0 && Mix_Playing(muted) == 1);
}
