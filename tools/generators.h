// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the asset generator; each writes its files below root
// (the Resources/ directory) and returns false when a file could not be written.
#pragma once

#include <string>

namespace assetgen {

bool GenerateTerrainTextures(const std::string& root);  // floor, wall, water, particle
bool GenerateSkybox(const std::string& root);
bool GenerateFont(const std::string& root, const std::string& fontDir);
bool GeneratePlayer(const std::string& root);     // male.md2 and flak.tga
bool GenerateHobgoblin(const std::string& root);  // hobgoblin.md2 and its skin
bool GenerateTurret(const std::string& root);     // turret.md2 and turret.tga
bool GenerateFlag(const std::string& root);       // flag.md2
// Reads the cell maps in mapDir and writes a matching height field for each.
bool GenerateHeightFields(const std::string& root, const std::string& mapDir);
bool GenerateEffects(const std::string& root);  // the four sound effects
bool GenerateMusic(const std::string& root);

}  // namespace assetgen
