// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own frame on whatever window or screen the player has. The frame is 600
// lines high and 800 pixels wide, or as wide as a wider window's shape (up to four
// times its height): the view then shows more to the sides. It fills the window, or
// stands centred in it between black bars (a window narrower than 4:3, or wider than
// 4:1, or the 4:3 frame kept by the widescreen setting). The cursor goes from the
// window back into the frame. Nothing else knows the window's size.
#pragma once

class CScreen {
public:
    // The 4:3 frame, the narrowest; and the widest.
    static constexpr int kFrameWidth = 800, kFrameHeight = 600;
    static constexpr int kMaxFrameWidth = 4 * kFrameHeight;

    // Window pixels, counted from the lower-left corner as GL counts them.
    struct Rect {
        int x, y, width, height;
        bool operator==(const Rect& o) const
        {
            return x == o.x && y == o.y && width == o.width && height == o.height;
        }
    };

    // The frame's width on a window of this size: 800, or as wide as the window's shape
    // when it is wider than 4:3 and wide is set, rounded to an even number of pixels (so
    // the frame has a whole middle) and kept to kMaxFrameWidth.
    static int FrameWidthFor(int windowWidth, int windowHeight, bool wide);
    // Where the frame of that width stands in a window of this size: the whole window
    // when the frame takes its shape, else the largest rectangle of the frame's
    // proportions that fits, centred; at least one pixel each way.
    static Rect Fit(int windowWidth, int windowHeight, int frameWidth);
    // A cursor in window pixels (from the upper-left corner, as SDL gives it) into the
    // frame's pixels of the same orientation; over a bar it counts as the nearest edge.
    static void ToFrame(const Rect& fit, int windowHeight, int frameWidth, int& x, int& y);

    // The window the video task has open now.
    static void SetWindow(int width, int height);
    static int WindowWidth() { return windowWidth; }
    static int WindowHeight() { return windowHeight; }
    // The frame on the window open now.
    static int FrameWidth() { return FrameWidthFor(windowWidth, windowHeight, widescreen != 0); }
    static Rect Frame() { return Fit(windowWidth, windowHeight, FrameWidth()); }
    // The window's cursor into the frame, as ToFrame with the window open now.
    static void CursorToFrame(int& x, int& y) { ToFrame(Frame(), windowHeight, FrameWidth(), x, y); }

    // Setting widescreen: 1 widens the frame to a wide window's shape, 0 keeps 4:3.
    static int widescreen;

private:
    static int windowWidth, windowHeight;
};
