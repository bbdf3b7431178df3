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
// for the manual page.
struct UsageKey {
    const char* keys;
    const char* action;
    const char* keysEnglish;
    const char* actionEnglish;
};

std::vector<UsageOption> UsageOptions();
std::vector<UsageSetting> UsageSettings();
std::vector<UsageKey> UsageKeys();

// The whole --help text.
std::string UsageText();
