// SPDX-License-Identifier: GPL-3.0-or-later
// What --help prints: the options, the settings with their defaults and the keys.
#include "app/usage.h"

#include <algorithm>

#include "gameplay/bindings.h"

// clang-format off
std::vector<UsageOption> UsageOptions()
{
    return {
        {"--help",     "",     "this text"},
        {"--version",  "",     "name and version"},
        {"--record",   "FILE", "write the game you play to FILE"},
        {"--replay",   "FILE", "play FILE back and check that it ends as recorded"},
        {"--timedemo", "FILE", "play FILE back as fast as it draws, print the frame rate"},
        {"--settings", "FILE", "read the settings from FILE instead of settings.esf"},
        {"--log-dir",  "DIR",  "write the logs into DIR instead of the working directory"},
        {"--check",    "[PATH]...", "check the game files in PATH (by default Resources), play nothing"},
    };
}

std::vector<UsageSetting> UsageSettings()
{
    return {
        {"screenX",     "800",    "window width in pixels"},
        {"screenY",     "600",    "window height in pixels"},
        {"screenBPP",   "16",     "colour depth in bits per pixel"},
        {"fullscreen",  "1",      "at the desktop's size; -fullscreen opens a window"},
        {"fullResolution", "0",   "1 draws at the screen's size, not scaled up"},
        {"effects",     "full",   "light: no shadows, fewer passes, softer glows; faster without a graphics card"},
        {"sound",       "1",      "-sound plays silently, without an audio device"},
        {"maxfps",      "0",      "frames per second at most; 0 draws as fast as it can"},
        {"volumeFX",    "100",    "sound effects' volume in percent"},
        {"volumeMusic", "100",    "music's volume in percent"},
        {"layout",      "qwerty", "keys where a qwerty, azerty or qwertz keyboard has them"},
        {"pad",         "1",      "-pad leaves a game controller alone"},
        {"padDeadZone", "20",     "how far a stick must move, in percent, to count"},
        {"reflections", "1",      "the water mirrors the level (F4 switches it for the game)"},
        {"fps",         "1",      "the frame rate in the corner (F3 switches it for the game)"},
        {"skybox",      "0",      "the sky box (F5 switches it for the game)"},
    };
}
// clang-format on

std::vector<UsageKey> UsageKeys()
{
    std::vector<UsageKey> rows;
    for (int d = 0; d < CBindings::kDevices; ++d) {
        for (int a = 0; a < CBindings::kActions; ++a) {
            const Action action = static_cast<Action>(a);
            const auto device = static_cast<CBindings::Device>(d);
            const std::string names = CBindings::Names(action, device);
            if (device == CBindings::kPad && names == "none")
                continue;
            const std::string line =
                (device == CBindings::kKeys ? "key." : "pad.") + std::string(CBindings::Name(action)) + "=" + names;
            const bool quit =
                action == Action::Quit && device == CBindings::kKeys && names.find("escape") == std::string::npos;
            rows.push_back({line, CBindings::German(action) + std::string(quit ? " (auch Escape)" : ""), line,
                            CBindings::English(action) + std::string(quit ? " (Escape as well)" : "")});
        }
    }
    // clang-format off
    const UsageKey unbound[] = {
        {"Maus",              "zielen",                 "mouse",                   "aim: the figure faces the cursor"},
        {"Stick links/rechts","laufen/zielen",          "left/right stick",        "walk the way it points; aim"},
        {"Alt+Enter",         "Fenster/Vollbild",       "Alt+Enter",               "window or full screen"},
    };
    // clang-format on
    rows.insert(rows.end(), std::begin(unbound), std::end(unbound));
    return rows;
}

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
        keyWidth = std::max(keyWidth, k.keys.size() + 3);

    std::string out =
        "Usage: velq [OPTION]... [SETTING]...\n"
        "  or:  velq --check [PATH]...\n"
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
    out +=
        "\n"
        "Tasten (key.AKTION=TASTE oder TASTE,TASTE belegt sie neu, none keine;\n"
        "pad.AKTION=KNOPF ebenso den Controller):\n";
    for (const UsageKey& k : keys)
        AddRow(out, k.keys, k.action.c_str(), keyWidth);
    return out;
}
