// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard, mouse and controller for the real input task without a window: the test
// says what is held in the next frame, and the task's own update takes it, this frame
// becoming the last.
#pragma once

#include <SDL.h>

#include "engine/inputtask.h"
#include "support/testutil.h"

namespace velqtest {

class InputDevice {
public:
    InputDevice() : task(new CInputTask()) { Clear(), task->Start(); }
    ~InputDevice() { task->Stop(), task = nullptr, IMMObject::CollectGarbage(), Clear(); }
    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    // One poll with these keys, buttons and controller state held. SDL's key array
    // changes while the task pumps the events, after it kept the frame before; without a
    // window no button and no cursor reach SDL, nor a controller, so they are set as the
    // devices would report them.
    void Frame(std::initializer_list<int> down = {}, uint32_t buttons = 0, uint32_t padButtons = 0,
               std::initializer_list<std::pair<int, int16_t>> axes = {})
    {
        Uint8* sdl = SDL_GetKeyState(nullptr);
        std::memcpy(before, sdl, SDLK_LAST);
        CInputTask::keys = before;
        std::memset(sdl, 0, SDLK_LAST);
        for (int k : down)
            sdl[k] = 1;
        task->Update();
        CInputTask::buttons = buttons;
        CInputTask::appState = appState;
        CInputTask::padButtons = padButtons;
        std::memset(CInputTask::padAxes, 0, sizeof CInputTask::padAxes);
        for (auto [axis, value] : axes)
            CInputTask::padAxes[axis] = value;
        Cursor(x, y);
    }
    void Cursor(int cursorX, int cursorY) { CInputTask::mouseX = x = cursorX, CInputTask::mouseY = y = cursorY; }
    // SDL's application state from the next frame on (focused and shown unless said).
    void Focus(uint8_t state) { appState = state; }

private:
    void Clear()
    {
        std::memset(SDL_GetKeyState(nullptr), 0, SDLK_LAST);
        CInputTask::buttons = CInputTask::oldButtons = CInputTask::padButtons = CInputTask::oldPadButtons = 0;
        CInputTask::appState = CInputTask::oldAppState = CInputTask::kAllFocus;
        std::memset(CInputTask::padAxes, 0, sizeof CInputTask::padAxes);
    }
    CMMPointer<CInputTask> task;
    Uint8 before[SDLK_LAST] = {};
    int x = 0, y = 0;
    uint8_t appState = CInputTask::kAllFocus;
};

}  // namespace velqtest
