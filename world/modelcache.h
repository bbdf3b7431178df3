// SPDX-License-Identifier: GPL-3.0-or-later
// The models of the game, each read once and handed out as copies that share frames.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/singleton.h"

class MD2Loader;
class MD2Model;

class ModelCache : public CSingleton<ModelCache> {
public:
    // The built-in cube of the wall blocks.
    static constexpr const char* kWallModel = "wall.hardcode";

    ModelCache();
    ~ModelCache();

    // Copies the named model into dest and computes its box. A name that fails to load
    // is cached as an empty model (which draws nothing). Always true.
    bool GetModel(MD2Model& dest, const std::string& name);

    // Fills model with the wall cube: one frame, 24 vertices, 12 triangles, 20 units wide.
    static void BuildWallCube(MD2Model& model);

private:
    std::unique_ptr<MD2Loader> loader;
    std::map<std::string, std::unique_ptr<MD2Model>> models;
};
