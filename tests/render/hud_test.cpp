// SPDX-License-Identifier: GPL-3.0-or-later
// What the head-up display shows where, in which language and with which glyphs (every
// text of every catalog among them), the frame-rate figure and the countdown.
#include "render/hud.h"

#include "engine/settings.h"
#include "engine/text.h"
#include "gameplay/bindings.h"
#include "render/frameclock.h"
#include "render/glyphs.h"
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
    std::string lines[kHelpLineCount];
    MakeHelpLines(lines);
    // The selection level's 484 without a result is seen on screen by the render end-to-end test.
    for (const Case& c : {Case{1, 0, 500}, Case{1, 2, 484}, Case{0, 1, 468}}) {
        HudInput in;
        in.level = c.level, in.result = c.result, in.help = true, in.helpLines = lines;
        const auto texts = Texts(in);
        const Shown* first = Find(texts, "F1: Hilfe");
        const Shown* last = Find(texts, "m:  Musik/FX ein/aus");
        ASSERT_NE(first, nullptr);
        ASSERT_NE(last, nullptr);
        EXPECT_EQ(std::make_tuple(first->x, first->y, last->y), std::make_tuple(170, c.firstY, c.firstY - 10 * 16))
            << "level " << c.level << " result " << c.result;
    }
    HudInput noHelp;
    noHelp.helpLines = lines;
    EXPECT_EQ(Find(Texts(noHelp), "F1: Hilfe"), nullptr);
}

TEST(Hud, TheHelpPageNamesTheKeysInForce)
{
    // Each row: the settings lines read, the help line of an action, and what it says.
    const struct { std::vector<std::string> lines; int row; const char* shown; } cases[] = {
        {{}, 0, "F1: Hilfe"},
        {{}, 8, "y:  Shadowmap ein/aus"},  // where QWERTY has it
        {{"layout=qwertz"}, 8, "z:  Shadowmap ein/aus"},
        {{"key.help=h"}, 0, "h:  Hilfe"},
        {{"key.help=none"}, 0, "-:  Hilfe"},
        {{"key.sound=m,f10"}, 10, "m/F10: Musik/FX ein/aus"},
        {{"key.sound=,"}, 10, ",:  Musik/FX ein/aus"},
    };
    for (const auto& c : cases) {
        CBindings::Reset();
        auto* settings = new CSettingsManager();
        CBindings::Register(*settings);
        for (const std::string& line : c.lines)
            settings->ParseSetting(line);
        std::string lines[kHelpLineCount];
        MakeHelpLines(lines);
        EXPECT_EQ(lines[c.row], c.shown);
        delete settings;
    }
    CBindings::Reset();
}

TEST(Hud, TitleResultWeaponHealthRateAndTimeKeepTheirPlaceFromTheEdgeTheyBelongTo)
{
    std::string lines[kHelpLineCount];
    MakeHelpLines(lines);
    HudInput in;
    in.level = 0, in.result = 2, in.weapon = 1, in.fps = false, in.help = true, in.helpLines = lines;
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
    // "Raketenwerfer" from 630 would end at 814: it moves in, in any frame too narrow for
    // it, also where it keeps to the right edge (from 854 on a frame 1,024 wide).
    for (const auto& [width, x] : {std::pair{800, 616}, {1024, 840}, {150, 0}}) {
        in.weapon = 0, in.frameWidth = width;
        EXPECT_EQ(Find(Texts(in), "Raketenwerfer")->x, x) << "a frame " << width << " wide";
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
    // The word about the lighter effects goes under the last notice, from the left edge.
    in.slowHint = true;
    const auto withHint = Texts(in);
    const Shown* hint = Find(withHint, kSlowHintText);
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(std::make_tuple(hint->x, hint->y), std::make_tuple(0, Find(withHint, "Shadowmap")->y - 16));
}

// A slow processor-drawn game with the full effects hears of the lighter ones once,
// after five slow seconds in a row; nothing else ever does.
TEST(Hud, SlowHintIsToldOnceAfterFiveSlowSecondsOnlyWhereItCanHelp)
{
    using F = SlowHint::Frame;
    const F slow{true, true, false, 30, 0};
    struct Case {
        const char* what;
        F changed;  // the slow frame with one thing changed
        bool told;
    } cases[] = {
        {"slow on the processor", slow, true},
        {"on a graphics card", {false, true, false, 30, 0}, false},
        {"with the light effects", {true, false, false, 30, 0}, false},
        {"on a driven clock (a replay)", {true, true, true, 30, 0}, false},
        {"fast enough", {true, true, false, SlowHint::kSlowRate, 0}, false},
        {"before the first second's rate", {true, true, false, 0, 0}, false},
    };
    for (const Case& c : cases) {
        SlowHint hint;
        int toldAt = -1, toldTimes = 0;
        for (uint32_t ms = 0; ms <= 20000; ms += 100) {
            F f = c.changed;
            f.nowMs = ms;
            if (hint.Step(f))
                toldAt = static_cast<int>(ms), ++toldTimes;
        }
        EXPECT_EQ(toldTimes, c.told ? 1 : 0) << c.what;
        EXPECT_EQ(toldAt, c.told ? 5000 : -1) << c.what;
    }
    // A fast second in between starts the five seconds again; shown for ten seconds.
    SlowHint hint;
    EXPECT_FALSE(hint.Step({true, true, false, 30, 1000}));
    EXPECT_FALSE(hint.Step({true, true, false, 60, 4000}));
    EXPECT_FALSE(hint.Step({true, true, false, 30, 5000}));
    EXPECT_FALSE(hint.Step({true, true, false, 30, 9999}));
    EXPECT_TRUE(hint.Step({true, true, false, 30, 10000}));
    EXPECT_TRUE(hint.Showing(19999));
    EXPECT_FALSE(hint.Showing(20000));
}

// In the test language every text of the catalogs' template comes after an "@".
TEST(Hud, EveryWordShownIsLookedUpInTheCatalogs)
{
    CLanguage::SetCatalogDir(VELQ_PSEUDO_CATALOGS);
    ASSERT_TRUE(CLanguage::Choose("xx"));
    for (int weapon = 0; weapon < 3; ++weapon) {
        HudInput in;
        in.weapon = weapon, in.result = 1 + weapon % 2, in.fps = in.help = in.slowHint = true;
        for (int i = 0; i < 10; ++i)
            in.toggleShown[i] = true, in.toggleOn[i] = weapon % 2 == 0;
        for (const Shown& s : Texts(in))
            EXPECT_TRUE(s.text[0] == '@' || s.text == "Velq!" || s.text.empty()) << s.text;
    }
    CLanguage::Choose("de");
}

TEST(Glyphs, TextMapsOntoTheFontsCodesAndAnythingElseShowsAsAQuestionMark)
{
    struct Case { const char* text; std::vector<int> codes; size_t missing; int width; };
    const Case cases[] = {
        {"", {}, 0, 0},
        {"Aa ~", {'A', 'a', ' ', '~'}, 0, 58},
        {"Größe", {'G', 'r', 148, 158, 'e'}, 0, 72},
        {"é €", {130, ' ', '?'}, 1, 44},       // the euro sign has no glyph
        {"\t\x7f", {'?', '?'}, 2, 30},         // nor have control characters
        {"\xc3", {'?'}, 1, 16},                // cut short at the end
        {"\xc0\xaf!", {'?', '!'}, 1, 30},      // a slash spelt too long
        {"\xed\xa0\x80x", {'?', 'x'}, 1, 30},  // half of a surrogate pair
    };
    for (const Case& c : cases) {
        unsigned char codes[16];
        size_t missing = 99;
        const size_t count = ToGlyphCodes(c.text, codes, sizeof codes, &missing);
        EXPECT_EQ(std::vector<int>(codes, codes + count), c.codes) << c.text;
        EXPECT_EQ(std::make_pair(missing, TextWidth(c.text, 1.0f)), std::make_pair(c.missing, c.width)) << c.text;
    }
    unsigned char three[3];
    EXPECT_TRUE(ToGlyphCodes("abcd", three, sizeof three) == 2 && three[2] == 0) << "two and the terminating zero";
    EXPECT_EQ(TextWidth("GEWONNEN!", 1.5f), 192) << "eight advances of 21 and a glyph of 24";
}

// What a shell command prints; a command that fails fails the test.
std::string Output(const std::string& command)
{
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        out += static_cast<char>(c);
    EXPECT_TRUE(pipe && pclose(pipe) == 0) << command;
    return out;
}

// Each catalog passes msgfmt --check; the English one, merged with the template the sources
// give now, translates every text, none fuzzy; every line of every text has its glyphs.
TEST(Catalogs, CheckTranslateEveryTextInEnglishAndHaveTheirGlyphs)
{
    const std::string po = VELQ_PO_DIR, pot = VELQ_POT;
    Output("for po in " + po + "/*.po; do msgfmt --check -o /dev/null $po || exit 1; done");
    for (const char* kind : {"--untranslated", "--only-fuzzy"})
        EXPECT_EQ(Output("msgmerge --quiet -o - " + po + "/en.po " + pot + " | msgattrib --no-obsolete " + kind), "")
            << "en.po";
    const std::string texts =
        Output("msgen " + pot + " | msgexec -i - 0 && for po in " + po + "/*.po; do msgexec -i $po 0 || exit 1; done");
    std::string text, line;
    int count = 0;
    for (std::istringstream each(texts); std::getline(each, text, '\0'); ++count) {
        if (text.find("Content-Type:") != std::string::npos)
            continue;  // a catalog's header
        for (std::istringstream lines(text); std::getline(lines, line);) {
            std::vector<unsigned char> codes(line.size() + 1);
            size_t missing = 0;
            ToGlyphCodes(line.c_str(), codes.data(), codes.size(), &missing);
            EXPECT_EQ(missing, 0u) << "\"" << line << "\"";
        }
    }
    EXPECT_GT(count, 150) << "the template's texts and the English ones";
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
