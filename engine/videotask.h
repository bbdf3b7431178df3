// SPDX-License-Identifier: GPL-3.0-or-later
// The OpenGL window, full screen or not: opened at start, buffers swapped last in every
// pass; Alt+Enter switches between window and full screen. Full screen takes the
// desktop's own size, so the monitor keeps its mode; a window has the size of the screen
// settings, and the player may resize it. CScreen learns every size it takes.
#pragma once

#include "engine/kernel.h"
#include "engine/settings.h"

class CVideoTask : public ITask {
public:
    // Opens the window of the screen settings or, when the display refuses that mode,
    // of the default one, saying so on standard error; false when neither opens.
    bool Start() override;
    void Update() override;
    void Stop() override;
    unsigned size() override { return sizeof(*this); }

    static constexpr int kDefaultWidth = 800, kDefaultHeight = 600, kDefaultBPP = 16;
    // The screen settings and their binders; the settings manager creates the binders.
    // scrWidth and scrHeight are the window's size (in a window).
    static int scrWidth, scrHeight, scrBPP, fullscreen;
    static CMMPointer<Dator<int>> screenWidth, screenHeight, screenBPP, screenFull;
};
