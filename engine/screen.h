// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own 800 x 600 frame on whatever window or screen the player has: the
// largest rectangle of the frame's proportions that fits, centred, with black bars
// beside or above it; and the cursor from the window back into the frame. Nothing
// else knows the window's size.
#pragma once

class CScreen {
public:
    static constexpr int kFrameWidth = 800, kFrameHeight = 600;

    // Window pixels, counted from the lower-left corner as GL counts them.
    struct Rect {
        int x, y, width, height;
        bool operator==(const Rect& o) const
        {
            return x == o.x && y == o.y && width == o.width && height == o.height;
        }
    };

    // Where the frame stands in a window of this size; at least one pixel each way.
    static Rect Fit(int windowWidth, int windowHeight);
    // A cursor in window pixels (from the upper-left corner, as SDL gives it) into the
    // frame's pixels of the same orientation; over a bar it counts as the nearest edge.
    static void ToFrame(const Rect& fit, int windowHeight, int& x, int& y);

    // The window the video task has open now.
    static void SetWindow(int width, int height);
    static int WindowWidth() { return windowWidth; }
    static int WindowHeight() { return windowHeight; }
    static Rect Frame() { return Fit(windowWidth, windowHeight); }
    // The window's cursor into the frame, as ToFrame with the window open now.
    static void CursorToFrame(int& x, int& y) { ToFrame(Frame(), windowHeight, x, y); }

private:
    static int windowWidth, windowHeight;
};
