// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded-game file: round trip, every truncation, corrupt and foreign files, the
// formats before the controller and the focus.
#include "engine/recordingfile.h"

#include "engine/options.h"
#include "support/testutil.h"

namespace {

Recording Sample()
{
    Recording r;
    r.gameVersion = kVersionText;
    r.screenWidth = 800, r.screenHeight = 600, r.keyCount = 323;
    r.startTicks = 150, r.startSeconds = 1765000000;
    r.settings = {"key.fire=f", ""};
    RecordedFrame a;
    a.ticks = 166, a.seconds = 1765000000, a.mouseX = 400, a.mouseY = -3, a.buttons = 1, a.appState = 3;
    a.padButtons = 1u << 31, a.padAxes[0] = -32768, a.padAxes[7] = 5;
    a.keysChanged = {53, 119};
    a.seeds = {1765000000, 1765000001};
    a.hash = 0x0123456789abcdefull;
    r.frames = {a, RecordedFrame()};
    r.finalHash = 42;
    return r;
}

std::string Encode(const Recording& r)
{
    std::string bytes;
    RecordingCodec::Header(r, bytes);
    for (const RecordedFrame& f : r.frames)
        RecordingCodec::Frame(f, bytes);
    RecordingCodec::End(static_cast<uint32_t>(r.frames.size()), r.finalHash, bytes);
    return bytes;
}

TEST(RecordingCodec, RoundTripsEveryFieldAndRefusesEveryTruncationLeavingNothing)
{
    const Recording r = Sample();
    const std::string bytes = Encode(r);
    Recording back;
    ASSERT_EQ(RecordingCodec::Decode(bytes, back), "");
    EXPECT_EQ(std::tie(back.gameVersion, back.screenWidth, back.screenHeight, back.keyCount, back.startTicks,
                       back.startSeconds, back.settings, back.frames, back.finalHash),
              std::tie(r.gameVersion, r.screenWidth, r.screenHeight, r.keyCount, r.startTicks, r.startSeconds,
                       r.settings, r.frames, r.finalHash));
    for (size_t n = 0; n < bytes.size(); ++n) {
        Recording out = Sample();
        EXPECT_NE(RecordingCodec::Decode(bytes.substr(0, n), out), "") << n << " bytes";
        EXPECT_EQ(out.frames.size(), 0u) << n << " bytes";
        EXPECT_EQ(out.gameVersion, "") << n << " bytes";
    }

    // Format 1 had no settings in its header and no controller byte in its frames,
    // format 2 no focus byte; their frames read as focused.
    for (char format : {1, 2}) {
        Recording old = Sample();
        old.frames[0].appState = 7;
        if (format == 1)
            old.settings.clear(), old.frames[0].padButtons = 0, old.frames[0].padAxes[0] = old.frames[0].padAxes[7] = 0;
        std::string bytesOld, header;
        RecordingCodec::Header(old, header);
        header[8] = format;
        bytesOld = format == 1 ? header.substr(0, header.size() - 2) : header;
        for (const RecordedFrame& f : old.frames) {
            std::string frame;
            RecordingCodec::Frame(f, frame);
            bytesOld += frame.erase(1 + 4 + 8 + 4 + 4 + 4, format == 1 ? 2 : 1);
        }
        RecordingCodec::End(2, old.finalHash, bytesOld);
        ASSERT_EQ(RecordingCodec::Decode(bytesOld, back), "") << "format " << int{format};
        EXPECT_EQ(std::tie(back.frames, back.settings), std::tie(old.frames, old.settings)) << "format " << int{format};
    }
}

// A file from another game version is refused by the replay end-to-end test.
TEST(RecordingCodec, RefusesForeignAndCorruptFilesWithTheReason)
{
    const std::string good = Encode(Sample());
    const size_t versionAt = 8 + 4 + 2;
    const size_t headerEnd = versionAt + std::strlen(kVersionText) + 4 + 4 + 2 + 4 + 8 + 2 + 2 + 10 + 2;
    const size_t padAt = headerEnd + 1 + 4 + 8 + 4 + 4 + 4 + 1, firstKeyCount = padAt + 1 + 4 + 16;
    auto with = [&](size_t at, std::string bytes) { return good.substr(0, at) + bytes + good.substr(at + bytes.size()); };
    struct Case { const char* what; std::string bytes; const char* reason; } cases[] = {
        {"magic", with(0, "X"), "not a Velq! recording"},
        {"format", with(8, std::string("\x04", 1)), "recording format 4, this game reads formats 1 to 3"},
        {"controller byte", with(padAt, "\x02"), "corrupt controller state in frame 1"},
        {"settings count", with(headerEnd - 16, "\xff\xff"), "corrupt header"},
        {"screen width 0", with(versionAt + std::strlen(kVersionText), std::string(4, '\0')), "corrupt header"},
        {"key beyond the keyboard", with(firstKeyCount + 2, std::string("\x43\x01", 2)), "a key number beyond the keyboard in frame 1"},
        {"key count past the end", with(firstKeyCount, "\xff\xff"), "truncated in frame 1"},
        {"unknown record", with(headerEnd, "Z"), "corrupt record after frame 0"},
        {"frame count", with(good.size() - 12, std::string("\x07", 1)), "the end record counts 7 frames, the file has 2"},
        {"trailing byte", good + "x", "bytes after the end record"},
    };
    for (const Case& c : cases) {
        Recording out;
        EXPECT_EQ(RecordingCodec::Decode(c.bytes, out), c.reason) << c.what;
    }
}

}  // namespace
