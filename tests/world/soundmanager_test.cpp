// SPDX-License-Identifier: GPL-3.0-or-later
// The sound manager on the silent audio driver. (The generated sounds and models: the asset
// tests check what they hold, the start-up end-to-end run that they load.)
#include <SDL.h>
#include <SDL_mixer.h>

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
    EXPECT_EQ(std::make_tuple(manager->IsMusicLoaded(0), manager->IsSoundLoaded(0), manager->IsSoundLoaded(1),
                              manager->IsSoundLoaded(2), manager->IsSoundLoaded(3)), std::make_tuple(false, false, true, false, false));
    const std::string sfx = "VELQ: Resources/SFX/", on = "; playing on without it\n";
    EXPECT_EQ(err.Text(), sfx + "music.ogg: the file is empty" + on + sfx +
                              "dsplasma.ogg: cannot be opened: No such file or directory" + on + sfx +
                              "dsrxplod.ogg: the file is empty" + on + sfx + "dsrlaunc.ogg: SDL_mixer: " +
                              Mix_GetError() + on);
    EXPECT_EQ(manager->PlaySound(0), -1);
    EXPECT_EQ(manager->GetLastChannel(), -1);
    EXPECT_EQ(manager->PlaySound(3), -1);
    manager->PlayMusic(0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    // Two shots in quick succession overlap on two channels; switched off by volume, a
    // sound still takes a channel, silently. (The game's own files load in every
    // start-up end-to-end run, which fails on any line about them.)
    const int first = manager->PlaySound(1), second = manager->PlaySound(1);
    EXPECT_EQ(std::make_tuple(first >= 0, second >= 0, first != second, manager->GetLastChannel()),
              std::make_tuple(true, true, true, second)) << first << " " << second;
    Mix_Volume(-1, 0);
    const int muted = manager->PlaySound(1);
    ASSERT_GE(muted, 0);
    EXPECT_EQ(Mix_Playing(muted), 1);
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
