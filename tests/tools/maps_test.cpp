// SPDX-License-Identifier: GPL-3.0-or-later
// The committed cell maps and the height fields generated for them.
#include <deque>

#include "asset_files.h"

using namespace assettest;

namespace {

const char* const kLevels[] = {"select", "level1", "level2", "level3", "level4"};

std::vector<std::string> Map(const std::string& level) { return ReadCellMap(ResourceDir() + "/Maps/" + level + ".map"); }

int Count(const std::vector<std::string>& rows, char c) {
    int n = 0;
    for (const auto& r : rows) n += static_cast<int>(std::count(r.begin(), r.end(), c));
    return n;
}

// Cells where something 2.5 units wide can stand: no wall block in the 3 x 3
// cells around it (a block reaches half a unit from its cell centre).
bool Roomy(const std::vector<std::string>& rows, int r, int c) {
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
            const int rr = r + dr, cc = c + dc;
            if (rr < 0 || cc < 0 || rr > 63 || cc > 63 || rows[rr][cc] == 'w') return false;
        }
    return true;
}

// Every roomy cell connected to (r, c) through roomy cells.
std::vector<bool> ReachableFrom(const std::vector<std::string>& rows, int r, int c) {
    std::vector<bool> seen(64 * 64, false);
    std::deque<std::pair<int, int>> open{{r, c}};
    seen[r * 64 + c] = true;
    while (!open.empty()) {
        const auto [cr, cc] = open.front();
        open.pop_front();
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : steps) {
            const int nr = cr + s[0], nc = cc + s[1];
            if (nr < 0 || nc < 0 || nr > 63 || nc > 63 || seen[nr * 64 + nc] || !Roomy(rows, nr, nc)) continue;
            seen[nr * 64 + nc] = true;
            open.push_back({nr, nc});
        }
    }
    return seen;
}

}  // namespace

TEST(CellMaps, EveryMapHasKnownCellsOneFlagAndSpawnEveryoneCanWalkToAndLevelsGrowHarder) {
    int lastEnemies = 0;
    for (const char* level : kLevels) {
        SCOPED_TRACE(level);
        const auto rows = Map(level);  // 64 rows of 64 cells, each ended by one line feed
        ASSERT_EQ(rows.size(), 64u);
        for (const auto& row : rows) EXPECT_EQ(row.find_first_not_of(".wetfs"), std::string::npos) << row;
        ASSERT_EQ(std::make_tuple(Count(rows, 'f'), Count(rows, 's')), std::make_tuple(1, 1)) << "flags and starts";
        int fr = -1, fc = -1;
        for (int r = 0; r < 64; ++r)
            for (int c = 0; c < 64; ++c)
                if (rows[r][c] == 'f') fr = r, fc = c;
        ASSERT_TRUE(Roomy(rows, fr, fc));
        const auto reach = ReachableFrom(rows, fr, fc);
        for (int r = 0; r < 64; ++r)
            for (int c = 0; c < 64; ++c) {
                if (rows[r][c] != 'e' && rows[r][c] != 's') continue;
                bool ok = false;  // from its own cell or a step away from a wall
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) ok = ok || reach[(r + dr) * 64 + (c + dc)];
                EXPECT_TRUE(ok) << rows[r][c] << " at column " << c << ", row " << r << " is walled off";
            }
        if (std::string(level) == "select") {
            EXPECT_EQ(Count(rows, 'e'), 0) << "the selection level can never be won, so it has no enemies";
            continue;
        }
        EXPECT_GT(Count(rows, 'e'), lastEnemies) << "each level has more enemies than the one before";
        EXPECT_GE(Count(rows, 't'), 1);
        lastEnemies = Count(rows, 'e');
    }
}

TEST(HeightFields, FieldsAreSmoothWithWaterAndDryLandUnderEveryObject) {
    for (const char* level : kLevels) {
        SCOPED_TRACE(level);
        const Bytes h = ReadBytes(ResourceDir() + "/Maps/" + level + ".map.raw");
        const auto rows = Map(level);
        ASSERT_EQ(h.size(), 1024u * 1024u);
        ASSERT_EQ(rows.size(), 64u);
        EXPECT_LE(*std::max_element(h.begin(), h.end()), 64) << "higher than 4 units";
        const auto water = std::count_if(h.begin(), h.end(), [](uint8_t b) { return b < 8; });
        EXPECT_GT(water, static_cast<long>(h.size() / 100)) << "hardly any water below 0.5 units";
        EXPECT_LT(water, static_cast<long>(h.size() / 4)) << "mostly under water";
        // The game reads the sample at an object's position: 16 per unit, row = y.
        for (int r = 0; r < 64; ++r)
            for (int c = 0; c < 64; ++c)
                if (rows[r][c] != '.') { EXPECT_GE(h[(r * 16) * 1024 + c * 16], 8) << rows[r][c] << " at " << c << "," << r; }
        int steepest = 0;
        for (int j = 0; j < 1023; ++j)
            for (int i = 0; i < 1023; ++i) {
                const int v = h[j * 1024 + i];
                steepest = std::max({steepest, std::abs(v - h[j * 1024 + i + 1]), std::abs(v - h[(j + 1) * 1024 + i])});
            }
        EXPECT_LE(steepest, 2) << "objects would jump as they move";
    }
}
