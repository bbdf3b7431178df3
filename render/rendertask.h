// SPDX-License-Identifier: GPL-3.0-or-later
// The render task: draws one whole frame per kernel pass (shadow map from the light,
// the water mirror, the lit scene, the head-up display) and keeps the frame rate and
// the level countdown, which loses a level whose time runs out.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/kernel.h"
#include "engine/screen.h"
#include "render/frameclock.h"
#include "render/particlelayer.h"
#include "render/terrain.h"
#include "render/tga.h"
#include "render/viewvolume.h"

class SceneGraphNode;
class VOB;

class CRenderTask : public ITask {
public:
    static constexpr int kTextureSlots = 19;
    static constexpr int kFontSlot = 18;
    static constexpr int kParticleSlot = 9;
    static constexpr int kShadowMapSize = 512;
    // The game's own frame: everything is drawn to these sizes, and CScreen puts the
    // frame on the window.
    static constexpr int kViewWidth = CScreen::kFrameWidth;
    static constexpr int kViewHeight = CScreen::kFrameHeight;
    // Setting fullResolution: 1 draws the frame at the size it has on the screen (when
    // that is larger) instead of at its own and scaling it up.
    static int fullResolution;

    // The stencil of the camera's passes when the dim pass is split: the water mask
    // leaves 0 outside the water's area, kWaterHidden where the ground hides the water
    // and kWaterSeen where the water is seen over it.
    static constexpr unsigned kWaterHidden = 1, kWaterSeen = 2, kWaterBits = 3;

    CRenderTask();

    // Called after each step of the frame with the step's name when set (a benchmark
    // times the steps one by one); the game leaves it null.
    static void (*stepDone)(const char* step);

    // False, with its console line, when the GL lacks depth textures or shadow
    // comparison; the kernel then runs without the task.
    bool Start() override;
    void Update() override;
    void Stop() override {}
    unsigned size() override { return sizeof(*this); }

    // Loads the texture files and creates their GL textures; none at all when a file
    // fails.
    bool LoadTextures();
    // The four times a frame draws the scene.
    enum class ScenePass {
        Light,   // depth from the light
        Dim,     // in the dim light; split by the stencil when the water mask allows it
        Mirror,  // below the water: everything but the ground
        Lit,     // in full light; the only pass that draws the particles
    };
    // Every object of the game world once, with the matrices of the current pass; in the
    // light's pass only those of lightObjects.
    void DrawScene(ScenePass pass);
    void DrawSceneGraph(const SceneGraphNode* node);
    void DrawTerrain();
    // The ground's depth alone, where the ground draws it (colour is left alone).
    void DrawTerrainDepth();
    // The window box round where the water can be seen over the ground from the camera
    // set now, with its eye at eyeHeight: the ground's chunks that reach below the
    // water and the edge strips without ground. Unbounded when part of them lies
    // behind the eye, or the eye is not above all of the ground.
    void BoundWaterSeen(float eyeHeight);
    // The view volume of the projection and modelview set now, which the drawing that
    // follows leaves out what lies wholly outside of.
    void LookFromCurrentMatrices();
    void LoadLevelGeometry();
    // Places and colours the single light (dim for the mirror and the shadowed pass).
    void SetupLight(bool dim);
    void DrawWater(int sizeX, int sizeY);
    void DrawHud();

    float GroundHeight(float x, float y) const { return terrain.GroundHeight(x, y); }
    int32_t GetTimeLeft() const { return timeLeft; }
    int32_t GetFramesPerSecond() const { return frameRate.Get(); }

private:
    // Where a frame is drawn: a framebuffer (0, the window) and the frame's rectangle in it.
    struct FrameTarget {
        uint32_t framebuffer;
        int x, y, width, height;
    };
    // The window itself when it has the frame's size (the picture exactly as always),
    // or at full resolution; otherwise the off-screen frame.
    FrameTarget ChooseTarget();
    // The off-screen frame of the frame's own size, made once; false without the GL for it.
    bool MakeFrameBuffer();
    // The off-screen frame scaled onto the window in one pass, the bars black.
    void ShowFrame();
    // The shadow map as a framebuffer of its own, and a second depth image of the same
    // size that keeps what stands still; made once, false without the GL for them.
    bool MakeLightBuffers();
    // The light's depth into the shadow map's framebuffer: what stands still from the
    // kept image while it is the same, then what moves.
    void DrawLightDepth();
    // Tells the still part of the light's picture apart: the level, its ground and every
    // wall and tower with its place; 0 while a debug view draws more than the objects.
    uint64_t StillLightKey();
    // The frame dimmed, with the word over it.
    void DrawPause();
    // The level's height field into the terrain samples; flat ground when it cannot be read.
    void ReadHeightField(int32_t level);
    void DrawWaterGeometry(int sizeX, int sizeY);
    // The ground's chunks that the view volume may see, each from its list in lists
    // (kChunks of them, compiled on the first call; with the quads' normals or without).
    void CallTerrainChunks(uint32_t& lists, bool normals);

    TerrainGeometry terrain;
    float worldExtent;
    TextureImage textures[kTextureSlots];
    int32_t timeLeft;
    FrameRate frameRate;
    uint32_t nowTicks;
    char healthText[8];
    char rateText[8];
    char timeText[8];

    bool geometryLoaded;
    int32_t loadedLevel;
    uint32_t terrainList;       // the first of the ground's chunk lists
    uint32_t terrainDepthList;  // the same chunks' corners alone
    uint32_t waterList;
    uint32_t towerList;
    uint32_t wallList;  // the wall cube, shared by every wall while display lists are on
    uint32_t shadowMapTexture;
    bool stencilSplit;  // the window has the bits the split needs
    bool splitDimPass;  // this frame's dim pass is split
    bool waterSeenBounded;
    int waterSeenBox[4];  // x, y, width, height in the window
    // The light's depth image, read back every frame; allocated once.
    std::vector<float> depthImage;
    std::vector<unsigned char> heightBytes;
    std::vector<CMMPointer<VOB>> drawList;  // the objects of the pass being drawn
    ParticleLayer particles;                // the lit pass's particles
    FrameTarget target;
    ViewVolume view;  // of the pass being drawn
    uint32_t frameBuffer, frameColour, frameDepth;
    bool frameBufferTried;
    // Which objects the light's pass draws: all, or split between what stands still
    // (the ground, walls and towers) and the rest.
    enum class LightObjects { All, Still, Moving };
    LightObjects lightObjects;
    uint32_t lightFrameBuffer;  // the shadow map's framebuffer
    uint32_t stillFrameBuffer, stillDepth;  // the kept depth of what stands still
    uint64_t stillKey;          // what the kept depth shows; 0: nothing yet
    uint32_t terrainBuilds;     // counts the ground's rebuilds, for the key
    bool lightBuffersTried;
};
