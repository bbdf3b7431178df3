// SPDX-License-Identifier: GPL-3.0-or-later
// Height lookup and the terrain grid.
#include "render/terrain.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "world/maploader.h"

namespace {

// The sample index of a world coordinate: truncated towards zero, then wrapped into
// the table, so 64 reads the samples of 0 and -0.5 those of 63.5.
int SampleIndex(float coordinate)
{
    const double scaled = static_cast<double>(coordinate) * TerrainGeometry::kScale;
    if (!std::isfinite(scaled))
        return 0;
    const double truncated = std::trunc(std::fmod(scaled, TerrainGeometry::kSamples));
    int index = static_cast<int>(truncated);
    if (index < 0)
        index += TerrainGeometry::kSamples;
    return index % TerrainGeometry::kSamples;
}

void Subtract(const float a[3], const float b[3], float out[3])
{
    for (int k = 0; k < 3; ++k)
        out[k] = a[k] - b[k];
}

}  // namespace

TerrainGeometry::TerrainGeometry()
    : heights(static_cast<size_t>(kSamples) * kSamples, 0),
      quads(static_cast<size_t>(kQuads) * kQuads),
      chunks(kChunks)
{
    BuildChunks();
}

float TerrainGeometry::GroundHeight(float x, float y) const
{
    return heights[static_cast<size_t>(SampleIndex(y)) * kSamples + SampleIndex(x)] / kScale;
}

void TerrainGeometry::SetSamples(const unsigned char* bytes)
{
    std::copy(bytes, bytes + heights.size(), heights.begin());
}

void TerrainGeometry::SetFlat()
{
    std::fill(heights.begin(), heights.end(), kFallbackSample);
}

bool TerrainGeometry::ReadHeightField(const std::string& name, std::vector<unsigned char>& bytes)
{
    bytes.resize(heights.size());
    const bool read = MapLoader().LoadRaw(name, bytes.size(), bytes.data());
    if (read)
        SetSamples(bytes.data());
    else
        SetFlat();
    return read;
}

void TerrainGeometry::BuildQuads()
{
    for (int r = 0; r < kQuads; ++r) {
        const int gx = r * kStep;
        for (int c = 0; c < kQuads; ++c) {
            const int gy = c * kStep;
            TerrainQuad& q = quads[r * kQuads + c];
            const float x0 = static_cast<float>(gx / kStep), x1 = static_cast<float>((gx + kStep) / kStep);
            const float y0 = static_cast<float>(gy / kStep), y1 = static_cast<float>((gy + kStep) / kStep);
            const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
            for (int k = 0; k < 4; ++k) {
                q.corners[k][0] = corners[k][0];
                q.corners[k][1] = corners[k][1];
                q.corners[k][2] = GroundHeight(corners[k][0], corners[k][1]);
            }
            // The normal of the triangle (0, 1, 2), made from corner 0 - 1 and 0 - 2.
            float a[3], b[3];
            Subtract(q.corners[0], q.corners[1], a);
            Subtract(q.corners[0], q.corners[2], b);
            const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
            const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (int k = 0; k < 3; ++k)
                q.normal[k] = length > 0.0f ? n[k] / length : (k == 2 ? 1.0f : 0.0f);
        }
        std::cout << "rowend at " << kQuads - 1 << " i: " << kQuads << "\n";
    }
    BuildChunks();
}

void TerrainGeometry::BuildChunks()
{
    for (int k = 0; k < kChunks; ++k) {
        TerrainChunk& chunk = chunks[k];
        chunk.firstRow = (k / kChunksPerSide) * kChunkQuads;
        chunk.firstColumn = (k % kChunksPerSide) * kChunkQuads;
        chunk.rows = std::min(kChunkQuads, kQuads - chunk.firstRow);
        chunk.columns = std::min(kChunkQuads, kQuads - chunk.firstColumn);
        const float* first = Quad(chunk.firstRow, chunk.firstColumn).corners[0];
        for (int a = 0; a < 3; ++a)
            chunk.lo[a] = chunk.hi[a] = first[a];
        for (int r = chunk.firstRow; r < chunk.firstRow + chunk.rows; ++r) {
            for (int c = chunk.firstColumn; c < chunk.firstColumn + chunk.columns; ++c) {
                for (const float* corner : Quad(r, c).corners) {
                    for (int a = 0; a < 3; ++a) {
                        chunk.lo[a] = std::min(chunk.lo[a], corner[a]);
                        chunk.hi[a] = std::max(chunk.hi[a], corner[a]);
                    }
                }
            }
        }
    }
}
