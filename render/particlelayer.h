// SPDX-License-Identifier: GPL-3.0-or-later
// The particles of the lit pass, gathered as the scene is drawn and then drawn all at
// once into a picture of a quarter of the frame's width and height, which is laid over
// the frame. The glow is soft and blended, so it looks the same at that size, and a
// battle's hundreds of trails cost a sixteenth of the pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "gameplay/particles.h"

class ParticleLayer {
public:
    // Each side of the layer's picture is the frame's divided by this; by more for the
    // lighter effects.
    static constexpr int kDivisor = 4, kLightDivisor = 8;
    // A new divisor remakes the picture at the next SetFrame.
    void SetDivisor(int d);
    // Gathers only every n-th particle of a system, each n times as strong (to full
    // strength at most): the lighter effects' trails, made of fewer squares. 1 by default.
    static constexpr int kLightEvery = 2;
    void SetEvery(int n) { every = n < 1 ? 1 : n; }

    // Makes the off-screen picture for a frame of width x height; false (and the
    // particles are then drawn straight into the frame) when the GL cannot.
    bool Init(int width, int height);
    bool IsReady() const { return layerFramebuffer != 0; }
    // Where this frame is drawn: the framebuffer (0, the window) and the frame's
    // rectangle in it. A new size remakes the picture at its quarter.
    void SetFrame(uint32_t framebuffer, int x, int y, int width, int height);

    // The height every particle of the next systems is lifted by, as the scene lifts
    // the effect it draws.
    void SetLift(float z) { lift = z; }
    // Forgets what was gathered (a frame that is not drawn to the end).
    void Clear();

    // Every active particle of the system (or every n-th), where it stands now.
    void Gather(const ParticleSystem& system);

    // Draws what was gathered with the camera's matrices and the frame's depth, and
    // lays it over the frame; with the frame's own size when there is no layer, or when
    // polygons are drawn as lines. particleTexture is the particles' GL texture.
    void DrawGathered(uint32_t particleTexture, bool asLines);

private:
    struct Corner {
        float colour[4];
        float tex[2];
        float pos[3];
    };
    // The squares as the game draws them: additive, unlit, leaving depth alone.
    void DrawSquares(uint32_t particleTexture);
    // Adds the layer's picture to the frame inside (x, y, w, h), in frame pixels: outside
    // the particles' reach it holds nothing to add.
    void LayOver(int x, int y, int w, int h);
    // The frame pixels the gathered squares can touch, with the room the layer's
    // filtering takes around them; false when they may reach everywhere.
    bool Reach(int rect[4]) const;

    std::vector<Corner> corners;  // four per particle; kept, so it stops growing
    float lo[3] = {}, hi[3] = {};  // the box round the corners gathered
    float lift = 0.0f;
    int every = 1;
    void Quad(const Particle& p, float strength);

    // The frame's target, where the layer is laid over.
    uint32_t frameFramebuffer = 0;
    int frameX = 0, frameY = 0;
    int frameWidth = 0, frameHeight = 0;
    // The layer's own picture, a quarter of the frame each way.
    int divisor = kDivisor;
    int width = 0, height = 0;
    uint32_t layerFramebuffer = 0;
    uint32_t colourTexture = 0;
    uint32_t depthBuffer = 0;
};
