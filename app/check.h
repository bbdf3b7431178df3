// SPDX-License-Identifier: GPL-3.0-or-later
// velq --check: the game's own readers over a modder's files, each thing they say about
// a file one line in the form compilers use, without a window or a sound card.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Checks the files named, every file the game reads below a named folder, or with no
// path the game's Resources/ in the working directory and the settings file when there
// is one. Prints "FILE:LINE: error: ..." or "FILE: warning: ..." per problem and a
// summary line on out, nothing else; returns the exit status, 1 with any error, else 0.
int RunCheck(const std::vector<std::string>& paths, const std::string& settingsFile, std::ostream& out);
