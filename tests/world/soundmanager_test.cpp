// The sound manager on the silent audio driver.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "support/testutil.h"
#include "world/soundmanager.h"

namespace {

using velqtest::Wav;

const char* const kEffectFiles[] = {"dsplasma.ogg", "shotgun.ogg", "dsrxplod.ogg", "dsrlaunc.ogg"};

class SoundManagerTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        manager.reset();
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::unique_ptr<SoundManager> manager;
};

}  // namespace

TEST_F(SoundManagerTest, OpensTheDeviceAndLoadsAndPlaysTheFourEffects)
{
    velqtest::TempDir dir;
    // The music is read as Ogg by its name; the generated game data covers it.
    for (const char* name : kEffectFiles)
        dir.Write(std::string("Resources/SFX/") + name, Wav(22050));
    manager = std::make_unique<SoundManager>();
    ASSERT_TRUE(SoundManager::Exists());

    int rate = 0, outChannels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&rate, &format, &outChannels), 1);
    EXPECT_TRUE(rate == 22050 && format == AUDIO_S16LSB && outChannels == 2);

    EXPECT_TRUE(manager->LoadSounds());
    for (int i = 0; i < SoundManager::kSoundCount; ++i)
        EXPECT_TRUE(manager->IsSoundLoaded(i)) << i;

    // Two shots in quick succession overlap on two channels.
    const int first = manager->PlaySound(SoundManager::kLaserShot);
    const int second = manager->PlaySound(SoundManager::kLaserShot);
    EXPECT_TRUE(first >= 0 && second >= 0 && first != second) << first << " " << second;
    EXPECT_EQ(manager->GetLastChannel(), second);

    // Switched off by volume, a sound still takes a channel, silently.
    Mix_Volume(-1, 0);
    const int muted = manager->PlaySound(SoundManager::kRocketLaunch);
    EXPECT_TRUE(muted >= 0 && Mix_Playing(muted) == 1);
}

TEST_F(SoundManagerTest, MissingFilesStayUnloadedAndPlayNothing)
{
    velqtest::TempDir dir;
    dir.Write("Resources/SFX/shotgun.ogg", Wav(1000));
    dir.Write("Resources/SFX/dsrlaunc.ogg", "not a sound at all");
    manager = std::make_unique<SoundManager>();
    EXPECT_TRUE(manager->LoadSounds());
    EXPECT_TRUE(!manager->IsMusicLoaded(0) && !manager->IsSoundLoaded(0) && manager->IsSoundLoaded(1) &&
                !manager->IsSoundLoaded(3));
    EXPECT_EQ(manager->PlaySound(0), -1);
    EXPECT_EQ(manager->GetLastChannel(), -1);
    EXPECT_EQ(manager->PlaySound(3), -1);
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
