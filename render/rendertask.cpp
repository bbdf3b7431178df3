// SPDX-License-Identifier: GPL-3.0-or-later
// GL set-up and the frame in its order: shadow map, water mask, dim pass, shadow
// lookup, mirror, water, lit pass, particles, overlays, frame rate, countdown, head-up
// display, pause.
#include "render/rendertask.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cstdio>
#include <iostream>

#include "engine/clock.h"
#include "engine/pause.h"
#include "engine/profiler.h"
#include "engine/text.h"
#include "gameplay/bindings.h"
#include "render/font.h"
#include "render/screenshot.h"
#include "world/actors.h"
#include "world/gameworld.h"

namespace {

constexpr GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kLightHeight = 30.0f;
constexpr int kWaterSize = 64;  // world units the water covers on each side

// Scale by 0.5 and move by 0.5 on every axis: clip space into texture space.
constexpr GLfloat kBiasMatrix[16] = {
    0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 1.0f,
};
constexpr GLenum kTexGenCoords[4] = {GL_S, GL_T, GL_R, GL_Q};
constexpr GLenum kTexGens[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};

void Row(const GLfloat m[16], int i, GLfloat out[4])
{
    for (int k = 0; k < 4; ++k)
        out[k] = m[i + 4 * k];
}

void ColourMask(bool on)
{
    const GLboolean b = on ? GL_TRUE : GL_FALSE;
    glColorMask(b, b, b, b);
}

bool IsOn(Toggle t) { return GameWorld::GetSingleton().IsOn(t); }

inline void StepDone(const char* step)
{
    if (CRenderTask::stepDone)
        CRenderTask::stepDone(step);
}

}  // namespace

void (*CRenderTask::stepDone)(const char*) = nullptr;
int CRenderTask::fullResolution = -1;
int CRenderTask::effects = CRenderTask::kFullEffects;

CRenderTask::CRenderTask()
    : cameraProjection{},
      projectionWidth(0),
      lightProjection{},
      lightView{},
      worldExtent(TerrainGeometry::kWorldExtent),
      timeLeft(0),
      nowTicks(0),
      healthText{},
      rateText{},
      timeText{},
      geometryLoaded(false),
      loadedLevel(0),
      terrainList(0),
      terrainDepthList(0),
      waterList(0),
      towerList(0),
      wallList(0),
      sphereLists{},
      shadowMapTexture(0),
      stencilSplit(false),
      splitDimPass(false),
      waterSeenBounded(false),
      waterSeenBox{},
      depthImage(static_cast<size_t>(kShadowMapSize) * kShadowMapSize),
      heightBytes(static_cast<size_t>(TerrainGeometry::kSamples) * TerrainGeometry::kSamples),
      target{0, 0, 0, CScreen::kFrameWidth, kViewHeight},
      frameWidth(CScreen::kFrameWidth),
      softwareRenderer(false),
      lightObjects(LightObjects::All),
      lightFrameBuffer(0),
      stillFrameBuffer(0),
      stillDepth(0),
      stillKey(0),
      terrainBuilds(0),
      lightBuffersTried(false)
{
    priority = 5000;
}

bool CRenderTask::Start()
{
    frameRate.Reset();
    // Without a context (no window) GLEW cannot start, and the answer is the same.
    const bool glew = glewInit() == GLEW_OK;
    if (!glew || !GLEW_ARB_depth_texture || !GLEW_ARB_shadow) {
        std::cout << "I require ARB_depth_texture and ARB_shadow extensionsn\n";
        return false;
    }

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearDepth(1.0);
    glClearStencil(0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);

    softwareRenderer = IsSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    GLint stencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    stencilSplit = stencilBits >= 2;

    LoadTextures();  // without its textures the game still runs, untextured
    BuildFont(textures[Slot(TextureId::Font)]);

    // Unit 1 holds the shadow map and stays selected until the scene drawing picks unit 0.
    MakeShadowMap();

    // The particles are gathered and drawn small; without the GL to do that, they are
    // drawn in the frame as they are gathered.
    glActiveTexture(GL_TEXTURE0);
    particles.Init(CScreen::kFrameWidth, kViewHeight);
    glActiveTexture(GL_TEXTURE1);

    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_SPECULAR, kWhite);
    glMaterialf(GL_FRONT, GL_SHININESS, 16.0f);

    MakeCameraProjection(CScreen::kFrameWidth);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(90.0, 1.0, kLightHeight - 5.0, kLightHeight + kWaterHeight);
    glGetFloatv(GL_MODELVIEW_MATRIX, lightProjection);
    glLoadIdentity();
    gluLookAt(32.0, 32.0, kLightHeight, 32.0, 32.0, 0.0, 0.0, 1.0, 0.0);
    glGetFloatv(GL_MODELVIEW_MATRIX, lightView);
    glPopMatrix();
    return true;
}

void CRenderTask::MakeCameraProjection(int width)
{
    // Square on the 4:3 frame: the picture is stretched to it, which the cursor's x
    // counts with (a unit of it is 400 pixels, as one of y is 300). Wider, the aspect
    // grows with the width, which keeps that scale and the vertical field.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / CScreen::kFrameWidth, 1.0, 100.0);
    glGetFloatv(GL_MODELVIEW_MATRIX, cameraProjection);
    glPopMatrix();
    projectionWidth = width;
}

void CRenderTask::Update()
{
    PROFILE("Render Task");
    BeginFrame();
    if (Light())
        StepScene(ScenePass::Light);
    else
        DrawLightDepth();
    StepDone("light");
    LookFromCamera();
    MarkWater();
    StepDone("water mask");
    DrawDimScene();
    StepDone("dim");
    if (!Light())
        BeginShadowLookup();
    DrawMirror();
    StepDone("mirror");
    DrawWaterSurface();
    StepDone("water");
    if (Light())
        StepScene(ScenePass::Lit);
    else
        DrawScene(ScenePass::Lit);
    StepDone("lit");
    DrawParticles();
    StepDone("particles");
    EndShadowLookup();
    DrawShadowMapView();
    KeepTime();
    DrawHud();
    StepDone("hud");
    if (CPause::IsOn())
        DrawPause();
    FinishFrame();
}

Player& CRenderTask::ThePlayer()
{
    CMMPointer<VOB> slot = GameWorld::GetSingleton().GetActor(GameWorld::kPlayerSlot);
    return *static_cast<Player*>(static_cast<VOB*>(slot));
}

void CRenderTask::BeginFrame()
{
    const GLenum polygonMode = IsOn(Toggle::Wireframe) ? GL_LINE : GL_FILL;
    glPolygonMode(GL_BACK, polygonMode);
    glPolygonMode(GL_FRONT, polygonMode);
    frameWidth = CScreen::FrameWidth();
    target = frameTarget.Choose(DrawsSharp(fullResolution, softwareRenderer), kShadowMapSize);
    if (GLEW_EXT_framebuffer_object)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    particles.SetDivisor(Light() ? ParticleLayer::kLightDivisor : ParticleLayer::kDivisor);
    particles.SetEvery(Light() ? ParticleLayer::kLightEvery : 1);
    particles.SetFrame(target.framebuffer, target.x, target.y, target.width, target.height);
    if (Light()) {
        // No shadow map: unit 1 holds no texture, so turning it on and off does nothing.
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(GL_TEXTURE0);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void CRenderTask::LookFromCamera()
{
    // The camera stands at the player's offset and looks at the player.
    const Player& player = ThePlayer();
    if (projectionWidth != frameWidth)
        MakeCameraProjection(frameWidth);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(cameraProjection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(player.GetEyeX(), player.GetEyeY(), player.GetEyeZ(), player.GetX(), player.GetY(), player.GetZ(),
              0.0, 1.0, 0.0);
    glViewport(target.x, target.y, target.width, target.height);
}

void CRenderTask::MarkWater()
{
    // The water marks the stencil, so the mirror stays inside it; without reflections
    // the water goes straight to the picture.
    splitDimPass = false;
    waterSeenBounded = false;
    if (!IsOn(Toggle::Reflections)) {
        glDisable(GL_DEPTH_TEST);
        DrawWater(kWaterSize, kWaterSize);
        glEnable(GL_DEPTH_TEST);
        return;
    }
    const float eyeHeight = ThePlayer().GetEyeZ();
    glClear(GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    ColourMask(false);
    splitDimPass = stencilSplit && eyeHeight > kWaterHeight && !Light();
    if (splitDimPass) {
        // Seen from above the water, most of what the dim pass draws is drawn again by
        // the lit pass, at the same depth, over it: it stays in the picture only where
        // the water is seen over the ground (under the water), and where a moving model
        // stood in the dim pass nearer than it stands in the lit pass (each pass draws it
        // a step further on). So the ground's depth goes first, the water marks where it
        // is seen over it, and the dim pass shades only those places (its objects are
        // kept to them one by one) and the mirror only the first: the same picture from
        // much less of it.
        glStencilFunc(GL_ALWAYS, 0, 0);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        DrawTerrainDepth();
        glStencilFunc(GL_ALWAYS, kWaterSeen, kWaterBits);
        glStencilOp(GL_KEEP, GL_INCR, GL_REPLACE);  // hidden: 1, seen: 2
        glDepthMask(GL_FALSE);
        DrawWater(kWaterSize, kWaterSize);
        glDepthMask(GL_TRUE);
        glStencilFunc(GL_EQUAL, kWaterSeen, kWaterBits);
        BoundWaterSeen(eyeHeight);
    } else {
        glStencilFunc(GL_ALWAYS, 1, 1);
        glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
        glDisable(GL_DEPTH_TEST);
        DrawWater(kWaterSize, kWaterSize);
        glEnable(GL_DEPTH_TEST);
        glStencilFunc(GL_EQUAL, 1, 1);
    }
    ColourMask(true);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

void CRenderTask::DrawDimScene()
{
    // Everything dimly lit, as it looks in the shadow; the light effects have no shadow.
    SetupLight(!Light());
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    DrawScene(ScenePass::Dim);
}

void CRenderTask::BeginShadowLookup()
{
    // Eye planes given under the camera's view, so fixed to the world.
    GLfloat shadowMatrix[16], lightMatrix[16];
    MultiplyMatrices(lightProjection, lightView, lightMatrix);
    MultiplyMatrices(kBiasMatrix, lightMatrix, shadowMatrix);
    glActiveTexture(GL_TEXTURE1);
    for (int k = 0; k < 4; ++k) {
        GLfloat plane[4];
        Row(shadowMatrix, k, plane);
        glTexGeni(kTexGenCoords[k], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
        glTexGenfv(kTexGenCoords[k], GL_EYE_PLANE, plane);
        glEnable(kTexGens[k]);
    }
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
    glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE_ARB, GL_INTENSITY);
}

void CRenderTask::DrawMirror()
{
    // The mirror below the water: a vertex at height z is drawn at 0.5 - z.
    glEnable(GL_CLIP_PLANE0);
    const GLdouble below[4] = {0.0, 0.0, -1.0, 0.0};
    glClipPlane(GL_CLIP_PLANE0, below);
    glDisable(GL_ALPHA_TEST);
    if (splitDimPass)
        glStencilFunc(GL_EQUAL, kWaterSeen, kWaterBits);
    else
        glStencilFunc(GL_EQUAL, 1, 1);
    glPushMatrix();
    glScalef(1.0f, 1.0f, -1.0f);
    glTranslatef(0.0f, 0.0f, -kWaterHeight);
    SetupLight(true);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    if (splitDimPass && waterSeenBounded) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(waterSeenBox[0], waterSeenBox[1], waterSeenBox[2], waterSeenBox[3]);
    }
    DrawScene(ScenePass::Mirror);
    glDisable(GL_SCISSOR_TEST);
    glPopMatrix();
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_STENCIL_TEST);
}

void CRenderTask::DrawWaterSurface()
{
    // Over the mirror, a little of the water's own picture.
    SetupLight(false);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 0.3f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawWater(kWaterSize, kWaterSize);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
}

void CRenderTask::DrawParticles()
{
    particles.DrawGathered(TextureName(TextureId::Particle), IsOn(Toggle::Wireframe));
}

void CRenderTask::EndShadowLookup()
{
    // Unit 0 is selected again: unit 1 keeps its shadow lookup into the next frame.
    glDisable(GL_TEXTURE_2D);
    for (GLenum gen : kTexGens)
        glDisable(gen);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
}

void CRenderTask::DrawShadowMapView()
{
    if (!IsOn(Toggle::Shadowmap))
        return;
    glWindowPos2f(static_cast<float>(target.x), static_cast<float>(target.y));
    glDrawPixels(kShadowMapSize, kShadowMapSize, GL_LUMINANCE, GL_FLOAT, depthImage.data());
}

void CRenderTask::KeepTime()
{
    GameWorld& world = GameWorld::GetSingleton();
    nowTicks = CClock::GetTicks();
    frameRate.Tick(nowTicks);
    CMMPointer<VOB> flagObject = world.GetActor(GameWorld::kFlagSlot);
    const bool carried = static_cast<Flag*>(static_cast<VOB*>(flagObject))->IsCarried();
    timeLeft = Countdown(nowTicks, world.GetLevelStartTime(), carried);
    if (world.GetResult() == GameWorld::kPlaying && timeLeft <= 0)
        world.SetResult(GameWorld::kLost);
    std::snprintf(rateText, sizeof(rateText), "%d", frameRate.Get());
    std::snprintf(timeText, sizeof(timeText), "%d", timeLeft);
    if (slowHint.Step({softwareRenderer, !Light(), CClock::IsDriven(), frameRate.Get(), nowTicks}))
        std::cout << "VELQ: " << Tr(kSlowHintText) << std::endl;
}

void CRenderTask::FinishFrame()
{
    // The whole frame, HUD included, as drawn (without bars), before it is shown.
    if (CBindings::Pressed(Action::Screenshot))
        screenshots.Take(target.x, target.y, target.width, target.height);
    screenshots.CaptureIfListed(target.x, target.y, target.width, target.height);
    frameTarget.Show();
}
