// SPDX-License-Identifier: GPL-3.0-or-later
// What the head-up display shows and where, worked out without OpenGL: the draw step
// only walks the items in order. Every text is in the language in force, and a text
// that would run past the frame's right edge is moved in until it fits.
#pragma once

#include <cstdint>
#include <string>

#include "engine/screen.h"

#include "world/toggles.h"

struct HudInput {
    int frameWidth = CScreen::kFrameWidth;  // the frame's width in pixels, 600 lines high
    int32_t level = 0;   // 0 is the selection map, which shows the title
    int32_t result = 0;  // 0 playing, 1 won, 2 lost
    int32_t weapon = 0;  // the player's current weapon
    bool fps = false;    // the frame-rate toggle
    bool help = false;   // the help toggle
    bool toggleOn[kToggleCount] = {};     // by toggle
    bool toggleShown[kToggleCount] = {};  // notices still to show
    const char* healthText = "";
    const std::string* helpLines = nullptr;  // kHelpLineCount of them, shown with help
    const char* rateText = "";
    const char* timeText = "";
    bool slowHint = false;  // the word that the Graphics page can make the game faster
};

struct HudItem {
    enum class Kind { Backdrop, Text };
    Kind kind = Kind::Text;
    int x = 0, y = 0;   // frame pixels from the lower left: a text's start, a box's corner
    int width = 0, height = 0;  // a backdrop's size
    int set = 0;        // character set of the font
    float scaleX = 1.0f, scaleY = 1.0f;
    const float* colour = nullptr;  // red, green, blue; null keeps the current colour
    const char* text = "";  // UTF-8
};

struct HudLayout {
    static constexpr int kCapacity = 48;
    HudItem items[kCapacity];
    int count = 0;
};

// In the game's own German; the layout shows them in the language in force.
constexpr int kHelpLineCount = 11;
// The help page's lines with the keys in force ("F1: Hilfe", "y:  Shadowmap ein/aus"),
// in the language in force; into strings the caller keeps, so making them again
// allocates nothing once they have grown.
void MakeHelpLines(std::string (&lines)[kHelpLineCount]);
extern const char* const kWeaponNames[3];
extern const char* const kSlowHintText;

// The items of one frame in drawing order. They are placed on the 800 pixels of the
// 4:3 frame, and on a wider frame each keeps its place from the edge it belongs to:
// the left column (title, frame rate, notices) from the left edge, the right column
// (weapon, health) from the right edge; the centred ones (countdown, result, the title's
// and help page's box and the help page) stay centred.
void LayoutHud(const HudInput& in, HudLayout& out);

// Tells a player whose frames are drawn by the processor, once a run, that the lighter
// effects on the menu's Graphics page make the game faster: after kSlowSeconds in a row
// below kSlowRate frames per second with the full effects, for kShownMs. Never when the
// clock is driven (a replay, a fixed step), where frame rates say nothing of the
// player's machine and the picture must stay the recording's.
class SlowHint {
public:
    static constexpr int kSlowRate = 45, kSlowSeconds = 5;
    static constexpr uint32_t kShownMs = 10000;
    struct Frame {
        bool software, fullEffects, clockDriven;
        int framesPerSecond;  // the last whole second's, 0 before the first
        uint32_t nowMs;
    };
    // True on the one frame the hint begins; then Showing() for kShownMs.
    bool Step(const Frame& f);
    bool Showing(uint32_t nowMs) const { return told && nowMs - toldAt < kShownMs; }

private:
    bool told = false;
    uint32_t toldAt = 0;
    uint32_t slowSince = 0;
    bool slow = false;
};
