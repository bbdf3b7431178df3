// SPDX-License-Identifier: GPL-3.0-or-later
// The game's bindings table, the layouts' ready sets, the settings that change them,
// and the sticks.
#include "gameplay/bindings.h"

#include <cassert>
#include <cmath>
#include <string>

#include "engine/inputnames.h"
#include "engine/inputtask.h"
#include "engine/settings.h"
#include "engine/text.h"

namespace {

enum { kQwerty, kAzerty, kQwertz, kLayouts };
constexpr const char* kLayoutNames[kLayouts] = {"qwerty", "azerty", "qwertz"};

// Every action with its keys on each layout (by the keys' position: what a QWERTY
// player presses, where it lies on the others) and its controller inputs (named as a
// pad of the Xbox kind reports them: joy0 A, joy2 X, joy3 Y, joy5 right bumper, joy6
// Back, joy7 Start, axis5 the right trigger).
struct ActionRow {
    Action action;
    const char* name;
    const char* keys[kLayouts];
    const char* pad;
    const char* words;  // for --help and the manual page, in German: the catalogs' key
};
// clang-format off
constexpr ActionRow kActionTable[] = {
    // action                 name            qwerty              azerty                 qwertz              pad            words
    {Action::Forward,       "forward",       {"w,up",            "z,up",                "w,up"},            "hatup",       N_("vorwärts")},
    {Action::Back,          "back",          {"s,down",          "s,down",              "s,down"},          "hatdown",     N_("rückwärts")},
    {Action::Left,          "left",          {"a,left",          "q,left",              "a,left"},          "hatleft",     N_("nach links")},
    {Action::Right,         "right",         {"d,right",         "d,right",             "d,right"},         "hatright",    N_("nach rechts")},
    {Action::Fire,          "fire",          {"space,mouse1",    "space,mouse1",        "space,mouse1"},    "axis5+,joy5", N_("feuern")},
    {Action::Weapon,        "weapon",        {"tab",             "tab",                 "tab"},             "joy2",        N_("Waffe wechseln")},
    {Action::Tower,         "tower",         {"mouse3",          "mouse3",              "mouse3"},          "joy0",        N_("Turm")},
    {Action::Ring,          "ring",          {"z",               "w",                   "y"},               "joy3",        N_("Turmring")},
    {Action::Orbit,         "orbit",         {"c,mouse2",        "c,mouse2",            "c,mouse2"},        "none",        N_("Kamera drehen (Maus)")},
    {Action::CameraForward, "cameraForward", {"1,page up",       "&,page up",           "1,page up"},       "none",        N_("Kamera vor")},
    {Action::CameraBack,    "cameraBack",    {"2,page down",     "world 73,page down",  "2,page down"},     "none",        N_("Kamera zurück")},
    {Action::CameraHigher,  "cameraHigher",  {"-,o",             "),o",                 "-,o"},             "none",        N_("Kamera höher")},
    {Action::CameraLower,   "cameraLower",   {"+,i",             "=,i",                 "+,i"},             "none",        N_("Kamera tiefer")},
    {Action::CameraOut,     "cameraOut",     {"9",               "world 71",            "9"},               "none",        N_("Kamera höher und zurück")},
    {Action::CameraIn,      "cameraIn",      {"8",               "_",                   "8"},               "none",        N_("Kamera tiefer und vor")},
    {Action::Sound,         "sound",         {"m",               "m",                   "m"},               "none",        N_("Musik/FX ein/aus")},
    {Action::Help,          "help",          {"f1",              "f1",                  "f1"},              "none",        N_("Hilfe ein/aus")},
    {Action::Scenegraph,    "scenegraph",    {"f2",              "f2",                  "f2"},              "none",        N_("Scenegraph ein/aus")},
    {Action::Fps,           "fps",           {"f3",              "f3",                  "f3"},              "none",        N_("FPS ein/aus")},
    {Action::Reflections,   "reflections",   {"f4",              "f4",                  "f4"},              "none",        N_("Reflexionen ein/aus")},
    {Action::Skybox,        "skybox",        {"f5",              "f5",                  "f5"},              "none",        N_("Skybox ein/aus")},
    {Action::Boxes,         "boxes",         {"f6",              "f6",                  "f6"},              "none",        N_("Bounding Boxes ein/aus")},
    {Action::Paths,         "paths",         {"p",               "p",                   "p"},               "none",        N_("Gegnerpfade ein/aus")},
    {Action::Shadowmap,     "shadowmap",     {"y",               "y",                   "z"},               "none",        N_("Shadowmap ein/aus")},
    {Action::Wireframe,     "wireframe",     {"f7",              "f7",                  "f7"},              "none",        N_("Wireframe ein/aus")},
    {Action::Displaylists,  "displaylists",  {"f8",              "f8",                  "f8"},              "none",        N_("Displaylists ein/aus")},
    {Action::Level1,        "level1",        {"5",               "(",                   "5"},               "none",        N_("Level 1")},
    {Action::Level2,        "level2",        {"6",               "-",                   "6"},               "none",        N_("Level 2")},
    {Action::Level3,        "level3",        {"7",               "world 72",            "7"},               "none",        N_("Level 3")},
    {Action::Level4,        "level4",        {"8",               "_",                   "8"},               "none",        N_("Level 4")},
    {Action::Quit,          "quit",          {"escape",          "escape",              "escape"},          "joy6",        N_("zur Auswahl, dort beenden")},
    {Action::Screenshot,    "screenshot",    {"f12",             "f12",                 "f12"},             "none",        N_("Bildschirmfoto")},
    {Action::Pause,         "pause",         {"pause,f9",        "pause,f9",            "pause,f9"},        "joy7",        N_("Pause")},
};
// clang-format on
static_assert(sizeof kActionTable / sizeof kActionTable[0] == CBindings::kActions, "one row per action");
constexpr bool InActionOrder()
{
    for (int i = 0; i < CBindings::kActions; ++i)
        if (static_cast<int>(kActionTable[i].action) != i)
            return false;
    return true;
}
static_assert(InActionOrder(), "the rows in the order of the actions");

constexpr int kNone = -1;
constexpr int kAlwaysQuits = CInputTask::kEscapeKey;
// The sticks' axes (x, y), as pads of the Xbox and PlayStation kind number them.
constexpr int kLeftStick[2] = {0, 1}, kRightStick[2] = {3, 4};
constexpr int kDefaultDeadZone = 20, kMostDeadZone = 90;
constexpr float kFullTravel = 32767.0f;

using Inputs = int[CBindings::kSlots];

struct State {
    int layout = kQwerty;
    bool own[CBindings::kActions][CBindings::kDevices] = {};     // set by the player
    Inputs chosen[CBindings::kActions][CBindings::kDevices] = {};  // the player's, where own
    Inputs current[CBindings::kActions][CBindings::kDevices] = {};
    int deadZone = kDefaultDeadZone;
    bool ready = false;
};
State state;

const ActionRow& Row(Action a)
{
    assert(static_cast<int>(a) >= 0 && static_cast<int>(a) < CBindings::kActions);
    return kActionTable[static_cast<int>(a)];
}

std::string Shown(const std::string& name) { return "\"" + Printable(name, 20) + "\""; }

// The inputs a setting's value names: one name, two joined by a comma, or none.
// "" when it names them, else why not.
std::string Parse(const std::string& value, Inputs& out)
{
    out[0] = out[1] = kNone;
    if (value == "none")
        return "";
    if (value.empty())
        return "names no key (none unbinds)";
    if ((out[0] = FindInput(value)) != kNone)
        return "";
    // The comma is a key too: "a,,", ",,a" and "," name it.
    for (size_t comma = value.find(','); comma != std::string::npos; comma = value.find(',', comma + 1)) {
        const int first = FindInput(value.substr(0, comma)), second = FindInput(value.substr(comma + 1));
        if (first != kNone && second != kNone) {
            out[0] = first;
            out[1] = second == first ? kNone : second;
            return "";
        }
    }
    size_t pieces = 1, start = 0;
    std::string unknown;
    for (size_t comma = 0; comma != std::string::npos; start = comma + 1, ++pieces) {
        comma = value.find(',', start);
        const std::string piece = value.substr(start, comma == std::string::npos ? comma : comma - start);
        if (unknown.empty() && FindInput(piece) == kNone)
            unknown = piece.empty() ? value : piece;
        if (comma == std::string::npos)
            break;
    }
    out[0] = kNone;
    if (unknown.empty())
        return "one or two keys, not " + std::to_string(pieces);
    return "no key is called " + Shown(unknown);
}

void Resolve()
{
    for (int a = 0; a < CBindings::kActions; ++a) {
        for (int d = 0; d < CBindings::kDevices; ++d) {
            Inputs& into = state.current[a][d];
            if (state.own[a][d]) {
                into[0] = state.chosen[a][d][0], into[1] = state.chosen[a][d][1];
                continue;
            }
            const ActionRow& row = kActionTable[a];
            const std::string why = Parse(d == CBindings::kKeys ? row.keys[state.layout] : row.pad, into);
            assert(why.empty() && "the table names its keys as settings do");
            (void)why;
        }
    }
    state.ready = true;
}

const Inputs& Current(int a, int d)
{
    if (!state.ready)
        Resolve();
    return state.current[a][d];
}

class LayoutDator : public WordDator {
public:
    unsigned size() override { return sizeof(*this); }
    std::string Refuse(std::string& s, int) override
    {
        return Find(s) == kNone ? "must be qwerty, azerty or qwertz" : "";
    }

protected:
    BaseDator& Set(const std::string& s) override
    {
        if (Find(s) != kNone) {
            state.layout = Find(s);
            Resolve();
        }
        return *this;
    }
    std::string Get() override { return kLayoutNames[state.layout]; }

private:
    static int Find(const std::string& s)
    {
        for (int l = 0; l < kLayouts; ++l)
            if (s == kLayoutNames[l])
                return l;
        return kNone;
    }
};

class BindingDator : public WordDator {
public:
    BindingDator(Action a, CBindings::Device d) : action(static_cast<int>(a)), device(d) {}
    unsigned size() override { return sizeof(*this); }
    std::string Refuse(std::string& s, int) override
    {
        Inputs ignored;
        return Parse(s, ignored);
    }

protected:
    BaseDator& Set(const std::string& s) override
    {
        Inputs inputs;
        if (Parse(s, inputs).empty()) {
            state.own[action][device] = true;
            state.chosen[action][device][0] = inputs[0];
            state.chosen[action][device][1] = inputs[1];
            Resolve();
        }
        return *this;
    }
    std::string Get() override { return CBindings::Names(static_cast<Action>(action), device); }

private:
    int action;
    CBindings::Device device;
};

template <class Query>
bool AnyInput(Action a, Query query)
{
    const int index = static_cast<int>(a);
    for (int d = 0; d < CBindings::kDevices; ++d)
        for (int input : Current(index, d))
            if (input != kNone && query(input))
                return true;
    return a == Action::Quit && query(kAlwaysQuits);
}

const char* SettingPrefix(CBindings::Device d) { return d == CBindings::kKeys ? "key." : "pad."; }

}  // namespace

bool CBindings::Held(Action a) { return AnyInput(a, CInputTask::inputStillDown); }

bool CBindings::Pressed(Action a) { return AnyInput(a, CInputTask::inputDown); }

CBindings::Stick CBindings::StickFrom(int16_t axisX, int16_t axisY, int deadZone)
{
    // The axes' lowest value is one beyond full travel.
    auto travel = [](float v) { return std::fmax(-1.0f, std::fmin(1.0f, v / kFullTravel)); };
    const float x = travel(axisX), y = travel(-static_cast<float>(axisY));
    const float length = std::sqrt(x * x + y * y), zone = deadZone / 100.0f;
    if (length <= zone)
        return {0.0f, 0.0f};
    const float scaled = std::fmin(1.0f, (length - zone) / (1.0f - zone));
    return {x / length * scaled, y / length * scaled};
}

CBindings::Stick CBindings::LeftStick()
{
    return StickFrom(CInputTask::padAxes[kLeftStick[0]], CInputTask::padAxes[kLeftStick[1]], state.deadZone);
}

CBindings::Stick CBindings::RightStick()
{
    return StickFrom(CInputTask::padAxes[kRightStick[0]], CInputTask::padAxes[kRightStick[1]], state.deadZone);
}

void CBindings::Register(CSettingsManager& settings)
{
    settings.RegisterVariable("layout", CMMPointer<BaseDator>(new LayoutDator()));
    settings.RegisterVariable("padDeadZone",
                              CMMPointer<BaseDator>(new Dator<int>(state.deadZone, 0, kMostDeadZone)));
    for (const ActionRow& row : kActionTable) {
        for (int d = 0; d < kDevices; ++d)
            settings.RegisterVariable(SettingPrefix(static_cast<Device>(d)) + std::string(row.name),
                                      CMMPointer<BaseDator>(new BindingDator(row.action, static_cast<Device>(d))));
    }
}

void CBindings::Reset()
{
    state = State();
    Resolve();
}

void CBindings::ResetKeys()
{
    for (auto& own : state.own)
        for (bool& o : own)
            o = false;
    Resolve();
}

std::string CBindings::SettingName(Action a, Device d) { return SettingPrefix(d) + std::string(Row(a).name); }

std::vector<std::string> CBindings::SettingNames()
{
    std::vector<std::string> names;
    for (const ActionRow& row : kActionTable)
        for (int d = 0; d < kDevices; ++d)
            names.push_back(SettingName(row.action, static_cast<Device>(d)));
    return names;
}

bool CBindings::IsBound(Action a, Device d, int input)
{
    const Inputs& inputs = Current(static_cast<int>(a), d);
    return input != kNone && (inputs[0] == input || inputs[1] == input);
}

std::vector<std::string> CBindings::Clashes()
{
    std::vector<std::string> lines;
    auto setting = [](int a, int d) {
        return SettingPrefix(static_cast<Device>(d)) + std::string(kActionTable[a].name);
    };
    for (int a = 0; a < kActions; ++a) {
        for (int d = 0; d < kDevices; ++d) {
            for (int input : Current(a, d)) {
                if (input == kNone)
                    continue;
                const Inputs& quits = Current(static_cast<int>(Action::Quit), kKeys);
                if (input == kAlwaysQuits && kActionTable[a].action != Action::Quit && state.own[a][d] &&
                    quits[0] != kAlwaysQuits && quits[1] != kAlwaysQuits)
                    lines.push_back(InputName(input) + ": " + setting(a, d) +
                                    " and quit (Escape always quits) both act on it");
                // Each pair once, from its first action; the game's own pairs (8 picks
                // level 4 and moves the camera) are not the player's doing.
                for (int b = a + 1; b < kActions; ++b) {
                    for (int e = 0; e < kDevices; ++e) {
                        const Inputs& other = Current(b, e);
                        if ((other[0] == input || other[1] == input) && (state.own[a][d] || state.own[b][e]))
                            lines.push_back(InputName(input) + ": " + setting(a, d) + " and " + setting(b, e) +
                                            " both act on it");
                    }
                }
            }
        }
    }
    return lines;
}

std::vector<std::string> CBindings::SettingsLines()
{
    std::vector<std::string> lines;
    for (const ActionRow& row : kActionTable)
        for (int d = 0; d < kDevices; ++d)
            lines.push_back(SettingPrefix(static_cast<Device>(d)) + std::string(row.name) + "=" +
                            Names(row.action, static_cast<Device>(d)));
    lines.push_back("padDeadZone=" + std::to_string(state.deadZone));
    return lines;
}

const char* CBindings::Name(Action a) { return Row(a).name; }

const char* CBindings::Words(Action a) { return Row(a).words; }

std::string CBindings::Names(Action a, Device d)
{
    const Inputs& inputs = Current(static_cast<int>(a), d);
    std::string names;
    for (int input : inputs)
        if (input != kNone)
            names += (names.empty() ? "" : ",") + InputName(input);
    return names.empty() ? "none" : names;
}
