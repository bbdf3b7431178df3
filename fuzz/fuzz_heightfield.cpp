// SPDX-License-Identifier: GPL-3.0-or-later
// The height-field reader on arbitrary bytes: the ground is the file's or flat, and
// the terrain grid is built from it either way.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "render/terrain.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    velqfuzz::SilenceConsole();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // As in the game: one terrain and one byte buffer for the whole run.
    static TerrainGeometry terrain;
    static std::vector<unsigned char> bytes;
    constexpr size_t kFieldBytes = size_t(TerrainGeometry::kSamples) * TerrainGeometry::kSamples;

    velqfuzz::WriteInput("Resources/Maps/input.map.raw", data, size);
    velqfuzz::InScratch here;
    const velqfuzz::VerdictNotes notes;
    const bool read = terrain.ReadHeightField("input.map.raw", bytes);
    notes.Check(read);
    velqfuzz::Check(read == (size >= kFieldBytes), "read a height field of the wrong size");
    const size_t probes[] = {0, 1, kFieldBytes / 2 + 17, kFieldBytes - 1};
    for (size_t i : probes) {
        const float expected = read ? float(data[i]) : float(TerrainGeometry::kFallbackSample);
        velqfuzz::Check(terrain.Sample(int(i)) == expected, "samples are neither the file's nor flat");
    }
    terrain.BuildQuads();
    for (int r = 0; r < TerrainGeometry::kQuads; r += 31)
        for (int c = 0; c < TerrainGeometry::kQuads; c += 31)
            velqfuzz::Check(std::isfinite(terrain.Quad(r, c).normal[2]), "a quad normal is not a number");
    return 0;
}
