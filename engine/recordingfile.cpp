// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded-game file's bytes: every read is bounded by what the file holds, and
// every refusal says why.
#include "engine/recordingfile.h"

#include <algorithm>
#include <cstring>

#include "engine/options.h"

const char kRecordingMagic[8] = {'V', 'E', 'L', 'Q', 'R', 'E', 'C', '\n'};

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
