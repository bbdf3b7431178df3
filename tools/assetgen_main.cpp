// SPDX-License-Identifier: GPL-3.0-or-later
// velq_assetgen OUT_DIR MAP_DIR FONT_DIR: writes the binary game data
// (models, textures, height fields, sounds) into OUT_DIR, the Resources/ tree.
#include <cstdio>
#include <string>

#include "common.h"
#include "generators.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s OUT_DIR MAP_DIR FONT_DIR\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1], mapDir = argv[2], fontDir = argv[3];
    using namespace assetgen;
    for (const char* sub : {"/Maps", "/Models", "/Textures", "/SFX"})
        if (!MakeDirectories(root + sub)) return 1;

    bool ok = GenerateTerrainTextures(root);
    ok = GenerateSkybox(root) && ok;
    ok = GenerateFont(root, fontDir) && ok;
    ok = GeneratePlayer(root) && ok;
    ok = GenerateHobgoblin(root) && ok;
    ok = GenerateTurret(root) && ok;
    ok = GenerateFlag(root) && ok;
    ok = GenerateHeightFields(root, mapDir) && ok;
    ok = GenerateEffects(root) && ok;
    ok = GenerateMusic(root) && ok;
    if (!ok) {
        std::fprintf(stderr, "assetgen: some files could not be made\n");
        return 1;
    }
    return 0;
}
