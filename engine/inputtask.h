// SPDX-License-Identifier: GPL-3.0-or-later
// Polled keyboard, mouse and controller state, this frame and the last. The class-wide
// state is the seam tests write to directly.
#pragma once

#include <cstdint>

#include "engine/kernel.h"

class CInputTask : public ITask {
public:
    // Opens the first controller SDL finds, unless the pad setting is 0 or a recording
    // is played back.
    bool Start() override;
    void Update() override;
    void Stop() override;
    unsigned size() override { return sizeof(*this); }

    // A key is an SDL 1.2 key symbol; keys outside the array count as not held.
    static bool curKey(int index);
    static bool oldKey(int index);
    static bool keyDown(int index) { return curKey(index) && !oldKey(index); }
    static bool keyStillDown(int index) { return curKey(index) && oldKey(index); }

    // The keys and buttons the game names itself (SDLK_ESCAPE, SDL_BUTTON_LEFT).
    static constexpr int kEscapeKey = 27, kLeftButton = 1;

    // A button is an SDL button number, 1 for the left button.
    static bool curMouse(int button) { return (buttons & (1u << (button - 1))) != 0; }
    static bool oldMouse(int button) { return (oldButtons & (1u << (button - 1))) != 0; }
    static bool mouseDown(int button) { return curMouse(button) && !oldMouse(button); }
    static bool mouseStillDown(int button) { return curMouse(button) && oldMouse(button); }

    // Cursor in -1..1: x to the right, y upwards.
    static float normMouseX();
    static float normMouseY();

    // SDL's application state: the window has the keyboard, and is not minimised.
    static constexpr uint8_t kMouseFocus = 1, kInputFocus = 2, kActive = 4;  // SDL_APPMOUSEFOCUS ...
    static constexpr uint8_t kAllFocus = kMouseFocus | kInputFocus | kActive;
    static bool HasFocus(uint8_t state) { return (state & (kInputFocus | kActive)) == (kInputFocus | kActive); }
    // The window lost the keyboard or was minimised since the last frame.
    static bool focusLost() { return HasFocus(oldAppState) && !HasFocus(appState); }

    // Every key, mouse button and controller input by one number, as bindings name
    // them: the keys by SDL symbol, then the mouse buttons, the controller's buttons,
    // its hat's four directions and its axes pushed past half way to either side.
    static constexpr int kKeyInputs = 323;  // SDLK_LAST
    static constexpr int kMouseButtons = 8, kPadButtons = 28, kPadHatBits = 4, kPadAxes = 8;
    static constexpr int kMouseInput = kKeyInputs;                   // + button - 1
    static constexpr int kPadButtonInput = kMouseInput + kMouseButtons;  // + button
    static constexpr int kPadHatInput = kPadButtonInput + kPadButtons;   // + up, right, down, left
    static constexpr int kPadAxisInput = kPadHatInput + kPadHatBits;     // + 2 * axis, + 1 below
    static constexpr int kInputCount = kPadAxisInput + 2 * kPadAxes;
    static constexpr int kPadAxisHalf = 16384;
    // Numbers outside 0 .. kInputCount - 1 count as not held.
    static bool curInput(int input);
    static bool oldInput(int input);
    static bool inputDown(int input) { return curInput(input) && !oldInput(input); }
    static bool inputStillDown(int input) { return curInput(input) && oldInput(input); }

    static unsigned char* keys;
    static int keyCount;
    static CMMPointer<CMMDynamicBlob<unsigned char>> oldKeys;
    // The cursor in the game's frame (CScreen), whatever the window's size; a replay
    // of an older recording gives it in the pixels of the window it was made in.
    static int mouseX, mouseY;
    // The size of the space mouseX and mouseY are in: the frame's, or that window's.
    static int cursorWidth, cursorHeight;
    static uint8_t appState, oldAppState;
    static uint32_t buttons, oldButtons;
    // The controller: axes from -32768 to 32767 (a stick's y grows downwards), its
    // buttons in bits 0 to 27 and its hat's up, right, down and left in bits 28 to 31.
    // All 0 without one.
    static int16_t padAxes[kPadAxes], oldPadAxes[kPadAxes];
    static uint32_t padButtons, oldPadButtons;
    // The pad setting: 0 leaves any controller alone.
    static int padOn;

private:
    static void PollPad();
};
