// SPDX-License-Identifier: GPL-3.0-or-later
// What the head-up display shows where, the frame-rate figure and the countdown.
#include "render/hud.h"

#include "render/frameclock.h"
#include "support/testutil.h"

namespace {

struct Shown { int x, y, set; std::string text; };

std::vector<Shown> Texts(const HudInput& in)
{
    HudLayout layout;
    LayoutHud(in, layout);
    std::vector<Shown> out;
    for (int i = 0; i < layout.count; ++i) {
        const HudItem& item = layout.items[i];
        if (item.kind == HudItem::Kind::Text)
            out.push_back({item.x, item.y, item.set, item.text});
    }
    return out;
}

const Shown* Find(const std::vector<Shown>& texts, const std::string& text)
{
    const auto it = std::find_if(texts.begin(), texts.end(), [&](const Shown& s) { return s.text == text; });
    return it == texts.end() ? nullptr : &*it;
}

TEST(Hud, HelpLinesStartLowerForEachLineShownAboveThem)
{
    struct Case { int level, result, firstY; };
    // The selection level's 484 without a result is seen on screen by the render end-to-end test.
    for (const Case& c : {Case{1, 0, 500}, Case{1, 2, 484}, Case{0, 1, 468}}) {
        HudInput in;
        in.level = c.level, in.result = c.result, in.help = true;
        const auto texts = Texts(in);
        const Shown* first = Find(texts, "F1: Hilfe");
        const Shown* last = Find(texts, "m:  Musik/FX ein/aus");
        ASSERT_NE(first, nullptr);
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(std::make_tuple(first->x, first->y, last->y), std::make_tuple(170, c.firstY, c.firstY - 10 * 16))
            << "level " << c.level << " result " << c.result;
    }
    HudInput noHelp;
    EXPECT_EQ(Find(Texts(noHelp), "F1: Hilfe"), nullptr);
}

TEST(Hud, TitleResultWeaponHealthRateAndTimeKeepTheirPlaceFromTheEdgeTheyBelongTo)
{
    HudInput in;
    in.level = 0, in.result = 2, in.weapon = 1, in.fps = false, in.help = true;
    in.healthText = "95", in.timeText = "42";
    enum Edge { L, C, R };
    const struct { Edge edge; Shown at4x3; } want[] = {
        {L, {100, 500, 0, "Velq!"}}, {C, {300, 50, 0, "VERLOREN!"}}, {C, {170, 468, 0, "F1: Hilfe"}},
        {R, {630, 16, 0, "LaserMG"}}, {R, {630, 0, 0, "Health: "}},   {R, {728, 0, 0, "95"}},
        {C, {384, 0, 1, "42"}},
    };
    // The 4:3 frame, 16:9 (1920 x 1080), 16:10 and the widest.
    for (int width : {800, 1066, 960, 2400}) {
        in.frameWidth = width;
        const auto texts = Texts(in);
        for (const auto& w : want) {
            const Shown* got = Find(texts, w.at4x3.text);
            ASSERT_TRUE(got) << w.at4x3.text;
            const int x = w.at4x3.x + (w.edge == L ? 0 : w.edge == C ? (width - 800) / 2 : width - 800);
            EXPECT_EQ(std::tie(got->x, got->y, got->set), std::tie(x, w.at4x3.y, w.at4x3.set))
                << w.at4x3.text << " on a frame " << width << " wide";
        }
        HudLayout layout;
        LayoutHud(in, layout);
        for (int i = 0; i < layout.count; ++i) {
            const HudItem& box = layout.items[i];
            if (box.kind == HudItem::Kind::Backdrop) {
                EXPECT_TRUE(box.x * 2 + box.width == width + 10 && box.y == 288 && box.height == 144) << width;
            }
        }
    }
    in.frameWidth = 800, in.help = false;
    auto texts = Texts(in);
    EXPECT_EQ(texts.size(), 6u);

    in.fps = true, in.rateText = "61";
    texts = Texts(in);
    ASSERT_NE(Find(texts, "FPS: "), nullptr);
    ASSERT_NE(Find(texts, "61"), nullptr);
    EXPECT_EQ(std::make_tuple(Find(texts, "61")->x, Find(texts, "61")->set), std::make_tuple(128, 1));

    for (int weapon : {-1, 3}) {
        in.weapon = weapon;
        texts = Texts(in);
        for (const char* name : kWeaponNames)
            EXPECT_EQ(Find(texts, name), nullptr) << "weapon index " << weapon;
    }
}

TEST(Hud, NoticesListFlippedTogglesTopDownButNeverHelp)
{
    HudInput in;
    in.toggleShown[0] = in.toggleShown[3] = in.toggleShown[7] = in.toggleOn[7] = true;  // 0, help: never a notice
    const auto texts = Texts(in);
    EXPECT_EQ(Find(texts, "Hilfe"), nullptr);
    // The first notice at the top is seen on screen by the render end-to-end test.
    const Shown *shadow = Find(texts, "Shadowmap"), *on = Find(texts, ": ON");
    for (const Shown* shown : {shadow, on, Find(texts, "Reflexionen")})
        ASSERT_NE(shown, nullptr);
    EXPECT_EQ(std::make_tuple(shadow->y, on->y, on->x), std::make_tuple(564, 564, 164));
}

TEST(FrameClock, RateChangesOnlyAfterMoreThanASecond)
{
    FrameRate rate;
    for (uint32_t t = 16; t <= 992; t += 16)
        rate.Tick(t);
    rate.Tick(1000);
    EXPECT_EQ(rate.Get(), 0) << "at 1000 ms exactly it waits one more frame";
    rate.Tick(1010);
    EXPECT_EQ(rate.Get(), 64 * 1000 / 1010);
    rate.Tick(2011);
    EXPECT_EQ(rate.Get(), 0) << "one frame in 1001 ms, truncated";
}

TEST(FrameClock, CountdownRunsSixtySecondsAndDoubleWhileTheFlagIsCarried)
{
    struct Case { uint32_t now; bool carried; int32_t left; };
    const uint32_t start = 5000;
    const Case cases[] = {
        {5999, false, 60}, {6000, false, 59}, {25500, true, 19}, {75000, false, -10},
        {4000, false, 61},  // a clock behind the start: elapsed -1000
    };
    for (const Case& c : cases)
        EXPECT_EQ(Countdown(c.now, start, c.carried), c.left) << c.now << (c.carried ? " carried" : "");
}

}  // namespace
