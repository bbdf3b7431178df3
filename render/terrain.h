// SPDX-License-Identifier: GPL-3.0-or-later
// The ground of a level: its height samples, the height under any point, and the grid
// of quads the terrain display list is compiled from. Needs no OpenGL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TerrainQuad {
    float corners[4][3];
    float normal[3];
};

// A square of quads drawn or left out as one, and the box round its corners.
struct TerrainChunk {
    int firstRow, firstColumn, rows, columns;
    float lo[3], hi[3];
};

class TerrainGeometry {
public:
    static constexpr int kSamples = 1024;         // height samples per side
    static constexpr int kStep = 16;              // samples between two grid lines
    static constexpr float kWorldExtent = 64.0f;  // world units per side
    static constexpr float kScale = kSamples / kWorldExtent;  // samples per world unit
    static constexpr int kQuads = kSamples / kStep - 1;       // 63 quads per side
    static constexpr int kChunkQuads = 8;                      // quads per chunk side
    static constexpr int kChunksPerSide = (kQuads + kChunkQuads - 1) / kChunkQuads;
    static constexpr int kChunks = kChunksPerSide * kChunksPerSide;
    // What a level whose height field cannot be read stands on: flat, dry ground one
    // unit above the floor, clear of the water at 0.5.
    static constexpr unsigned char kFallbackSample = 16;

    // The samples (1 MiB) and the grid are allocated here, once for the whole run.
    TerrainGeometry();

    // The height at world position (x, y). Positions wrap every 64 units in both
    // directions; a position that is not a finite number reads the first sample.
    float GroundHeight(float x, float y) const;

    // The samples of a level: kSamples * kSamples bytes, one unsigned height each.
    void SetSamples(const unsigned char* bytes);
    // Every sample kFallbackSample.
    void SetFlat();
    // Reads the height field Resources/Maps/<name> through bytes, a buffer of
    // kSamples * kSamples bytes kept by the caller. When the file is missing or short
    // the ground is flat instead, never partly the file's; false then.
    bool ReadHeightField(const std::string& name, std::vector<unsigned char>& bytes);
    // Rebuilds the 63 x 63 quads and their chunks from the samples, one "rowend at"
    // line per row.
    void BuildQuads();

    const TerrainQuad& Quad(int row, int column) const { return quads[row * kQuads + column]; }
    float Sample(int index) const { return heights[index]; }
    // Chunks by row of quads, then by column; the last of a row or column is smaller.
    const TerrainChunk& Chunk(int index) const { return chunks[index]; }

private:
    void BuildChunks();

    std::vector<unsigned char> heights;  // as read; row-major by y: index y * kSamples + x
    std::vector<TerrainQuad> quads; // row follows x, column follows y
    std::vector<TerrainChunk> chunks;
};
