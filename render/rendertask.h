// SPDX-License-Identifier: GPL-3.0-or-later
// The render task: draws one whole frame per kernel pass (shadow map from the light,
// the water mirror, the lit scene, the head-up display) and keeps the frame rate and
// the level countdown, which loses a level whose time runs out.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/kernel.h"
#include "engine/screen.h"
#include "gameplay/menu/menu.h"
#include "render/frameclock.h"
#include "render/frametarget.h"
#include "render/hud.h"
#include "render/modeldraw.h"
#include "render/particlelayer.h"
#include "render/screenshot.h"
#include "render/terrain.h"
#include "render/tga.h"
#include "render/viewvolume.h"

class Player;
class SceneGraphNode;
class VOB;
struct SceneKind;

class CRenderTask : public ITask {
public:
    static constexpr int kShadowMapSize = 512;
    // The game's own frame is this high, and CScreen::FrameWidth() wide: the HUD and
    // the texts are laid out in its pixels, and CScreen puts it on the window.
    static constexpr int kViewHeight = CScreen::kFrameHeight;
    // The water's surface, which the mirror reflects in.
    static constexpr float kWaterHeight = 0.5f;
    // Setting fullResolution: 1 draws the frame at the size it has on the screen (when
    // that is larger) instead of at its own and scaling it up, 0 scales it up, -1 leaves
    // it to the renderer (DrawsSharp).
    static int fullResolution;
    // Setting effects: the game's own picture (full), or a lighter one for a machine
    // without a graphics card (light): no shadow map, the scene drawn once in full light
    // instead of three times, and the particles' layer at an eighth of the frame.
    enum { kFullEffects, kLightEffects };
    static int effects;

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

    float GroundHeight(float x, float y) const { return terrain.GroundHeight(x, y); }
    int32_t GetTimeLeft() const { return timeLeft; }
    int32_t GetFramesPerSecond() const { return frameRate.Get(); }

private:
    // The four times a frame draws the scene.
    enum class ScenePass {
        Light,   // depth from the light
        Dim,     // in the dim light; split by the stencil when the water mask allows it
        Mirror,  // below the water: everything but the ground
        Lit,     // in full light; the only pass that draws the particles
    };
    // Which objects the light's pass draws: all, or split between what stands still
    // (the ground, walls and towers) and the rest.
    enum class LightObjects { All, Still, Moving };
    // Where the stencil lets an object of a split dim pass draw.
    enum class StencilKeep { Unset, WaterSeen, WaterArea };
    // What one scene pass carries from object to object.
    struct PassState {
        ScenePass pass;
        bool split;         // a split dim pass: each object kept by the stencil
        bool effectsShown;  // the particles are gathered, not only stepped
        bool stepOnly;      // nothing drawn: effects and animations step as if it were
        bool displayLists, boxes;
        StencilKeep kept;
        bool wallRun;  // inside a run of walls that share their look
    };

    // --- The frame, in its order (rendertask.cpp).
    // The player the camera follows: the actor in slot 1.
    static Player& ThePlayer();
    void BeginFrame();
    void LookFromCamera();
    bool Light() const { return effects == kLightEffects; }
    // The water into the stencil (with the ground's depth first when the dim pass is
    // split), or straight into the picture without reflections.
    void MarkWater();
    // The scene in the dim light (in full light, shadowless, with the particles, when the
    // effects are light).
    void DrawDimScene();
    // The shadow map's comparison on unit 1, its eye planes fixed to the world.
    void BeginShadowLookup();
    void DrawMirror();
    void DrawWaterSurface();
    // The lit pass's particles, gathered as it was drawn, laid over the frame.
    void DrawParticles();
    void EndShadowLookup();
    // The light's depth image in the frame's corner, while its toggle is on.
    void DrawShadowMapView();
    // The frame rate, and the countdown that loses a level whose time is up.
    void KeepTime();
    void DrawHud();
    // The frame dimmed, with the menu (or without one the word) over it.
    void DrawPause();
    void DrawMenu();
    // Screenshot and captured frames of the finished frame, then onto the window.
    void FinishFrame();

    // --- The light's depth (render_shadow.cpp).
    // The shadow map's depth texture, on unit 1, which stays selected.
    void MakeShadowMap();
    // Into the shadow map's framebuffer: what stands still from the kept image while it
    // is the same, then what moves.
    void DrawLightDepth();
    // The shadow map as a framebuffer of its own, and a second depth image of the same
    // size that keeps what stands still; made once, false without the GL for them.
    bool MakeLightBuffers();
    // Tells the still part of the light's picture apart: the level, its ground and every
    // wall and tower with its place; 0 while a debug view draws more than the objects.
    uint64_t StillLightKey();

    // --- The scene (render_scene.cpp).
    // Every object of the game world once, with the matrices of the current pass; in the
    // light's pass only those of lightObjects.
    void DrawScene(ScenePass pass);
    // What drawing the pass would step, without drawing it: every effect and every moving
    // model's animation, so the game's random numbers and the models' motion stay those of
    // the full picture.
    void StepScene(ScenePass pass);
    void DrawGround(PassState& state);
    void DrawObject(VOB& o, const SceneKind& kind, PassState& state);
    // The material, shadow lookup and texture of the object's kind, and back; a run of
    // walls shares one.
    void BeginLook(const SceneKind& kind, PassState& state);
    void EndLook(const SceneKind& kind, const PassState& state);
    // The object's shape at its place, or what drawing it would leave behind when the
    // pass cannot see it.
    void DrawShape(VOB& o, const SceneKind& kind, float height, const PassState& state);
    void DrawEffect(VOB& o, const SceneKind& kind, float height, const PassState& state);
    void DrawSceneGraph(const SceneGraphNode* node);
    // A shot's sphere, from a list per radius: GLUT works out the same sphere again on
    // every call, and a battle draws thousands of them a frame.
    void DrawSphere(float radius);
    void KeepByStencil(StencilKeep want, StencilKeep& current);
    // The view volume of the projection and modelview set now, which the drawing that
    // follows leaves out what lies wholly outside of.
    void LookFromCurrentMatrices();

    // --- The level: ground, water and light (render_level.cpp).
    void LoadLevelGeometry();
    // The level's height field into the terrain samples; flat ground when it cannot be read.
    void ReadHeightField(int32_t level);
    void DrawTerrain();
    // The ground's depth alone, where the ground draws it (colour is left alone).
    void DrawTerrainDepth();
    // The ground's chunks that the view volume may see, each from its list in lists
    // (kChunks of them, compiled on the first call; with the quads' normals or without).
    void CallTerrainChunks(uint32_t& lists, bool normals);
    // The window box round where the water can be seen over the ground from the camera
    // set now, with its eye at eyeHeight: the ground's chunks that reach below the
    // water and the edge strips without ground. Unbounded when part of them lies
    // behind the eye, or the eye is not above all of the ground.
    void BoundWaterSeen(float eyeHeight);
    void DrawWater(int sizeX, int sizeY);
    void DrawWaterGeometry(int sizeX, int sizeY);
    // Places and colours the single light (dim for the mirror and the shadowed pass).
    void SetupLight(bool dim);

    // --- Textures (render_textures.cpp).
    // Loads the texture files and creates their GL textures; none at all when a file
    // fails.
    bool LoadTextures();
    uint32_t TextureName(TextureId id) const { return textures[Slot(id)].glName; }

    // The camera's projection for a frame of this width: the same vertical field and the
    // same scale per pixel at every width, so a wider frame shows more to the sides
    // (square on the 4:3 frame, whose picture is as wide as it is high in the world).
    void MakeCameraProjection(int width);

    // The camera's projection, for the frame width it was made for; the light's, and its
    // view straight down onto the level, fixed at start.
    float cameraProjection[16];
    int projectionWidth;
    float lightProjection[16];
    float lightView[16];

    TerrainGeometry terrain;
    float worldExtent;
    TextureImage textures[kTextureSlotCount];
    int32_t timeLeft;
    FrameRate frameRate;
    uint32_t nowTicks;
    char healthText[8];
    std::string helpLines[kHelpLineCount];
    char rateText[8];
    char timeText[8];
    HudLayout hudLayout;  // this frame's HUD, made anew each frame in the same place
    MenuLayout menuLayout;

    bool geometryLoaded;
    int32_t loadedLevel;
    uint32_t terrainList;       // the first of the ground's chunk lists
    uint32_t terrainDepthList;  // the same chunks' corners alone
    uint32_t waterList;
    uint32_t towerList;
    uint32_t wallList;  // the wall cube, shared by every wall while display lists are on
    struct SphereList {
        float radius;
        uint32_t list;
    };
    SphereList sphereLists[4];
    uint32_t shadowMapTexture;
    bool stencilSplit;  // the window has the bits the split needs
    bool splitDimPass;  // this frame's dim pass is split
    bool waterSeenBounded;
    int waterSeenBox[4];  // x, y, width, height in the window
    // The light's depth image, read back only while the shadow map is shown; allocated once.
    std::vector<float> depthImage;
    std::vector<unsigned char> heightBytes;
    std::vector<CMMPointer<VOB>> drawList;  // the objects of the pass being drawn
    ParticleLayer particles;                // the lit pass's particles
    CModelDrawer models;
    CScreenshots screenshots;
    CFrameTarget frameTarget;
    CFrameTarget::Target target;  // this frame's
    int frameWidth;               // this frame's width in its own pixels
    bool softwareRenderer;        // the GL draws on the processor
    SlowHint slowHint;            // the word that the lighter effects are faster
    ViewVolume view;  // of the pass being drawn
    LightObjects lightObjects;
    uint32_t lightFrameBuffer;  // the shadow map's framebuffer
    uint32_t stillFrameBuffer, stillDepth;  // the kept depth of what stands still
    uint64_t stillKey;          // what the kept depth shows; 0: nothing yet
    uint32_t terrainBuilds;     // counts the ground's rebuilds, for the key
    bool lightBuffersTried;
};
