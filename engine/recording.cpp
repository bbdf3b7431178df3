// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded-game file, and the recorder and player the kernel, the input task and
// the random generator call into.
#include "engine/recording.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstring>
#include <iostream>

#include "engine/clock.h"
#include "engine/filenotes.h"
#include "engine/inputtask.h"
#include "engine/kernel.h"
#include "engine/options.h"

const char kRecordingMagic[8] = {'V', 'E', 'L', 'Q', 'R', 'E', 'C', '\n'};
static_assert(kRecordedPadAxes == CInputTask::kPadAxes, "every axis of the controller is recorded");

namespace {
constexpr char kFrameTag = 'F';
constexpr char kEndTag = 'E';
// Limits that no game reaches and that keep a forged count from asking for memory
// the file could never fill.
constexpr size_t kMaxVersionLength = 64;
constexpr int32_t kMaxScreenSide = 16384;
constexpr uint16_t kMaxKeyCount = 4096;
constexpr uint16_t kMaxSettings = 512;
constexpr uint16_t kMaxSettingLength = 1023;
// A file is read whole: a day of play is far less, a file of any size cannot exhaust memory.
constexpr size_t kMaxFileBytes = size_t(1) << 30;
// A frame's controller: none (all zero), or its buttons and axes.
constexpr uint8_t kNoPad = 0, kPad = 1;

void PutU16(std::string& out, uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutU64(std::string& out, uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Reads from a byte string; every read says whether the bytes were there.
class Reader {
public:
    explicit Reader(const std::string& b) : bytes(b) {}
    size_t Left() const { return bytes.size() - at; }
    bool Raw(void* dest, size_t n)
    {
        if (Left() < n)
            return false;
        std::memcpy(dest, bytes.data() + at, n);
        at += n;
        return true;
    }
    bool U8(uint8_t& v) { return Raw(&v, 1); }
    bool U16(uint16_t& v) { return Le(v); }
    bool U32(uint32_t& v) { return Le(v); }
    bool U64(uint64_t& v) { return Le(v); }
    bool I32(int32_t& v) { return Signed<uint32_t>(v); }
    bool I64(int64_t& v) { return Signed<uint64_t>(v); }

private:
    template <class U, class S>
    bool Signed(S& v)
    {
        U u;
        if (!Le(u))
            return false;
        v = static_cast<S>(u);
        return true;
    }
    template <class T>
    bool Le(T& v)
    {
        unsigned char b[sizeof(T)];
        if (!Raw(b, sizeof b))
            return false;
        v = 0;
        for (size_t i = 0; i < sizeof b; ++i)
            v |= static_cast<T>(static_cast<T>(b[i]) << (8 * i));
        return true;
    }
    const std::string& bytes;
    size_t at = 0;
};

bool HasPad(const RecordedFrame& f)
{
    for (int16_t a : f.padAxes)
        if (a != 0)
            return true;
    return f.padButtons != 0;
}

std::string DecodeFrame(Reader& in, uint32_t format, uint16_t keyCount, RecordedFrame& f)
{
    uint16_t keys = 0, seeds = 0;
    if (!in.U32(f.ticks) || !in.I64(f.seconds) || !in.I32(f.mouseX) || !in.I32(f.mouseY) || !in.U32(f.buttons))
        return "truncated";
    if (format >= 3 && !in.U8(f.appState))
        return "truncated";
    uint8_t pad = kNoPad;
    if (format >= 2 && !in.U8(pad))
        return "truncated";
    if (pad == kPad) {
        if (!in.U32(f.padButtons))
            return "truncated";
        for (int16_t& a : f.padAxes) {
            uint16_t u = 0;
            if (!in.U16(u))
                return "truncated";
            a = static_cast<int16_t>(u);
        }
    } else if (pad != kNoPad) {
        return "corrupt controller state";
    }
    if (!in.U16(keys))
        return "truncated";
    if (in.Left() < keys * size_t{2})
        return "truncated";
    f.keysChanged.resize(keys);
    for (uint16_t& k : f.keysChanged) {
        in.U16(k);
        if (k >= keyCount)
            return "a key number beyond the keyboard";
    }
    if (!in.U16(seeds) || in.Left() < seeds * size_t{4})
        return "truncated";
    f.seeds.resize(seeds);
    for (uint32_t& s : f.seeds)
        in.U32(s);
    if (!in.U64(f.hash))
        return "truncated";
    return "";
}
}  // namespace

bool RecordedFrame::operator==(const RecordedFrame& o) const
{
    return ticks == o.ticks && seconds == o.seconds && mouseX == o.mouseX && mouseY == o.mouseY &&
           buttons == o.buttons && appState == o.appState && padButtons == o.padButtons &&
           std::equal(padAxes, padAxes + kRecordedPadAxes, o.padAxes) && keysChanged == o.keysChanged &&
           seeds == o.seeds && hash == o.hash;
}

void RecordingCodec::Header(const Recording& r, std::string& out)
{
    out.append(kRecordingMagic, sizeof kRecordingMagic);
    PutU32(out, kRecordingFormat);
    const std::string version = r.gameVersion.substr(0, kMaxVersionLength);
    PutU16(out, static_cast<uint16_t>(version.size()));
    out += version;
    PutU32(out, static_cast<uint32_t>(r.screenWidth));
    PutU32(out, static_cast<uint32_t>(r.screenHeight));
    PutU16(out, r.keyCount);
    PutU32(out, r.startTicks);
    PutU64(out, static_cast<uint64_t>(r.startSeconds));
    const size_t count = std::min(r.settings.size(), size_t{kMaxSettings});
    PutU16(out, static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const std::string line = r.settings[i].substr(0, kMaxSettingLength);
        PutU16(out, static_cast<uint16_t>(line.size()));
        out += line;
    }
}

void RecordingCodec::Frame(const RecordedFrame& f, std::string& out)
{
    out.push_back(kFrameTag);
    PutU32(out, f.ticks);
    PutU64(out, static_cast<uint64_t>(f.seconds));
    PutU32(out, static_cast<uint32_t>(f.mouseX));
    PutU32(out, static_cast<uint32_t>(f.mouseY));
    PutU32(out, f.buttons);
    out.push_back(static_cast<char>(f.appState));
    out.push_back(static_cast<char>(HasPad(f) ? kPad : kNoPad));
    if (HasPad(f)) {
        PutU32(out, f.padButtons);
        for (int16_t a : f.padAxes)
            PutU16(out, static_cast<uint16_t>(a));
    }
    PutU16(out, static_cast<uint16_t>(f.keysChanged.size()));
    for (uint16_t k : f.keysChanged)
        PutU16(out, k);
    PutU16(out, static_cast<uint16_t>(f.seeds.size()));
    for (uint32_t s : f.seeds)
        PutU32(out, s);
    PutU64(out, f.hash);
}

void RecordingCodec::End(uint32_t frameCount, uint64_t finalHash, std::string& out)
{
    out.push_back(kEndTag);
    PutU32(out, frameCount);
    PutU64(out, finalHash);
}

std::string RecordingCodec::Decode(const std::string& bytes, Recording& out)
{
    out = Recording();
    Recording r;
    Reader in(bytes);
    char magic[sizeof kRecordingMagic];
    if (!in.Raw(magic, sizeof magic) || std::memcmp(magic, kRecordingMagic, sizeof magic) != 0)
        return "not a Velq! recording";
    uint32_t format = 0;
    uint16_t versionLength = 0;
    if (!in.U32(format))
        return "truncated header";
    if (format < 1 || format > kRecordingFormat)
        return "recording format " + std::to_string(format) + ", this game reads formats 1 to " +
               std::to_string(kRecordingFormat);
    if (!in.U16(versionLength) || versionLength > kMaxVersionLength || in.Left() < versionLength)
        return "truncated header";
    r.gameVersion.resize(versionLength);
    in.Raw(&r.gameVersion[0], versionLength);
    if (r.gameVersion != kVersionText)
        return "recorded by " + r.gameVersion + ", this is " + kVersionText;
    if (!in.I32(r.screenWidth) || !in.I32(r.screenHeight) || !in.U16(r.keyCount) ||
        !in.U32(r.startTicks) || !in.I64(r.startSeconds))
        return "truncated header";
    if (r.screenWidth < 1 || r.screenWidth > kMaxScreenSide || r.screenHeight < 1 ||
        r.screenHeight > kMaxScreenSide || r.keyCount == 0 || r.keyCount > kMaxKeyCount)
        return "corrupt header";
    uint16_t settings = 0;
    if (format >= 2 && !in.U16(settings))
        return "truncated header";
    if (settings > kMaxSettings)
        return "corrupt header";
    for (uint16_t i = 0; i < settings; ++i) {
        uint16_t length = 0;
        if (!in.U16(length) || in.Left() < length)
            return "truncated header";
        if (length > kMaxSettingLength)
            return "corrupt header";
        std::string line(length, '\0');
        in.Raw(&line[0], length);
        r.settings.push_back(std::move(line));
    }

    for (;;) {
        uint8_t tag = 0;
        if (!in.U8(tag))
            return "truncated after frame " + std::to_string(r.frames.size()) + " (no end record)";
        if (tag == kEndTag)
            break;
        if (tag != kFrameTag)
            return "corrupt record after frame " + std::to_string(r.frames.size());
        RecordedFrame f;
        const std::string why = DecodeFrame(in, format, r.keyCount, f);
        if (!why.empty())
            return why + " in frame " + std::to_string(r.frames.size() + 1);
        r.frames.push_back(std::move(f));
    }
    uint32_t count = 0;
    if (!in.U32(count) || !in.U64(r.finalHash))
        return "truncated end record";
    if (count != r.frames.size())
        return "the end record counts " + std::to_string(count) + " frames, the file has " +
               std::to_string(r.frames.size());
    if (in.Left() != 0)
        return "bytes after the end record";
    out = std::move(r);
    return "";
}

void CStateHasher::Bytes(const void* data, size_t n)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) {
        value ^= p[i];
        value *= 1099511628211ull;
    }
}

void CStateHasher::Str(const std::string& s)
{
    U32(static_cast<uint32_t>(s.size()));
    Bytes(s.data(), s.size());
}

// --- the running recorder and player ------------------------------------------------

std::function<uint64_t()> CGameRecording::stateHash;
CGameRecording::Mode CGameRecording::mode = CGameRecording::Mode::kOff;
Recording CGameRecording::played;

namespace {
using SteadyClock = std::chrono::steady_clock;

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
    uint32_t realStart = 0;
    SteadyClock::time_point lastFrame;
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
    played.keyCount = SDLK_LAST;
    session.lastKeys.assign(SDLK_LAST, 0);
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
    session.keys.assign(SDLK_LAST, 0);
    CClock::SetNow(played.startTicks, static_cast<time_t>(played.startSeconds));
    mode = timedemo ? Mode::kTimedemo : Mode::kReplay;
    return "";
}

std::string CGameRecording::Read(const std::string& path, Recording& r)
{
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

void CGameRecording::BeginFrame()
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
        return;
    }
    if (!IsPlayingBack())
        return;
    const SteadyClock::time_point now = SteadyClock::now();
    if (session.next > 0 && !session.overran)
        session.frameMs.push_back(std::chrono::duration<double, std::milli>(now - session.lastFrame).count());
    session.lastFrame = now;
    if (session.next >= played.frames.size()) {
        // The recorded game had ended by now: this one went on, so end it.
        if (!session.overran) {
            session.overran = true;
            session.firstDifference = std::min(session.firstDifference, played.frames.size() + 1);
        }
        CKernel::RequestStop();
        return;
    }
    const RecordedFrame& f = played.frames[session.next];
    CClock::SetNow(f.ticks, static_cast<time_t>(f.seconds));
    session.seedIndex = 0;
    if (mode == Mode::kReplay) {
        // At the recorded pace: never faster than the game was played.
        if (session.next == 0)
            session.realStart = SDL_GetTicks() - (f.ticks - played.frames[0].ticks);
        const uint32_t due = session.realStart + (f.ticks - played.frames[0].ticks);
        const int32_t ahead = static_cast<int32_t>(due - SDL_GetTicks());
        if (ahead > 0)
            SDL_Delay(static_cast<uint32_t>(ahead));
    }
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
        const SteadyClock::time_point now = SteadyClock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(now - session.lastFrame).count());
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
