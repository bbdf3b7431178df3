// SPDX-License-Identifier: GPL-3.0-or-later
// The recorded-game file (round trip, every truncation, corrupt and foreign files, the
// format before the controller) and a recorder and player run through the kernel's,
// input task's and generator's calls.
#include "engine/recording.h"

#include "engine/clock.h"
#include "engine/inputtask.h"
#include "engine/options.h"
#include "engine/random.h"
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
    EXPECT_EQ(std::tie(back.format, back.gameVersion, back.screenWidth, back.screenHeight, back.keyCount, back.startTicks,
                       back.startSeconds, back.settings, back.frames, back.finalHash),
              std::tie(kRecordingFormat, r.gameVersion, r.screenWidth, r.screenHeight, r.keyCount, r.startTicks, r.startSeconds,
                       r.settings, r.frames, r.finalHash));
    for (size_t n = 0; n < bytes.size(); ++n) {
        Recording out = Sample();
        EXPECT_NE(RecordingCodec::Decode(bytes.substr(0, n), out), "") << n << " bytes";
        EXPECT_TRUE(out.frames.empty() && out.gameVersion.empty()) << n << " bytes";
    }

    // Format 3 differs by what its cursor means, which the replay reads from the format.
    std::string bytes3 = bytes;
    bytes3[8] = 3;
    ASSERT_EQ(RecordingCodec::Decode(bytes3, back), "");
    EXPECT_TRUE(back.format == 3 && back.frames == r.frames);

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
        EXPECT_TRUE(back.frames == old.frames && back.settings == old.settings && back.format == uint32_t(format))
            << "format " << int{format};
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
        {"format", with(8, std::string("\x05", 1)), "recording format 5, this game reads formats 1 to 4"},
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

// Plays one frame the way the kernel, the input task and the game do.
void Frame(unsigned char* keys, int mouseX, uint32_t seed, int16_t stick = 0)
{
    CClock::BeginFrame();
    CGameRecording::BeginFrame();
    CInputTask::keys = keys;
    CInputTask::keyCount = 323;
    CInputTask::mouseX = mouseX;
    CInputTask::padAxes[3] = stick;
    if (CGameRecording::SupplyInput() == false)
        CGameRecording::InputRead();
    CRandom::Seed(seed);
    CRandom::Next();
    CGameRecording::EndFrame();
}

class RecordingSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        CClock::DriveFixedStep(16);
        // The controller plays its part in the game.
        CGameRecording::stateHash = [] { return CRandom::GetState() + CClock::GetTicks() + CInputTask::padAxes[3]; };
        ASSERT_EQ(CGameRecording::StartRecording(path), "");
        CGameRecording::SetSettings({"key.fire=f"});
        unsigned char keys[323] = {};
        for (int i = 0; i < 5; ++i) {
            keys[97] = (i == 1 || i == 2);  // 'a' held over two frames
            Frame(keys, 10 * i, CClock::GetTicks(), static_cast<int16_t>(i == 3 ? -32768 : 0));
        }
        Printed();
        ASSERT_EQ(CGameRecording::Finish(), 0);
    }
    void TearDown() override
    {
        CGameRecording::stateHash = nullptr;
        CInputTask::keys = nullptr;
        CInputTask::padAxes[3] = 0;
        CInputTask::keyCount = 0;
        CClock::Release();
    }

    // Replays the file with its own clock and seeds, whatever the game would take.
    int Replay(int framesPlayed)
    {
        EXPECT_EQ(CGameRecording::StartReplay(path, true), "");
        unsigned char ignored[323] = {};
        for (int i = 0; i < framesPlayed; ++i) {
            Frame(ignored, -1, 99999, 7);
            seen.push_back({CInputTask::curKey(97), CInputTask::mouseX + CInputTask::padAxes[3]});
        }
        return CGameRecording::Finish();
    }

    velqtest::TempDir dir;
    const std::string path = "game.rec";
    // What the session printed since the last look.
    std::string Printed()
    {
        const std::string all = cout.Text();
        const std::string fresh = all.substr(printedSoFar);
        printedSoFar = all.size();
        return fresh;
    }
    velqtest::CaptureCout cout;
    size_t printedSoFar = 0;
    std::vector<std::pair<bool, int>> seen;
};

TEST_F(RecordingSession, ReplaysInputClockAndSeedsToTheSameHashesOrNamesTheFrameWhereTheGamesPart)
{
    const struct { int frames; int partsAt; int result; const char* printed; } cases[] = {
        {5, 0, 0, "game.rec matches the recording (5 frames"},
        {5, 3, 1, "parts from the recording at frame 3 of 5"},
        {4, 0, 1, "at frame 5 of 5"},  // a game that ends early
        {6, 0, 1, "at frame 6 of 5"},  // or late
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printed);
        int frame = 0;
        const int partsAt = c.partsAt;
        CGameRecording::stateHash = [&frame, partsAt] {
            return CRandom::GetState() + CClock::GetTicks() + CInputTask::padAxes[3] + (++frame == partsAt);
        };
        seen.clear();
        EXPECT_EQ(Replay(c.frames), c.result);
        EXPECT_NE(Printed().find(c.printed), std::string::npos);
    }
    ASSERT_EQ(seen.size(), 6u);  // the late game's: the recorded input, then a frame beyond it
    seen.pop_back();
    EXPECT_EQ(seen, (std::vector<std::pair<bool, int>>{{false, 0}, {true, 10}, {true, 20}, {false, 30 - 32768}, {false, 40}}));
    EXPECT_EQ(CGameRecording::RecordedSettings(), std::vector<std::string>{"key.fire=f"});
    EXPECT_NE(CGameRecording::StartReplay(path + "x", false).find("cannot open"), std::string::npos);
    EXPECT_EQ(CGameRecording::GetMode(), CGameRecording::Mode::kOff);
}

}  // namespace
