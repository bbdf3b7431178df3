// What --help prints: the options, the settings with their defaults and the keys.
#include "app/usage.h"

#include <algorithm>
#include <cstring>

// clang-format off
std::vector<UsageOption> UsageOptions()
{
    return {
        {"--help",     "",     "this text"},
        {"--version",  "",     "name and version"},
        {"--record",   "FILE", "write the game you play to FILE"},
        {"--replay",   "FILE", "play FILE back and check that it ends as recorded"},
        {"--timedemo", "FILE", "play FILE back as fast as it draws, print the frame rate"},
    };
}

std::vector<UsageSetting> UsageSettings()
{
    return {
        {"screenX",    "800", "window width in pixels"},
        {"screenY",    "600", "window height in pixels"},
        {"screenBPP",  "16",  "colour depth in bits per pixel"},
        {"fullscreen", "1",   "-fullscreen opens a window; Alt+Enter switches"},
        {"sound",      "1",   "-sound plays silently, without an audio device"},
        {"maxfps",     "0",   "frames per second at most; 0 draws as fast as it can"},
    };
}

std::vector<UsageKey> UsageKeys()
{
    return {
        {"w a s d, Pfeile",            "laufen",                    "w a s d, arrow keys",      "walk forward, back and sideways"},
        {"Maus",                       "zielen",                    "mouse",                    "aim: the figure faces the cursor"},
        {"Leertaste, linke Maustaste", "feuern",                    "space, left mouse button", "fire the weapon in hand"},
        {"rechte Maustaste",           "Turm",                      "right mouse button",       "place a tower behind the figure"},
        {"z",                          "Turmring",                  "z",                        "place a ring of towers around the figure"},
        {"Tab",                        "Waffe wechseln",            "Tab",                      "next weapon"},
        {"c, mittlere Maustaste",      "Kamera drehen",             "c, middle mouse button",   "turn the camera with the mouse"},
        {"1 2 o i, Bild auf/ab",       "Kamera",                    "1 2 o i, Page Up/Down",    "move the camera"},
        {"5 6 7 8",                    "Level 1 bis 4",             "5 6 7 8",                  "level 1 to 4"},
        {"Esc",                        "zur Auswahl, dort beenden", "Escape",                   "back to the selection level; there, quit"},
        {"F1",                         "Hilfe",                     "F1",                       "help on and off"},
        {"F2",                         "Scenegraph ein/aus",        "F2",                       "scene graph on and off"},
        {"F3",                         "FPS ein/aus",               "F3",                       "frame rate on and off"},
        {"F4",                         "Reflexionen ein/aus",       "F4",                       "reflections on and off"},
        {"F6",                         "Bounding Boxes ein/aus",    "F6",                       "bounding boxes on and off"},
        {"F7",                         "Wireframe ein/aus",         "F7",                       "wireframe on and off"},
        {"F8",                         "Displaylists ein/aus",      "F8",                       "display lists on and off"},
        {"y",                          "Shadowmap ein/aus",         "y",                        "shadow map on and off"},
        {"p",                          "Gegnerpfade ein/aus",       "p",                        "enemy paths on and off"},
        {"m",                          "Musik/FX ein/aus",          "m",                        "music and sound effects on and off"},
        {"F12",                        "Bildschirmfoto",            "F12",                      "save a screenshot"},
        {"Alt+Enter",                  "Fenster/Vollbild",          "Alt+Enter",                "window or full screen"},
    };
}
// clang-format on

namespace {
// "  term      meaning": the terms padded to one column, at least two blanks wide.
void AddRow(std::string& out, const std::string& term, const char* meaning, size_t width)
{
    out += "  " + term;
    out.append(width - term.size(), ' ');
    out += meaning;
    out += "\n";
}

std::string OptionTerm(const UsageOption& o)
{
    return *o.argument ? std::string(o.name) + " " + o.argument : std::string(o.name);
}

std::string SettingTerm(const UsageSetting& s) { return std::string(s.name) + "=" + s.value; }
}  // namespace

std::string UsageText()
{
    const std::vector<UsageOption> options = UsageOptions();
    const std::vector<UsageSetting> settings = UsageSettings();
    const std::vector<UsageKey> keys = UsageKeys();
    size_t width = 16;
    for (const UsageOption& o : options)
        width = std::max(width, OptionTerm(o).size() + 3);
    for (const UsageSetting& s : settings)
        width = std::max(width, SettingTerm(s).size() + 3);
    size_t keyWidth = 16;
    for (const UsageKey& k : keys)
        keyWidth = std::max(keyWidth, std::strlen(k.keys) + 3);

    std::string out =
        "Usage: velq [OPTION]... [SETTING]...\n"
        "Velq! - defend your flag against the enemies, with three weapons and towers.\n"
        "\n"
        "Options:\n";
    for (const UsageOption& o : options)
        AddRow(out, OptionTerm(o), o.meaning, width);
    out +=
        "\n"
        "Settings (read from settings.esf, then the command line; name=value,\n"
        "+name sets 1, -name sets 0):\n";
    for (const UsageSetting& s : settings)
        AddRow(out, SettingTerm(s), s.meaning, width);
    out += "\nTasten:\n";
    for (const UsageKey& k : keys)
        AddRow(out, k.keys, k.action, keyWidth);
    return out;
}
