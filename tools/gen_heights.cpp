// SPDX-License-Identifier: GPL-3.0-or-later
// Height fields: gentle hills with water basins in the open ground of each map.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

#include "common.h"
#include "generators.h"

namespace assetgen {

namespace {

constexpr int kCells = 64;            // map cells per side, one world unit each
constexpr int kSamples = 1024;        // height samples per side
constexpr float kPerUnit = 16.0f;     // samples per world unit; a byte is 1/16 unit
constexpr float kMaxHeight = 4.0f;    // the light's depth range ends a little above this
constexpr float kBasinFloor = 0.15f;  // below the water surface at 0.5
constexpr float kLand = 0.9f;         // lowest dry land, clear of the water

// Per level: the map, its height field and the shape of its land.
struct LevelTerrain {
    const char* map;
    const char* field;
    uint32_t seed;
    float hills;       // hill height above the lowest land, world units
    float hillScale;   // world units per noise lattice step
    float basinLevel;  // noise value above which the ground sinks into water
};
const LevelTerrain kLevels[] = {
    {"select.map", "select.map.raw", 1, 1.2f, 14, 0.45f},
    {"level1.map", "level1.map.raw", 2, 1.4f, 12, 0.33f},
    {"level2.map", "level2.map.raw", 3, 1.6f, 11, 0.42f},
    {"level3.map", "level3.map.raw", 4, 1.8f, 10, 0.40f},
    {"level4.map", "level4.map.raw", 5, 2.2f, 9, 0.42f},
};
static_assert(sizeof(kLevels) / sizeof(kLevels[0]) == 5, "the selection level and four levels");

// Reads the 64 x 64 cells; false when the file is missing or too short.
bool ReadCells(const std::string& path, std::vector<std::string>& rows) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    rows.clear();
    while (rows.size() < kCells && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() < kCells) break;
        rows.push_back(line.substr(0, kCells));
    }
    if (rows.size() != kCells) {
        std::fprintf(stderr, "assetgen: %s is not a 64 x 64 cell map\n", path.c_str());
        return false;
    }
    return true;
}

// Distance in cells from every cell to the nearest cell holding something.
std::vector<float> Clearance(const std::vector<std::string>& rows) {
    constexpr int kReach = 8;
    std::vector<float> d(kCells * kCells, static_cast<float>(kReach));
    for (int r = 0; r < kCells; ++r)
        for (int c = 0; c < kCells; ++c) {
            if (rows[r][c] == '.' || rows[r][c] == ' ') continue;
            for (int dr = -kReach; dr <= kReach; ++dr)
                for (int dc = -kReach; dc <= kReach; ++dc) {
                    const int rr = r + dr, cc = c + dc;
                    if (rr < 0 || cc < 0 || rr >= kCells || cc >= kCells) continue;
                    float& v = d[rr * kCells + cc];
                    v = std::fmin(v, std::sqrt(static_cast<float>(dr * dr + dc * dc)));
                }
        }
    return d;
}

float Bilinear(const std::vector<float>& grid, float x, float y) {
    x = std::fmin(std::fmax(x, 0.0f), kCells - 1.001f);
    y = std::fmin(std::fmax(y, 0.0f), kCells - 1.001f);
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    const float tx = x - ix, ty = y - iy;
    const float a = grid[iy * kCells + ix], b = grid[iy * kCells + ix + 1];
    const float c = grid[(iy + 1) * kCells + ix], d = grid[(iy + 1) * kCells + ix + 1];
    return Mix(Mix(a, b, tx), Mix(c, d, tx), ty);
}

Bytes BuildField(const LevelTerrain& level, const std::vector<float>& clearance) {
    Bytes out(static_cast<size_t>(kSamples) * kSamples);
    for (int j = 0; j < kSamples; ++j) {
        for (int i = 0; i < kSamples; ++i) {
            const float x = i / kPerUnit, y = j / kPerUnit;  // world position of the sample
            const float hill = Fbm(x / level.hillScale, y / level.hillScale, level.seed, 2);
            float h = kLand + level.hills * SmoothStep(0.25f, 0.85f, hill);
            const float basin = Fbm(x / 10.0f + 40, y / 10.0f + 40, level.seed * 7 + 3, 2);
            const float open = SmoothStep(2.0f, 6.0f, Bilinear(clearance, x, y));
            const float sink = SmoothStep(level.basinLevel, level.basinLevel + 0.25f, basin) * open;
            h = Mix(h, kBasinFloor, sink);
            const long b = std::lround(std::fmin(std::fmax(h, 0.0f), kMaxHeight) * kPerUnit);
            out[static_cast<size_t>(j) * kSamples + i] = static_cast<uint8_t>(b);
        }
    }
    return out;
}

}  // namespace

bool GenerateHeightFields(const std::string& root, const std::string& mapDir) {
    bool ok = true;
    for (const LevelTerrain& level : kLevels) {
        std::vector<std::string> rows;
        if (!ReadCells(mapDir + "/" + level.map, rows)) {
            ok = false;
            continue;
        }
        ok = WriteFile(root + "/Maps/" + level.field, BuildField(level, Clearance(rows))) && ok;
    }
    return ok;
}

}  // namespace assetgen
