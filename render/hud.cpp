// SPDX-License-Identifier: GPL-3.0-or-later
// The head-up display's texts, positions and colours.
#include "render/hud.h"

#include <algorithm>
#include <cassert>

#include "engine/screen.h"
#include "engine/text.h"
#include "gameplay/bindings.h"
#include "render/glyphs.h"
#include "world/toggles.h"

namespace {

constexpr float kRed[3] = {1.0f, 0.0f, 0.0f};
constexpr float kGreen[3] = {0.0f, 1.0f, 0.0f};
constexpr float kWhite[3] = {1.0f, 1.0f, 1.0f};

constexpr int kLineStep = 16;  // pixels between two lines of a column
constexpr int kFirstLineY = 500;
constexpr int kNoticeTopY = 580;

// The box behind the title and the help page, on the 4:3 frame.
constexpr int kBackdropLeft = 210, kBackdropBottom = 288, kBackdropRight = 600, kBackdropTop = 432;

// The edge an item keeps its place from.
enum class Edge { Left, Centre, Right };

class Builder {
public:
    Builder(HudLayout& l, int width) : layout(l), frameWidth(width), wider(width - CScreen::kFrameWidth)
    {
        layout.count = 0;
    }

    void Backdrop(const float* colour)
    {
        HudItem& item = Next();
        item.kind = HudItem::Kind::Backdrop;
        item.x = kBackdropLeft + Shift(Edge::Centre);
        item.y = kBackdropBottom;
        item.width = kBackdropRight - kBackdropLeft;
        item.height = kBackdropTop - kBackdropBottom;
        item.colour = colour;
    }
    // x is the place on the 4:3 frame, kept from the edge. A text that would run past
    // the frame's right edge moves left until it ends there (to the left edge, if it is
    // wider than the frame); one that fits stays put.
    void Text(Edge edge, int x, int y, int set, const float* colour, const char* text, float sx = 1.0f,
              float sy = 1.0f)
    {
        x += Shift(edge);
        const int width = TextWidth(text, sx);
        if (x + width > frameWidth)
            x = std::max(0, frameWidth - width);
        HudItem& item = Next();
        item.kind = HudItem::Kind::Text;
        item.x = x;
        item.y = y;
        item.set = set;
        item.scaleX = sx;
        item.scaleY = sy;
        item.colour = colour;
        item.text = text;
    }

private:
    HudItem& Next()
    {
        assert(layout.count < HudLayout::kCapacity);
        HudItem& item = layout.items[layout.count++];
        item = HudItem();
        return item;
    }
    int Shift(Edge edge) const { return edge == Edge::Left ? 0 : edge == Edge::Centre ? wider / 2 : wider; }

    HudLayout& layout;
    int frameWidth;
    int wider;  // how much wider than 4:3 the frame is
};

}  // namespace

namespace {
// The help page: each line's action, whose keys in force begin the line, and its words.
struct HelpRow {
    Action action;
    const char* words;
};
// clang-format off
constexpr HelpRow kHelpRows[] = {
    {Action::Help,         N_("Hilfe")},
    {Action::Scenegraph,   N_("Scenegraph ein/aus")},
    {Action::Fps,          N_("FPS ein/aus")},
    {Action::Reflections,  N_("Reflexionen ein/aus")},
    // TRANSLATORS: "tot" is "dead": the sky box is never drawn.
    {Action::Skybox,       N_("Skybox ein/aus (tot :( )")},
    {Action::Boxes,        N_("Bounding Boxes ein/aus")},
    {Action::Wireframe,    N_("Wireframe ein/aus")},
    {Action::Displaylists, N_("Displaylists ein/aus")},
    {Action::Shadowmap,    N_("Shadowmap ein/aus")},
    {Action::Paths,        N_("Gegnerpfade ein/aus")},
    {Action::Sound,        N_("Musik/FX ein/aus")},
};
// clang-format on
static_assert(sizeof kHelpRows / sizeof kHelpRows[0] == kHelpLineCount, "one row per help line");
}  // namespace

void MakeHelpLines(std::string (&lines)[kHelpLineCount])
{
    for (int i = 0; i < kHelpLineCount; ++i) {
        std::string& line = lines[i];
        // The keys as their caps read (F1, not f1), two of them joined by a slash; the
        // key and its colon take three places at least, as "F1:" does.
        const std::string keys = CBindings::Names(kHelpRows[i].action, CBindings::kKeys);
        line.clear();
        if (keys == "none") {
            line += '-';
        } else {
            for (size_t k = 0; k < keys.size(); ++k) {
                const bool function = keys[k] == 'f' && (k == 0 || keys[k - 1] == ',') && k + 1 < keys.size() &&
                                      keys[k + 1] >= '0' && keys[k + 1] <= '9';
                line += function ? 'F' : keys[k] == ',' && k > 0 ? '/' : keys[k];
            }
        }
        line += ':';
        while (line.size() < 3)
            line += ' ';
        line += ' ';
        line += Tr(kHelpRows[i].words);
    }
}

// TRANSLATORS: shown once to a player whose frames are drawn by the processor: the
// way through the menu to the lighter effects, with the menu's own words.
const char* const kSlowHintText = N_("Zu langsam? Pause > Optionen > Grafik > Effekte: leicht");

// clang-format off
const char* const kWeaponNames[3] = {N_("Raketenwerfer"), N_("LaserMG"), N_("Pumpgun")};
// clang-format on

void LayoutHud(const HudInput& in, HudLayout& out)
{
    Builder b(out, in.frameWidth);
    int y = kFirstLineY;
    // Each line that is shown above the help page pushes it down by one line.
    if (in.level == 0) {
        b.Backdrop(nullptr);  // in whatever colour the scene left current
        b.Text(Edge::Left, 100, y, 0, kRed, "Velq!", 1.5f, 2.0f);
        y -= kLineStep;
    }
    if (in.result == 1 || in.result == 2) {
        const bool won = in.result == 1;
        b.Text(Edge::Centre, 300, 50, 0, won ? kGreen : kRed, Tr(won ? N_("GEWONNEN!") : N_("VERLOREN!")), 1.5f, 2.0f);
        y -= kLineStep;
    }
    if (in.help) {
        b.Backdrop(kWhite);
        for (int i = 0; in.helpLines && i < kHelpLineCount; ++i) {
            b.Text(Edge::Centre, 170, y, 0, kWhite, in.helpLines[i].c_str());
            y -= kLineStep;
        }
    }
    if (in.weapon >= 0 && in.weapon < 3)
        b.Text(Edge::Right, 630, 16, 0, kWhite, Tr(kWeaponNames[in.weapon]));
    b.Text(Edge::Right, 630, 0, 0, kWhite, Tr("Health: "));
    b.Text(Edge::Right, 728, 0, 0, kWhite, in.healthText);
    if (in.fps) {
        b.Text(Edge::Left, 0, 0, 0, kWhite, Tr("FPS: "));
        b.Text(Edge::Left, 128, 0, 1, kWhite, in.rateText);
    }
    b.Text(Edge::Centre, 384, 0, 1, kWhite, in.timeText);
    // The help toggle never gets a notice.
    y = kNoticeTopY;
    for (int i = static_cast<int>(Toggle::Help) + 1; i < kToggleCount; ++i) {
        if (!in.toggleShown[i])
            continue;
        b.Text(Edge::Left, 0, y, 0, kWhite, Tr(ToggleName(static_cast<Toggle>(i))));
        b.Text(Edge::Left, 164, y, 0, kWhite, in.toggleOn[i] ? Tr(": ON") : Tr(": OFF"));
        y -= kLineStep;
    }
    if (in.slowHint)
        b.Text(Edge::Left, 0, y, 0, kWhite, Tr(kSlowHintText));
}

bool SlowHint::Step(const Frame& f)
{
    if (told)
        return false;
    const bool slowNow = f.software && f.fullEffects && !f.clockDriven && f.framesPerSecond > 0 &&
                         f.framesPerSecond < kSlowRate;
    if (!slowNow) {
        slow = false;
        return false;
    }
    if (!slow) {
        slow = true;
        slowSince = f.nowMs;
    }
    if (f.nowMs - slowSince < static_cast<uint32_t>(kSlowSeconds) * 1000)
        return false;
    told = true;
    toldAt = f.nowMs;
    return true;
}
