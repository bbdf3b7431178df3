// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded-game reader on arbitrary bytes: a file is refused with a reason, or
// starts a playback whose window size and frames are usable.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/clock.h"
#include "engine/recording.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    velqfuzz::SilenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = velqfuzz::WriteInput("input.vrec", data, size);
    const velqfuzz::VerdictNotes notes;
    const std::string why = CGameRecording::StartReplay(path, true);
    notes.Check(why.empty());
    if (!why.empty()) {
        velqfuzz::Check(CGameRecording::GetMode() == CGameRecording::Mode::kOff,
                        "a refused recording started playing");
        velqfuzz::Check(why.find(path) != std::string::npos, "the refusal does not name the file");
        return 0;
    }
    velqfuzz::Check(CGameRecording::IsPlayingBack(), "an accepted recording does not play");
    velqfuzz::Check(CGameRecording::RecordedWidth() >= 1 && CGameRecording::RecordedHeight() >= 1,
                    "an accepted recording has no window");
    // Ends the playback before its first frame and lets the clock go again.
    CGameRecording::Finish();
    CClock::Release();
    return 0;
}
