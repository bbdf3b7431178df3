// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard, mouse and controller sampled once per frame from SDL's polled state.
#include "engine/inputtask.h"

#include <SDL.h>

#include <cstring>
#include <iostream>

#include "engine/recording.h"
#include "engine/screen.h"

static_assert(CInputTask::kKeyInputs == SDLK_LAST, "one input number per key symbol");
static_assert(CInputTask::kEscapeKey == SDLK_ESCAPE && CInputTask::kLeftButton == SDL_BUTTON_LEFT,
              "the keys the game names are SDL's");
static_assert(SDL_HAT_UP == 1 && SDL_HAT_RIGHT == 2 && SDL_HAT_DOWN == 4 && SDL_HAT_LEFT == 8,
              "the hat's bits go into the button mask as SDL gives them");
static_assert(SDL_APPMOUSEFOCUS == CInputTask::kMouseFocus && SDL_APPINPUTFOCUS == CInputTask::kInputFocus &&
                  SDL_APPACTIVE == CInputTask::kActive,
              "the application state is kept as SDL gives it");

unsigned char* CInputTask::keys = nullptr;
int CInputTask::keyCount = 0;
CMMPointer<CMMDynamicBlob<unsigned char>> CInputTask::oldKeys;
int CInputTask::mouseX = 0;
int CInputTask::mouseY = 0;
int CInputTask::cursorWidth = CScreen::kFrameWidth;
int CInputTask::cursorHeight = CScreen::kFrameHeight;
uint8_t CInputTask::appState = CInputTask::kAllFocus;
uint8_t CInputTask::oldAppState = CInputTask::kAllFocus;
uint32_t CInputTask::buttons = 0;
uint32_t CInputTask::oldButtons = 0;
int16_t CInputTask::padAxes[kPadAxes] = {};
int16_t CInputTask::oldPadAxes[kPadAxes] = {};
uint32_t CInputTask::padButtons = 0;
uint32_t CInputTask::oldPadButtons = 0;
int CInputTask::padOn = 1;

namespace {
SDL_Joystick* pad = nullptr;
}  // namespace

bool CInputTask::Start()
{
    keys = SDL_GetKeyState(&keyCount);
    oldKeys = new CMMDynamicBlob<unsigned char>(keyCount);
    std::memset(oldKeys->getBuffer(), 0, keyCount);
    mouseX = mouseY = 0;
    appState = oldAppState = kAllFocus;
    padButtons = oldPadButtons = 0;
    std::memset(padAxes, 0, sizeof padAxes);
    std::memset(oldPadAxes, 0, sizeof oldPadAxes);
    // A replay's controller is in its file.
    if (padOn && !CGameRecording::IsPlayingBack() && SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) {
        if (SDL_NumJoysticks() > 0 && (pad = SDL_JoystickOpen(0)) != nullptr) {
            // Polled below, like the keyboard: no events pile up in SDL's queue.
            SDL_JoystickEventState(SDL_IGNORE);
            std::cout << "Controller: " << SDL_JoystickName(0) << " (" << SDL_JoystickNumAxes(pad) << " axes, "
                      << SDL_JoystickNumButtons(pad) << " buttons; -pad leaves it alone)\n";
        }
        if (!pad)
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    SDL_PumpEvents();
    SDL_PumpEvents();
    return true;
}

void CInputTask::Update()
{
    oldButtons = buttons;
    oldAppState = appState;
    oldPadButtons = padButtons;
    std::memcpy(oldPadAxes, padAxes, sizeof padAxes);
    if (CGameRecording::IsPlayingBack()) {
        // The devices are ignored, but the window's events still have to be taken.
        std::memcpy(oldKeys->getBuffer(), keys, keyCount);
        SDL_PumpEvents();
        CGameRecording::SupplyInput();
        return;
    }
    buttons = SDL_GetRelativeMouseState(&mouseX, &mouseY) & 0xFF;
    SDL_GetMouseState(&mouseX, &mouseY);
    CScreen::CursorToFrame(mouseX, mouseY);
    // No allocation per frame: the old-keys buffer was made once at start.
    std::memcpy(oldKeys->getBuffer(), keys, keyCount);
    SDL_PumpEvents();
    keys = SDL_GetKeyState(&keyCount);
    appState = SDL_GetAppState() & kAllFocus;
    PollPad();
    CGameRecording::InputRead();
}

void CInputTask::PollPad()
{
    if (!pad)
        return;
    SDL_JoystickUpdate();
    const int axes = SDL_JoystickNumAxes(pad);
    for (int i = 0; i < kPadAxes; ++i)
        padAxes[i] = i < axes ? SDL_JoystickGetAxis(pad, i) : 0;
    uint32_t down = 0;
    const int count = SDL_JoystickNumButtons(pad);
    for (int b = 0; b < kPadButtons && b < count; ++b)
        down |= SDL_JoystickGetButton(pad, b) ? 1u << b : 0u;
    if (SDL_JoystickNumHats(pad) > 0)
        down |= static_cast<uint32_t>(SDL_JoystickGetHat(pad, 0) & 0xF) << kPadButtons;
    padButtons = down;
}

void CInputTask::Stop()
{
    keys = nullptr;
    oldKeys = nullptr;
    if (pad) {
        SDL_JoystickClose(pad);
        pad = nullptr;
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
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

namespace {
// Held in the state given: a key, a button of either mask, a hat bit, an axis past half way.
bool Held(int input, bool (*key)(int), uint32_t mouse, uint32_t pad, const int16_t* axes)
{
    if (input < 0)
        return false;
    if (input < CInputTask::kMouseInput)
        return key(input);
    if (input < CInputTask::kPadButtonInput)
        return (mouse >> (input - CInputTask::kMouseInput) & 1u) != 0;
    if (input < CInputTask::kPadAxisInput)
        return (pad >> (input - CInputTask::kPadButtonInput) & 1u) != 0;
    if (input < CInputTask::kInputCount) {
        const int axis = (input - CInputTask::kPadAxisInput) / 2;
        const bool below = (input - CInputTask::kPadAxisInput) % 2 != 0;
        return below ? axes[axis] <= -CInputTask::kPadAxisHalf : axes[axis] >= CInputTask::kPadAxisHalf;
    }
    return false;
}
}  // namespace

bool CInputTask::curInput(int input) { return Held(input, curKey, buttons, padButtons, padAxes); }

bool CInputTask::oldInput(int input)
{
    // The old key array is read within its bounds only.
    auto old = [](int key) { return oldKeys && key < static_cast<int>(oldKeys->getDataSize()) && oldKey(key); };
    return Held(input, old, oldButtons, oldPadButtons, oldPadAxes);
}

float CInputTask::normMouseX()
{
    return static_cast<float>(mouseX / (cursorWidth / 2.0) - 1.0);
}

float CInputTask::normMouseY()
{
    return static_cast<float>(-(mouseY / (cursorHeight / 2.0) - 1.0));
}
