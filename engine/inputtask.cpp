// Keyboard and mouse sampled once per frame from SDL's polled state.
#include "engine/inputtask.h"

#include <SDL.h>

#include <cstring>

#include "engine/recording.h"
#include "engine/videotask.h"

unsigned char* CInputTask::keys = nullptr;
int CInputTask::keyCount = 0;
CMMPointer<CMMDynamicBlob<unsigned char>> CInputTask::oldKeys;
int CInputTask::mouseX = 0;
int CInputTask::mouseY = 0;
uint32_t CInputTask::buttons = 0;
uint32_t CInputTask::oldButtons = 0;

bool CInputTask::Start()
{
    keys = SDL_GetKeyState(&keyCount);
    oldKeys = new CMMDynamicBlob<unsigned char>(keyCount);
    std::memset(oldKeys->getBuffer(), 0, keyCount);
    mouseX = mouseY = 0;
    SDL_PumpEvents();
    SDL_PumpEvents();
    return true;
}

void CInputTask::Update()
{
    oldButtons = buttons;
    if (CGameRecording::IsPlayingBack()) {
        // The devices are ignored, but the window's events still have to be taken.
        std::memcpy(oldKeys->getBuffer(), keys, keyCount);
        SDL_PumpEvents();
        CGameRecording::SupplyInput();
        return;
    }
    buttons = SDL_GetRelativeMouseState(&mouseX, &mouseY) & 0xFF;
    SDL_GetMouseState(&mouseX, &mouseY);
    // No allocation per frame: the old-keys buffer was made once at start.
    std::memcpy(oldKeys->getBuffer(), keys, keyCount);
    SDL_PumpEvents();
    keys = SDL_GetKeyState(&keyCount);
    CGameRecording::InputRead();
}

void CInputTask::Stop()
{
    keys = nullptr;
    oldKeys = nullptr;
}

bool CInputTask::curKey(int index)
{
    if (!keys || index < 0 || index >= keyCount)
        return false;
    return keys[index] != 0;
}

bool CInputTask::oldKey(int index)
{
    if (!oldKeys)
        return false;
    return (*oldKeys)[index] != 0;
}

float CInputTask::normMouseX()
{
    return static_cast<float>(mouseX / (CVideoTask::scrWidth / 2.0) - 1.0);
}

float CInputTask::normMouseY()
{
    return static_cast<float>(-(mouseY / (CVideoTask::scrHeight / 2.0) - 1.0));
}
