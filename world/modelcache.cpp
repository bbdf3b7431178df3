// SPDX-License-Identifier: GPL-3.0-or-later
// Model cache and the built-in wall cube.
#include "world/modelcache.h"

#include "world/md2loader.h"
#include "world/md2model.h"

namespace {

// The cube's eight corners, six faces of four corners each, and one flat normal per face.
constexpr float kCorners[8][3] = {
    {-10, -10, -10}, {-10, -10, 10}, {-10, 10, 10}, {-10, 10, -10},
    {10, -10, -10},  {10, -10, 10},  {10, 10, 10},  {10, 10, -10},
};
constexpr int kFaceCorners[6][4] = {
    {0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4}, {4, 5, 1, 0}, {5, 6, 2, 1}, {7, 4, 0, 3},
};
constexpr float kFaceNormals[6][3] = {
    {-1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1},
};
constexpr double kCubeTexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
static_assert(sizeof kFaceCorners / sizeof kFaceCorners[0] ==
              sizeof kFaceNormals / sizeof kFaceNormals[0], "one normal per face");

}  // namespace

ModelCache::ModelCache() : loader(std::make_unique<MD2Loader>()) {}

ModelCache::~ModelCache() = default;

bool ModelCache::GetModel(MD2Model& dest, const std::string& name)
{
    auto found = models.find(name);
    if (found == models.end()) {
        auto model = std::make_unique<MD2Model>();
        if (name == kWallModel)
            BuildWallCube(*model);
        else
            loader->Load(*model, name);
        found = models.emplace(name, std::move(model)).first;
    }
    dest = *found->second;
    dest.ComputeBox();
    return true;
}

void ModelCache::BuildWallCube(MD2Model& model)
{
    auto frame = std::make_shared<MD2Frame>();
    frame->vertexCount = 24;
    frame->triangleCount = 12;
    frame->texCoordCount = 4;
    for (int f = 0; f < 6; ++f) {
        for (int c : kFaceCorners[f]) {
            frame->vertices.insert(frame->vertices.end(), kCorners[c], kCorners[c] + 3);
            frame->normals.insert(frame->normals.end(), kFaceNormals[f], kFaceNormals[f] + 3);
        }
        const int k = f * 4;
        const int32_t triangles[2][6] = {{k, k + 1, k + 2, 0, 1, 2}, {k + 2, k + 3, k, 2, 3, 0}};
        for (const auto& tri : triangles)
            frame->triangles.insert(frame->triangles.end(), tri, tri + 6);
    }
    for (const auto& tc : kCubeTexCoords)
        frame->texCoords.insert(frame->texCoords.end(), tc, tc + 2);

    model = MD2Model();
    model.frames.push_back(frame);
    model.frameCount = 1;
    model.loaded = true;
}
