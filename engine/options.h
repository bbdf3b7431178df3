// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: arguments that begin with "--" are options, every other one is a
// settings line, passed on untouched and in order.
#pragma once

#include <string>
#include <vector>

struct Options {
    bool help = false;
    bool version = false;
    bool check = false;  // --check [PATH]...: the game's files checked, the paths in settingsLines' place
    std::string record;    // --record FILE: write the game played to FILE
    std::string replay;    // --replay FILE: play FILE instead of the devices and clock
    std::string timedemo;  // --timedemo FILE: replay FILE as fast as it draws
    std::string settings = "settings.esf";  // --settings FILE: the settings file to read
    std::string logDir;    // --log-dir DIR: where the logs go; the working directory when empty
    std::vector<std::string> settingsLines;
    std::vector<std::string> checkPaths;
    // Empty, or the one line that says what is wrong (the program exits 2).
    std::string error;
};

Options ParseOptions(int argc, const char* const argv[]);

// The game's name and version, as --version prints it.
extern const char* const kVersionText;
