// SPDX-License-Identifier: GPL-3.0-or-later
// The pause, one piece with one name. While it is on, the game's clock stands still, the
// tasks that step the game skip their frame, the frame stands dimmed with the pause
// over it, the frame rate drops and the mouse is free; everything asks it. It begins on
// the pause key or when the window loses the keyboard or is minimised, and ends on the
// pause key again or a click into the window.
#pragma once

class CPause {
public:
    // On while the game's clock stands still (a clock driven anew is never paused).
    static bool IsOn();
    // Begins or ends the pause (the clock with it), saying so on standard output.
    static void Set(bool pause);
    // One frame of the pause's rules: the pause key pressed, the window's keyboard lost,
    // a click into the window. True while the game stands still, the frame in which it
    // goes on included.
    static bool Step(bool key, bool focusLost, bool clickIn);
    // The pause last ended with a click, which then fires nothing until let go.
    static bool EndedByClick() { return endedByClick; }

    // Frames per second at most while the game stands still: it draws the same frame.
    static constexpr int kFramesPerSecond = 20;

private:
    static bool endedByClick;
};
