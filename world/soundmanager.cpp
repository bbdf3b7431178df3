// Audio device, sound and music loading and playback.
#include "world/soundmanager.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace {

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
    SDL_Init(SDL_INIT_AUDIO);
    if (Mix_OpenAudio(frequency, static_cast<Uint16>(format), channels, chunkSize) != 0) {
        fprintf(stderr,
                "VELQ: cannot open the audio device (%s); to play without sound, start the "
                "game with the setting -sound (velq -sound), or with SDL_AUDIODRIVER=dummy\n",
                Mix_GetError());
        exit(1);
    }
    open = true;
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

bool SoundManager::LoadSounds()
{
    if (!open)
        return true;
    for (int i = 0; i < kMusicCount; ++i)
        music[i] = Mix_LoadMUS(kMusicFiles[i]);
    for (int i = 0; i < kSoundCount; ++i) {
        // The mixer frees the stream; a missing file gives a null stream and a null chunk.
        SDL_RWops* stream = SDL_RWFromFile(kSoundFiles[i], "rb");
        sounds[i] = stream ? Mix_LoadWAV_RW(stream, 1) : nullptr;
    }
    return true;
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
