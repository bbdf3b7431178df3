// SPDX-License-Identifier: GPL-3.0-or-later
// The running game's recorder and player: --record writes what each frame read, and
// --replay and --timedemo play a recorded game back in place of the devices and the
// clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/recordingfile.h"

// Off unless the program starts one; the kernel, the input task and the random
// generator call in at their points.
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

    // Kernel: after the clock's own step, and after the pass's collection. BeginFrame
    // returns false when a replay has gone past the end of the recorded game: the
    // kernel then ends this one.
    [[nodiscard]] static bool BeginFrame();
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
