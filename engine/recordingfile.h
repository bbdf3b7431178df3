// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded-game file: the settings that decide what the input does, the frames a
// game read (clock, keyboard, mouse, controller, the seeds taken from the clock) and a
// hash of the game state after each, and the codec that writes and reads its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The file starts with these eight bytes, then the format version. Format 1 had no
// controller and no settings, format 2 no window focus; both are still read.
extern const char kRecordingMagic[8];
constexpr uint32_t kRecordingFormat = 3;
constexpr int kRecordedPadAxes = 8;

// One kernel pass as the game saw it.
struct RecordedFrame {
    uint32_t ticks = 0;     // the engine clock during the frame, paused or not
    int64_t seconds = 0;    // calendar seconds during the frame
    int32_t mouseX = 0;     // cursor in the space the header gives
    int32_t mouseY = 0;
    uint32_t buttons = 0;   // SDL button mask
    uint8_t appState = 7;   // SDL's application state (focus, not minimised); all before format 3
    uint32_t padButtons = 0;  // the controller's buttons and hat, as the input task holds them
    int16_t padAxes[kRecordedPadAxes] = {};
    std::vector<uint16_t> keysChanged;  // keys that went down or up since the frame before
    std::vector<uint32_t> seeds;        // every reseed of the random generator, in order
    uint64_t hash = 0;                  // the game state at the end of the frame

    bool operator==(const RecordedFrame& o) const;
};

struct Recording {
    std::string gameVersion;
    int32_t screenWidth = 0;   // the mouse is read against this size: the game's frame, or
                               // before format 3 the window's
    int32_t screenHeight = 0;
    uint16_t keyCount = 0;     // size of the keyboard state array
    uint32_t startTicks = 0;   // the clock before the first frame (level start time)
    int64_t startSeconds = 0;
    // Settings lines a replay applies over its own (the key bindings the game was
    // played with).
    std::vector<std::string> settings;
    std::vector<RecordedFrame> frames;
    uint64_t finalHash = 0;    // the game state when the kernel loop has ended
};

// The byte form: little-endian, a header, one record per frame, an end record that
// repeats the frame count. Header() and Frame() append to out.
namespace RecordingCodec {
void Header(const Recording& r, std::string& out);
void Frame(const RecordedFrame& f, std::string& out);
void End(uint32_t frameCount, uint64_t finalHash, std::string& out);
// Parses a whole file. Returns "" or why the bytes are not a recording this game
// plays (wrong magic, another format or game version, truncated, corrupt); out is then
// left empty.
std::string Decode(const std::string& bytes, Recording& out);
}  // namespace RecordingCodec
