// SPDX-License-Identifier: GPL-3.0-or-later
// The display toggles a player keeps between games, as settings (reflections, fps,
// skybox): read at start and set from the menu, while the keys still flip them for the
// game at hand.
#pragma once

#include <string>
#include <vector>

class CSettingsManager;

namespace DisplayToggles {

// Registers the kept toggles' settings; they act on the game world once it exists.
void Register(CSettingsManager& settings);
// The game's own states again (a replay starts from them).
void Reset();
// The kept toggles as settings lines, which a recording keeps for its replay.
std::vector<std::string> SettingsLines();

}  // namespace DisplayToggles
