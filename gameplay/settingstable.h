// SPDX-License-Identifier: GPL-3.0-or-later
// Every setting of the game, one row each: its name and default, what it means (for
// --help and the manual page), and where the menu shows it and how it is changed
// there. A setting added here appears in all of them.
#pragma once

#include <cstddef>

enum class MenuPage;

struct SettingInfo {
    const char* name;
    const char* value;    // the default
    const char* meaning;  // in the game's own German, looked up where it is shown
    // In the menu: its page (none: the file and the command line only), its words, and
    // either a number from lowest to highest in steps, or one of the words in values
    // ("a|b|c"), shown as those of shown.
    bool inMenu;
    MenuPage page;
    const char* label;
    int lowest, highest, step;
    const char* unit;
    const char* values;
    const char* shown;
};

extern const SettingInfo kSettingsTable[];
extern const std::size_t kSettingsCount;
