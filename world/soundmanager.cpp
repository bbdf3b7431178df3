// SPDX-License-Identifier: GPL-3.0-or-later
// Audio device, sound and music loading and playback.
#include "world/soundmanager.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "engine/filenotes.h"
#include "engine/settings.h"

int SoundManager::volumeFX = 100;
int SoundManager::volumeMusic = 100;

namespace {

constexpr int kFullVolume = MIX_MAX_VOLUME;
int MixerVolume(int percent) { return percent * kFullVolume / SoundManager::kFullPercent; }
int Percent(int mixerVolume)
{
    return (mixerVolume * SoundManager::kFullPercent + kFullVolume / 2) / kFullVolume;
}

constexpr const char* kSoundFiles[SoundManager::kSoundCount] = {
    "Resources/SFX/dsplasma.ogg",
    "Resources/SFX/shotgun.ogg",
    "Resources/SFX/dsrxplod.ogg",
    "Resources/SFX/dsrlaunc.ogg",
};
constexpr const char* kMusicFiles[SoundManager::kMusicCount] = {
    "Resources/SFX/music.ogg",
};

}  // namespace

SoundManager::SoundManager(bool openDevice)
{
    if (!openDevice)
        return;  // silent: nothing is opened, loaded or played
    const std::string why = Open();
    if (!why.empty()) {
        fprintf(stderr,
                "VELQ: cannot open the audio device (%s); to play without sound, start the "
                "game with the setting -sound (velq -sound), or with SDL_AUDIODRIVER=dummy\n",
                why.c_str());
        exit(1);
    }
}

std::string SoundManager::Open()
{
    SDL_Init(SDL_INIT_AUDIO);
    if (Mix_OpenAudio(frequency, static_cast<Uint16>(format), channels, chunkSize) != 0)
        return Mix_GetError();
    open = true;
    mixer = {Mix_Volume, Mix_VolumeMusic};
    return "";
}

SoundManager::~SoundManager()
{
    // The game never deletes the manager; the chunks go with it where it is deleted.
    int rate = 0;
    Uint16 fmt = 0;
    int outChannels = 0;
    if (Mix_QuerySpec(&rate, &fmt, &outChannels)) {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
    }
    for (Mix_Chunk*& chunk : sounds) {
        if (chunk)
            Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    for (Mix_Music*& piece : music) {
        if (piece)
            Mix_FreeMusic(piece);
        piece = nullptr;
    }
}

namespace {

// Why the file cannot be handed to the mixer, or "" when it can: the mixer reads an empty
// file's missing bytes as if they were there.
std::string Unusable(const char* path)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return std::string("cannot be opened: ") + std::strerror(errno);
    const bool empty = std::fgetc(f) == EOF;
    std::fclose(f);
    return empty ? "the file is empty" : "";
}

// The file and the reason on standard error, and to the file notes; the game goes on
// without the sound.
void SayNotLoaded(const char* path, const std::string& why)
{
    std::cerr << "VELQ: " << path << ": " << why << "; playing on without it\n";
    CFileNotes::Warning(why + "; the game plays on without it");
}

// An effect decoded whole, or null after saying why.
Mix_Chunk* LoadEffect(const char* path)
{
    const std::string unusable = Unusable(path);
    // The mixer frees the stream.
    SDL_RWops* stream = unusable.empty() ? SDL_RWFromFile(path, "rb") : nullptr;
    Mix_Chunk* chunk = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    if (!chunk)
        SayNotLoaded(path, unusable.empty() ? std::string("SDL_mixer: ") + Mix_GetError() : unusable);
    return chunk;
}

}  // namespace

bool SoundManager::LoadSounds()
{
    if (!open)
        return true;
    for (int i = 0; i < kMusicCount; ++i) {
        const std::string unusable = Unusable(kMusicFiles[i]);
        music[i] = unusable.empty() ? Mix_LoadMUS(kMusicFiles[i]) : nullptr;
        if (!music[i])
            SayNotLoaded(kMusicFiles[i], unusable.empty() ? std::string("SDL_mixer: ") + Mix_GetError() : unusable);
    }
    for (int i = 0; i < kSoundCount; ++i)
        sounds[i] = LoadEffect(kSoundFiles[i]);
    return true;
}

bool SoundManager::Decodes(const std::string& path) const
{
    Mix_Chunk* chunk = open ? LoadEffect(path.c_str()) : nullptr;
    if (chunk)
        Mix_FreeChunk(chunk);
    return chunk != nullptr;
}

int SoundManager::PlaySound(int index)
{
    assert(index >= 0 && index < kSoundCount);
    lastChannel = sounds[index] ? Mix_PlayChannelTimed(-1, sounds[index], 0, -1) : -1;
    return lastChannel;
}

void SoundManager::PlayMusic(int index)
{
    assert(index >= 0 && index < kMusicCount);
    if (music[index])
        Mix_PlayMusic(music[index], -1);
}

bool SoundManager::IsSoundLoaded(int index) const
{
    return index >= 0 && index < kSoundCount && sounds[index] != nullptr;
}

bool SoundManager::IsMusicLoaded(int index) const
{
    return index >= 0 && index < kMusicCount && music[index] != nullptr;
}

void SoundManager::Close()
{
    if (!open)
        return;
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    open = false;
    mixer = {nullptr, nullptr};
}

void SoundManager::RegisterSettings(CSettingsManager& settings)
{
    settings.RegisterVariable("volumeFX", CMMPointer<BaseDator>(new Dator<int>(volumeFX, 0, kFullPercent)));
    settings.RegisterVariable("volumeMusic", CMMPointer<BaseDator>(new Dator<int>(volumeMusic, 0, kFullPercent)));
}

void SoundManager::ApplyVolumes()
{
    if (!mixer.channelVolume)
        return;
    mixer.channelVolume(-1, MixerVolume(volumeFX));
    mixer.musicVolume(MixerVolume(volumeMusic));
}

std::string SoundManager::SwitchSound()
{
    if (!mixer.channelVolume)
        return "Sound: none (started with -sound)";
    // Channels and music are switched each on its own state, back to the volumes set.
    mixer.channelVolume(-1, mixer.channelVolume(-1, -1) != 0 ? 0 : MixerVolume(volumeFX));
    mixer.musicVolume(mixer.musicVolume(-1) != 0 ? 0 : MixerVolume(volumeMusic));
    const int effects = mixer.channelVolume(-1, -1), tune = mixer.musicVolume(-1);
    if (effects == 0 && tune == 0)
        return "Sound off";
    return "Sound on: effects " + std::to_string(Percent(effects)) + " %, music " + std::to_string(Percent(tune)) +
           " %";
}

bool SoundManager::IsMuted() const
{
    return mixer.channelVolume && mixer.channelVolume(-1, -1) == 0 && mixer.musicVolume(-1) == 0;
}
