// Real-time length of every shown frame, for the frame-rate benchmark. Off unless the
// program is started with VELQ_FRAME_TIMES naming a file; then the file gets, at exit,
// the wall-clock time of the first shown frame and one line per frame.
#pragma once

class CFrameTimes {
public:
    // Starts recording into path (nothing when path is null or empty).
    static void Open(const char* path);
    // One frame is on the screen: called right after the buffer swap.
    static void FrameShown();
    // Writes the file; false when it cannot be written.
    static bool Close();
};
