// SPDX-License-Identifier: GPL-3.0-or-later
// The recorder and player the kernel, the input task and the random generator call
// into. Every time it reads or waits for is the engine clock's.
#include "engine/recording.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "engine/clock.h"
#include "engine/filenotes.h"
#include "engine/inputtask.h"
#include "engine/options.h"

static_assert(kRecordedPadAxes == CInputTask::kPadAxes, "every axis of the controller is recorded");

std::function<uint64_t()> CGameRecording::stateHash;
CGameRecording::Mode CGameRecording::mode = CGameRecording::Mode::kOff;
Recording CGameRecording::played;

namespace {
struct Session {
    std::string path;
    // Recording.
    std::FILE* file = nullptr;
    std::string partPath;
    bool headerWritten = false;
    bool writeFailed = false;
    uint32_t framesWritten = 0;
    std::vector<unsigned char> lastKeys;
    RecordedFrame current;
    std::string buffer;
    // Replay.
    bool inFrame = false;             // between BeginFrame and EndFrame
    size_t next = 0;                  // index of the frame being played
    bool overran = false;             // the game went on past the recorded frames
    size_t firstDifference = SIZE_MAX;
    std::vector<unsigned char> keys;  // the keyboard state the input task reads
    size_t seedIndex = 0;
    double realStart = 0;             // the clock's real milliseconds at the first frame
    double lastFrame = 0;             // and at the frame before
    std::vector<double> frameMs;
};
Session session;

uint64_t Hash() { return CGameRecording::stateHash ? CGameRecording::stateHash() : 0; }

std::string HashText(uint64_t h)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, h);
    return text;
}
}  // namespace

std::string CGameRecording::StartRecording(const std::string& path)
{
    session = Session();
    session.path = path;
    // Written beside the target and renamed at the end, so a game that never ends
    // cleanly leaves an older recording of the same name as it was.
    session.partPath = path + ".part";
    session.file = std::fopen(session.partPath.c_str(), "wb");
    if (!session.file)
        return "cannot write " + session.partPath + ": " + std::strerror(errno);
    if (!CClock::IsDriven())
        CClock::HoldPerFrame();
    played = Recording();
    played.gameVersion = kVersionText;
    played.startTicks = CClock::GetOutsideTicks();
    played.startSeconds = static_cast<int64_t>(CClock::GetSeconds());
    played.keyCount = CInputTask::kKeyInputs;
    session.lastKeys.assign(CInputTask::kKeyInputs, 0);
    mode = Mode::kRecord;
    return "";
}

std::string CGameRecording::StartReplay(const std::string& path, bool timedemo)
{
    session = Session();
    session.path = path;
    Recording r;
    const std::string why = Read(path, r);
    if (!why.empty())
        return why;
    played = std::move(r);
    session.keys.assign(CInputTask::kKeyInputs, 0);
    CClock::SetNow(played.startTicks, static_cast<time_t>(played.startSeconds));
    mode = timedemo ? Mode::kTimedemo : Mode::kReplay;
    return "";
}

std::string CGameRecording::Read(const std::string& path, Recording& r)
{
    // A file is read whole: a day of play is far less, a file of any size cannot exhaust memory.
    constexpr size_t kMaxFileBytes = size_t(1) << 30;
    // The message names the file, the file notes only why.
    const auto refuse = [](const std::string& message, const std::string& why) {
        CFileNotes::Error(why);
        return message;
    };
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        const std::string why = std::strerror(errno);
        return refuse("cannot open " + path + ": " + why, "cannot be opened: " + why);
    }
    std::string bytes;
    char chunk[65536];
    size_t n;
    while (bytes.size() <= kMaxFileBytes && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.append(chunk, n);
    const bool readError = std::ferror(f) != 0;
    std::fclose(f);
    if (readError)
        return refuse("cannot read " + path, "cannot be read");
    if (bytes.size() > kMaxFileBytes)
        return refuse(path + ": larger than any recording", "larger than any recording");
    std::string why = RecordingCodec::Decode(bytes, r);
    if (why.empty() && r.frames.empty())
        why = "no frames";
    return why.empty() ? "" : refuse(path + ": " + why, why);
}

bool CGameRecording::BeginFrame()
{
    session.inFrame = true;
    if (mode == Mode::kRecord) {
        if (!session.headerWritten) {
            // The window size is known once the settings are read, before the loop.
            played.screenWidth = std::max(1, CInputTask::cursorWidth);
            played.screenHeight = std::max(1, CInputTask::cursorHeight);
            session.buffer.clear();
            RecordingCodec::Header(played, session.buffer);
            session.headerWritten = true;
        }
        // The clock from outside: a replay's pauses stop the game's ticks as these did.
        session.current.ticks = CClock::GetOutsideTicks();
        session.current.seconds = static_cast<int64_t>(CClock::GetSeconds());
        session.current.keysChanged.clear();
        session.current.seeds.clear();
        return true;
    }
    if (!IsPlayingBack())
        return true;
    const double now = CClock::GetRealMs();
    if (session.next > 0 && !session.overran)
        session.frameMs.push_back(now - session.lastFrame);
    session.lastFrame = now;
    if (session.next >= played.frames.size()) {
        // The recorded game had ended by now: this one went on.
        if (!session.overran) {
            session.overran = true;
            session.firstDifference = std::min(session.firstDifference, played.frames.size() + 1);
        }
        return false;
    }
    const RecordedFrame& f = played.frames[session.next];
    CClock::SetNow(f.ticks, static_cast<time_t>(f.seconds));
    session.seedIndex = 0;
    if (mode == Mode::kReplay) {
        // At the recorded pace: never faster than the game was played. The clock's
        // counter wraps, and a step back waits for nothing.
        const int32_t since = static_cast<int32_t>(f.ticks - played.frames[0].ticks);
        if (session.next == 0)
            session.realStart = now - since;
        CClock::WaitUntilReal(session.realStart + since);
    }
    return true;
}

void CGameRecording::EndFrame()
{
    session.inFrame = false;
    if (mode == Mode::kRecord) {
        session.current.hash = Hash();
        RecordingCodec::Frame(session.current, session.buffer);
        ++session.framesWritten;
        if (std::fwrite(session.buffer.data(), 1, session.buffer.size(), session.file) !=
            session.buffer.size())
            session.writeFailed = true;
        session.buffer.clear();
        return;
    }
    if (!IsPlayingBack())
        return;
    if (session.next < played.frames.size()) {
        if (Hash() != played.frames[session.next].hash)
            session.firstDifference = std::min(session.firstDifference, session.next + 1);
        ++session.next;
    }
}

bool CGameRecording::SupplyInput()
{
    if (!IsPlayingBack())
        return false;
    if (session.next < played.frames.size()) {
        const RecordedFrame& f = played.frames[session.next];
        for (uint16_t k : f.keysChanged)
            if (k < session.keys.size())
                session.keys[k] = session.keys[k] ? 0 : 1;
        CInputTask::mouseX = f.mouseX;
        CInputTask::mouseY = f.mouseY;
        CInputTask::buttons = f.buttons;
        CInputTask::appState = f.appState;
        CInputTask::padButtons = f.padButtons;
        std::copy(f.padAxes, f.padAxes + kRecordedPadAxes, CInputTask::padAxes);
    }
    CInputTask::keys = session.keys.data();
    CInputTask::keyCount = static_cast<int>(session.keys.size());
    return true;
}

void CGameRecording::InputRead()
{
    if (mode != Mode::kRecord || !CInputTask::keys)
        return;
    const size_t count = std::min(session.lastKeys.size(), static_cast<size_t>(CInputTask::keyCount));
    for (size_t k = 0; k < count; ++k) {
        const unsigned char down = CInputTask::keys[k] ? 1 : 0;
        if (down != session.lastKeys[k]) {
            session.lastKeys[k] = down;
            session.current.keysChanged.push_back(static_cast<uint16_t>(k));
        }
    }
    session.current.mouseX = CInputTask::mouseX;
    session.current.mouseY = CInputTask::mouseY;
    session.current.buttons = CInputTask::buttons;
    session.current.appState = CInputTask::appState;
    session.current.padButtons = CInputTask::padButtons;
    std::copy(CInputTask::padAxes, CInputTask::padAxes + kRecordedPadAxes, session.current.padAxes);
}

uint32_t CGameRecording::Seed(uint32_t seed)
{
    // Seeds taken before the loop come from the recorded start clock and repeat as is.
    if (!session.inFrame)
        return seed;
    if (mode == Mode::kRecord) {
        session.current.seeds.push_back(seed);
        return seed;
    }
    if (IsPlayingBack() && session.next < played.frames.size()) {
        const std::vector<uint32_t>& seeds = played.frames[session.next].seeds;
        if (session.seedIndex < seeds.size())
            return seeds[session.seedIndex++];
        // A reseed the recorded game did not make: the games have parted.
        session.firstDifference = std::min(session.firstDifference, session.next + 1);
    }
    return seed;
}

int CGameRecording::Finish()
{
    const Mode was = mode;
    mode = Mode::kOff;
    if (was == Mode::kRecord) {
        session.buffer.clear();
        if (!session.headerWritten) {
            played.screenWidth = std::max(1, CInputTask::cursorWidth);
            played.screenHeight = std::max(1, CInputTask::cursorHeight);
            RecordingCodec::Header(played, session.buffer);
        }
        const uint64_t finalHash = Hash();
        RecordingCodec::End(session.framesWritten, finalHash, session.buffer);
        bool ok = std::fwrite(session.buffer.data(), 1, session.buffer.size(), session.file) ==
                  session.buffer.size();
        ok = std::fclose(session.file) == 0 && ok && !session.writeFailed;
        session.file = nullptr;
        if (!ok || std::rename(session.partPath.c_str(), session.path.c_str()) != 0) {
            std::cerr << "VELQ: cannot write the recording " << session.path << ": "
                      << std::strerror(errno) << "\n";
            std::remove(session.partPath.c_str());
            return 1;
        }
        std::cout << "Recorded " << session.framesWritten << " frames to " << session.path
                  << " (state hash " << HashText(finalHash) << ")\n";
        return 0;
    }
    if (was != Mode::kReplay && was != Mode::kTimedemo)
        return 0;

    if (was == Mode::kTimedemo) {
        std::vector<double> ms = session.frameMs;
        ms.push_back(CClock::GetRealMs() - session.lastFrame);
        double total = 0;
        for (double m : ms)
            total += m;
        std::sort(ms.begin(), ms.end());
        const double worst = ms[std::min(ms.size() - 1, static_cast<size_t>(ms.size() * 0.99))];
        char line[160];
        std::snprintf(line, sizeof line, "Timedemo: %zu frames, %.1f frames per second, worst 1%% frame %.1f ms",
                      ms.size(), total > 0 ? ms.size() * 1000.0 / total : 0.0, worst);
        std::cout << line << "\n";
    }
    const uint64_t finalHash = Hash();
    if (session.firstDifference == SIZE_MAX && session.next < played.frames.size())
        session.firstDifference = session.next + 1;  // ended before the recording did
    if (session.firstDifference == SIZE_MAX && finalHash == played.finalHash) {
        std::cout << "Replay: " << session.path << " matches the recording (" << played.frames.size()
                  << " frames, state hash " << HashText(finalHash) << ")\n";
        return 0;
    }
    if (session.firstDifference == SIZE_MAX)
        std::cout << "Replay: " << session.path << " parts from the recording at the end (state hash "
                  << HashText(finalHash) << ", recorded " << HashText(played.finalHash) << ")\n";
    else
        std::cout << "Replay: " << session.path << " parts from the recording at frame "
                  << session.firstDifference << " of " << played.frames.size() << "\n";
    return 1;
}
