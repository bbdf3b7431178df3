// Polled keyboard and mouse state, this frame and the last. The class-wide state
// is the seam tests write to directly.
#pragma once

#include <cstdint>

#include "engine/kernel.h"

class CInputTask : public ITask {
public:
    bool Start() override;
    void Update() override;
    void Stop() override;
    unsigned size() override { return sizeof(*this); }

    // A key is an SDL 1.2 key symbol; keys outside the array count as not held.
    static bool curKey(int index);
    static bool oldKey(int index);
    static bool keyDown(int index) { return curKey(index) && !oldKey(index); }
    static bool keyStillDown(int index) { return curKey(index) && oldKey(index); }

    // A button is an SDL button number, 1 for the left button.
    static bool curMouse(int button) { return (buttons & (1u << (button - 1))) != 0; }
    static bool oldMouse(int button) { return (oldButtons & (1u << (button - 1))) != 0; }
    static bool mouseDown(int button) { return curMouse(button) && !oldMouse(button); }
    static bool mouseStillDown(int button) { return curMouse(button) && oldMouse(button); }

    // Cursor in -1..1: x to the right, y upwards.
    static float normMouseX();
    static float normMouseY();

    static unsigned char* keys;
    static int keyCount;
    static CMMPointer<CMMDynamicBlob<unsigned char>> oldKeys;
    static int mouseX, mouseY;
    static uint32_t buttons, oldButtons;
};
