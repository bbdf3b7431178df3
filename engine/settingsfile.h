// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the player's settings back into the settings file: the settings the game owns
// in place of their lines, every other line (comments, names it does not know) kept as
// it stands and where, the whole file written beside the old one and renamed over it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace SettingsFile {

// The name a settings line sets ("+volumeFX=5" sets volumeFX), as the settings manager
// reads it; "" for a blank line or a comment (a line that begins with #).
std::string NameOf(const std::string& line);

using Owned = std::vector<std::pair<std::string, std::string>>;

// The file's new text: text with each owned setting's line ("name=value") in place of
// the first line that sets it, its later lines left out, and the owned settings that no
// line sets added at the end, in the order given; the lines of the dropped settings
// left out. Line ends follow the file's first.
std::string Merge(const std::string& text, const Owned& owned, const std::vector<std::string>& dropped = {});

// Writes the owned settings into the file at path (made when missing), whole or not at
// all: a new file in the same folder is written, flushed to the disk, and renamed over
// the old one, so a reader (or a game killed in the middle) finds either the old file
// or the new one. A link is followed to the file it names. False with the reason, and
// the old file untouched, when it cannot.
bool Write(const std::string& path, const Owned& owned, const std::vector<std::string>& dropped, std::string& why);

// Called with the number of each step of Write as it is taken (1 the new file made,
// 2 its text written, 3 flushed, 4 closed, 5 renamed); a test ends the process there.
extern void (*stepTaken)(int step);

}  // namespace SettingsFile
