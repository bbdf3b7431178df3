// SPDX-License-Identifier: GPL-3.0-or-later
// MD2 models on the screen: a model's current animation blended towards its next frame,
// its first frame alone, or its bounding box, as vertex arrays kept between draws.
#pragma once

#include <vector>

class MD2Model;

class CModelDrawer {
public:
    // Draws the current animation blended towards its next frame and advances it by the
    // timer task's frame time. Needs at least one animation; without frames only the box
    // (when boxes is set).
    void Draw(MD2Model& model, bool boxes);
    // Draws the first frame; the animation stays. Nothing without frames.
    void DrawStatic(MD2Model& model, bool boxes);
    // For a model out of sight: what Draw (animate) or DrawStatic would leave behind
    // without drawing it, the animation stepped and the GL's current normal and texture
    // coordinate those of its last corner.
    void Skip(MD2Model& model, bool animate);
    // Outlines the bounding box (lines through the eight corners), unlit.
    static void DrawBox(const MD2Model& model);

private:
    struct Corner {
        float tex[2];
        float normal[3];
        float pos[4];
    };
    void DrawFrame(const MD2Model& model, int from, int to, float t);

    std::vector<Corner> corners;  // kept, so drawing allocates nothing once it has grown
};
