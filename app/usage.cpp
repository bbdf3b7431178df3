// SPDX-License-Identifier: GPL-3.0-or-later
// What --help prints: the options, the settings with their defaults and the keys.
#include "app/usage.h"

#include <algorithm>

#include "engine/text.h"
#include "gameplay/bindings.h"
#include "gameplay/settingstable.h"

// clang-format off
std::vector<UsageOption> UsageOptions()
{
    return {
        {"--help",     "",     N_("dieser Text")},
        {"--version",  "",     N_("Name und Version")},
        {"--record",   "FILE", N_("schreibt das Spiel, das du spielst, nach FILE")},
        {"--replay",   "FILE", N_("spielt FILE ab und prüft, dass es endet wie aufgezeichnet")},
        {"--timedemo", "FILE", N_("spielt FILE so schnell ab, wie es zeichnet, und nennt die Bildrate")},
        {"--settings", "FILE", N_("liest die Einstellungen aus FILE statt aus settings.esf")},
        {"--log-dir",  "DIR",  N_("schreibt die Logs nach DIR statt ins Arbeitsverzeichnis")},
        {"--check",    "[PATH]...", N_("prüft die Spieldateien in PATH (sonst in Resources), spielt nichts")},
    };
}
// clang-format on

// The settings from their one table.
std::vector<UsageSetting> UsageSettings()
{
    std::vector<UsageSetting> rows;
    for (std::size_t i = 0; i < kSettingsCount; ++i)
        rows.push_back({kSettingsTable[i].name, kSettingsTable[i].value, kSettingsTable[i].meaning});
    return rows;
}

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
            rows.push_back({line, Tr(CBindings::Words(action)) + (quit ? " " + std::string(Tr("(auch Escape)")) : "")});
        }
    }
    // clang-format off
    const char* const unbound[][2] = {
        {N_("Maus"),               N_("zielen: die Figur schaut zum Zeiger")},
        {N_("Stick links/rechts"), N_("laufen, wohin er zeigt; zielen")},
        {"Alt+Enter",              N_("Fenster oder Vollbild")},
    };
    // clang-format on
    for (const auto& [keys, action] : unbound)
        rows.push_back({Tr(keys), Tr(action)});
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

    // TRANSLATORS: the second line's command stands under the first's.
    std::string out = std::string(Tr("Aufruf: velq [OPTION]... [EINSTELLUNG]...")) + "\n" +
                      Tr("  oder: velq --check [PATH]...") + "\n" +
                      Tr("Velq! - verteidige deine Fahne gegen die Gegner, mit drei Waffen und Türmen.") + "\n\n" +
                      Tr("Optionen:") + "\n";
    for (const UsageOption& o : options)
        AddRow(out, OptionTerm(o), Tr(o.meaning), width);
    out += std::string("\n") +
           Tr("Einstellungen (aus settings.esf, dann von der Befehlszeile; name=Wert,\n"
              "+name setzt 1, -name setzt 0):") +
           "\n";
    for (const UsageSetting& s : settings)
        AddRow(out, SettingTerm(s), Tr(s.meaning), width);
    out += std::string("\n") +
           Tr("Tasten (key.AKTION=TASTE oder TASTE,TASTE belegt sie neu, none keine;\n"
              "pad.AKTION=KNOPF ebenso den Controller):") +
           "\n";
    for (const UsageKey& k : keys)
        AddRow(out, k.keys, k.action.c_str(), keyWidth);
    return out;
}
