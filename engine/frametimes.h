// SPDX-License-Identifier: GPL-3.0-or-later
// Real-time length of every shown frame, for the frame-rate benchmark. Off unless the
// program is started with VELQ_FRAME_TIMES naming a file; then the file gets, at exit,
// the wall-clock time of the first shown frame and one line per frame: its length in
// milliseconds and, when the program installs a counter, how many objects it drew.
#pragma once

#include <functional>

class CFrameTimes {
public:
    // What a frame's length is set against (the game counts its projectiles).
    static std::function<int()> load;

    // Starts recording into path (nothing when path is null or empty).
    static void Open(const char* path);
    // One frame is on the screen: called right after the buffer swap.
    static void FrameShown();
    // Writes the file; false when it cannot be written.
    static bool Close();
};
