// SPDX-License-Identifier: GPL-3.0-or-later
// Recorded games: the settings that decide what the input does, the frames a game
// read (clock, keyboard, mouse, controller, the seeds taken from the clock) and a hash
// of the game state after each, written by --record and played back in place of the
// devices and the clock by --replay and --timedemo.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
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

// 64-bit FNV-1a, for state hashes.
class CStateHasher {
public:
    void Bytes(const void* data, size_t n);
    void U32(uint32_t v) { Bytes(&v, sizeof v); }
    void I32(int32_t v) { Bytes(&v, sizeof v); }
    // By bit pattern: -0 and 0 differ, as do two NaNs of different payload.
    void F32(float v) { Bytes(&v, sizeof v); }
    void Str(const std::string& s);
    uint64_t Value() const { return value; }

private:
    uint64_t value = 14695981039346656037ull;
};

// The running game's recorder or player. Off unless the program starts one; the
// kernel, the input task and the random generator call in at their points.
class CGameRecording {
public:
    enum class Mode { kOff, kRecord, kReplay, kTimedemo };

    // The game state hash, installed by the program (the engine does not know the game).
    static std::function<uint64_t()> stateHash;

    // Opens path for writing (as path.part, renamed when the game has ended). Unless
    // the clock is driven, it is held still during each frame, so that what the game
    // read is what is written. The header, with the window size, goes out with the
    // first frame, once the settings are read.
    static std::string StartRecording(const std::string& path);
    // Reads the whole file and drives the clock from it; "" or the message why not.
    // Timedemo plays as fast as frames are drawn; replay keeps the recorded pace.
    static std::string StartReplay(const std::string& path, bool timedemo);
    // Reads and decodes the whole file as StartReplay does, and plays nothing: "" or the
    // message why the file cannot be played, which names the file; the reason also goes
    // to the file notes.
    static std::string Read(const std::string& path, Recording& out);
    static Mode GetMode() { return mode; }
    // A replay or a timedemo: the file stands in for the devices and the clock.
    static bool IsPlayingBack() { return mode == Mode::kReplay || mode == Mode::kTimedemo; }
    // The size the replayed cursor is read against.
    static int32_t RecordedWidth() { return played.screenWidth; }
    static int32_t RecordedHeight() { return played.screenHeight; }
    // Recording: the settings lines the file keeps for its replay. Playing back: the
    // lines the file keeps (none in a file of format 1).
    static void SetSettings(const std::vector<std::string>& lines) { played.settings = lines; }
    static const std::vector<std::string>& RecordedSettings() { return played.settings; }

    // Kernel: after the clock's own step, and after the pass's collection.
    static void BeginFrame();
    static void EndFrame();
    // Input task: true when a replay supplied the frame's input instead of the devices.
    static bool SupplyInput();
    // Input task: the devices were read.
    static void InputRead();
    // Random generator: the seed to use (a replay's recorded one).
    static uint32_t Seed(uint32_t seed);
    // After the kernel loop: writes the end record, or compares the final hash and
    // prints the verdict. Returns the exit code (0, or 1 when the replay parted from
    // the recording or the file could not be completed). Mode goes back to off.
    static int Finish();

private:
    static Mode mode;
    static Recording played;
};
