// SPDX-License-Identifier: GPL-3.0-or-later
// What --help prints and the manual page lists: the options, the settings with their
// defaults and the keys, one table each. The manual page is made from these same
// tables when the game is built, so a row added here appears in both. Their words are
// written in German, the game's own language and the catalogs' key, and are shown in
// the language in force (--help: the locale's, English by default; the page: English).
#pragma once

#include <string>
#include <vector>

struct UsageOption {
    const char* name;      // "--record"
    const char* argument;  // "FILE", or "" for none
    const char* meaning;   // in German: show it through Tr
};

struct UsageSetting {
    const char* name;   // as in settings.esf
    const char* value;  // the default
    const char* meaning;  // in German: show it through Tr
};

// One row of keys, in the language in force. A bound action's keys are its setting as
// a line would set it (key.fire=space,mouse1), with the bindings in force.
struct UsageKey {
    std::string keys;
    std::string action;
};

std::vector<UsageOption> UsageOptions();
std::vector<UsageSetting> UsageSettings();
// Every action with its keys, then its controller inputs, then what is not bound.
std::vector<UsageKey> UsageKeys();

// The whole --help text, in the language in force.
std::string UsageText();
