// SPDX-License-Identifier: GPL-3.0-or-later
// What --help prints and the manual page lists: the options, the settings with their
// defaults and the keys, one table each. The manual page is made from these same
// tables when the game is built, so a row added here appears in both.
#pragma once

#include <string>
#include <vector>

struct UsageOption {
    const char* name;      // "--record"
    const char* argument;  // "FILE", or "" for none
    const char* meaning;
};

struct UsageSetting {
    const char* name;   // as in settings.esf
    const char* value;  // the default
    const char* meaning;
};

// One row of keys: in the game's own words, as --help prints them, and in English
// for the manual page. A bound action's keys are its setting as a line would set it
// (key.fire=space,mouse1), with the bindings in force.
struct UsageKey {
    std::string keys;
    std::string action;
    std::string keysEnglish;
    std::string actionEnglish;
};

std::vector<UsageOption> UsageOptions();
std::vector<UsageSetting> UsageSettings();
// Every action with its keys, then its controller inputs, then what is not bound.
std::vector<UsageKey> UsageKeys();

// The whole --help text.
std::string UsageText();
