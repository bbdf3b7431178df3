// SPDX-License-Identifier: GPL-3.0-or-later
// Sound effects and background music through SDL_mixer, played by index, and their
// volumes: the one place that talks to the mixer.
#pragma once

#include <cstdint>
#include <string>

#include "engine/singleton.h"

struct Mix_Chunk;
struct _Mix_Music;
class CSettingsManager;

class SoundManager : public CSingleton<SoundManager> {
public:
    static constexpr int kSoundCount = 4;
    static constexpr int kMusicCount = 1;

    // Effect indices, as the weapons ask for them.
    static constexpr int kLaserShot = 0;
    static constexpr int kShotgunShot = 1;
    static constexpr int kExplosion = 2;
    static constexpr int kRocketLaunch = 3;

    // Opens the audio device. Without one the program cannot go on: it says why on
    // standard error and exits with code 1. A silent manager opens nothing and every
    // sound stays unloaded.
    explicit SoundManager(bool openDevice = true);
    // Opens the audio device of a silent manager: "" or why not.
    std::string Open();
    bool IsOpen() const { return open; }
    ~SoundManager();

    // Loads the music and the four effects from Resources/SFX/. A file that cannot be
    // loaded (missing, empty, or refused by the mixer) stays null and plays nothing, with
    // a line on standard error naming it and why. Always true.
    bool LoadSounds();
    // Decodes the whole file as LoadSounds does an effect, and lets it go again: false,
    // with the line LoadSounds prints, when the mixer cannot play it or nothing is open.
    bool Decodes(const std::string& path) const;
    // Plays an effect once on the first free channel; returns the channel, -1 when none
    // was free or the sound is not loaded.
    int PlaySound(int index);
    // Plays a piece of music looping for ever.
    void PlayMusic(int index);

    bool IsSoundLoaded(int index) const;
    bool IsMusicLoaded(int index) const;
    int GetLastChannel() const { return lastChannel; }

    // Halts what plays and closes the audio device, at the end of the game.
    void Close();

    // The mixer's volume controls: SDL_mixer's while the device is open, none in a silent
    // manager; a test puts its own in place.
    struct Mixer {
        int (*channelVolume)(int channel, int volume);  // channel -1: the mean of all
        int (*musicVolume)(int volume);                 // volume -1: only asks
    };
    void SetMixer(Mixer m) { mixer = m; }
    // The effects' and the music's volume in percent (settings volumeFX, volumeMusic):
    // what the mixer is set to at start, and what unmuting returns to.
    static int volumeFX, volumeMusic;
    static constexpr int kFullPercent = 100;
    static void RegisterSettings(CSettingsManager& settings);
    // Sets the mixer to the volumes; before any sound plays, and whenever they change.
    void ApplyVolumes();
    // Mutes the effects and the music, or brings each back to its volume, each on its
    // own state; returns the line that says what now plays.
    std::string SwitchSound();
    // Both the effects and the music silent.
    bool IsMuted() const;

private:
    Mix_Chunk* sounds[kSoundCount] = {};
    _Mix_Music* music[kMusicCount] = {};
    int32_t frequency = 22050;
    uint32_t format = 0x8010;  // AUDIO_S16LSB
    int32_t channels = 2;
    int32_t chunkSize = 1024;
    int32_t lastChannel = -1;
    bool open = false;
    Mixer mixer = {nullptr, nullptr};
};
