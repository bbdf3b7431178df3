// SPDX-License-Identifier: GPL-3.0-or-later
// What the head-up display shows where, in which language, the frame-rate figure and the
// countdown.
#include "render/hud.h"

#include "engine/text.h"
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
        ASSERT_TRUE(first && last);
        EXPECT_TRUE(first->x == 170 && first->y == c.firstY && last->y == c.firstY - 10 * 16)
            << "level " << c.level << " result " << c.result;
    }
    HudInput noHelp;
    EXPECT_EQ(Find(Texts(noHelp), "F1: Hilfe"), nullptr);
}

TEST(Hud, TitleResultWeaponHealthRateAndTimeStandWhereTheyBelong)
{
    HudInput in;
    in.level = 0, in.result = 2, in.weapon = 1, in.fps = false;
    in.healthText = "95", in.timeText = "42";
    auto texts = Texts(in);
    const std::vector<Shown> want = {
        {100, 500, 0, "Velq!"}, {300, 50, 0, "VERLOREN!"}, {630, 16, 0, "LaserMG"},
        {630, 0, 0, "Health: "}, {728, 0, 0, "95"},        {384, 0, 1, "42"},
    };
    ASSERT_EQ(texts.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(std::tie(texts[i].text, texts[i].x, texts[i].y, texts[i].set),
                  std::tie(want[i].text, want[i].x, want[i].y, want[i].set));

    in.fps = true, in.rateText = "61";
    texts = Texts(in);
    ASSERT_TRUE(Find(texts, "FPS: ") && Find(texts, "61"));
    EXPECT_TRUE(Find(texts, "61")->x == 128 && Find(texts, "61")->set == 1);

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
    ASSERT_TRUE(shadow && on && Find(texts, "Reflexionen"));
    EXPECT_TRUE(shadow->y == 564 && on->y == 564 && on->x == 164);
}

TEST(Hud, ATextRunningPastTheFramesEdgeMovesInAndOneThatFitsStays)
{
    struct Case { int weapon, frameWidth, x; };
    // "Raketenwerfer" from 630 ends at 630 + 12 * 14 + 16 = 814.
    for (const Case& c : {Case{0, 800, 616}, Case{0, 1024, 630}, Case{1, 800, 630}, Case{0, 150, 0}}) {
        HudInput in;
        in.weapon = c.weapon, in.frameWidth = c.frameWidth;
        const Shown* name = Find(Texts(in), kWeaponNames[c.weapon]);
        ASSERT_TRUE(name);
        EXPECT_EQ(name->x, c.x) << kWeaponNames[c.weapon] << " in a frame " << c.frameWidth << " wide";
    }
}

// In the test language every text of the catalogs' template comes after an "@": a text
// shown without the lookup, or left out of the template, has none.
TEST(Hud, EveryWordShownIsLookedUpInTheCatalogs)
{
    CLanguage::SetCatalogDir(VELQ_PSEUDO_CATALOGS);
    ASSERT_TRUE(CLanguage::Choose("xx"));
    for (int weapon = 0; weapon < 3; ++weapon) {
        for (int result : {1, 2}) {
            HudInput in;
            in.weapon = weapon, in.result = result, in.fps = in.help = true;
            in.healthText = "95", in.rateText = "61", in.timeText = "42";
            for (int i = 0; i < 10; ++i)
                in.toggleShown[i] = true, in.toggleOn[i] = (i + result) % 2 == 0;
            for (const Shown& s : Texts(in))
                EXPECT_TRUE(s.text[0] == '@' || s.text == "Velq!" || std::isdigit(s.text[0])) << s.text;
        }
    }
    CLanguage::Choose("de");
    CLanguage::SetCatalogDir("locale");
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
