// SPDX-License-Identifier: GPL-3.0-or-later
// GL set-up and the frame in its order: shadow map, water mask, dim pass, shadow
// lookup, mirror, water, lit pass, overlays, frame rate, countdown, head-up display.
#include "render/rendertask.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cstdio>
#include <iostream>

#include "engine/clock.h"
#include "engine/profiler.h"
#include "gameplay/bindings.h"
#include "render/font.h"
#include "render/screenshot.h"
#include "world/actors.h"
#include "world/gameworld.h"

namespace {

constexpr GLfloat kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kLightHeight = 30.0f;
constexpr float kWaterHeight = 0.5f;

// Display toggles read by the frame.
constexpr int kReflectionsToggle = 3;
constexpr int kShadowMapToggle = 7;
constexpr int kWireframeToggle = 8;

GLfloat cameraProjection[16];
GLfloat lightProjection[16];
GLfloat lightView[16];
// Scale by 0.5 and move by 0.5 on every axis: clip space into texture space.
constexpr GLfloat kBiasMatrix[16] = {
    0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 1.0f,
};

// A depth texture of the shadow map's size and format, bound to the unit selected.
GLuint NewDepthTexture()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, CRenderTask::kShadowMapSize, CRenderTask::kShadowMapSize, 0,
                 GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    return name;
}

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

bool Toggle(int index) { return GameWorld::GetSingleton().GetToggle(index) != 0; }

}  // namespace

CRenderTask::CRenderTask()
    : worldExtent(TerrainGeometry::kWorldExtent),
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
      shadowMapTexture(0),
      stencilSplit(false),
      splitDimPass(false),
      waterSeenBounded(false),
      waterSeenBox{},
      depthImage(static_cast<size_t>(kShadowMapSize) * kShadowMapSize),
      heightBytes(static_cast<size_t>(TerrainGeometry::kSamples) * TerrainGeometry::kSamples),
      target{0, 0, 0, kViewWidth, kViewHeight},
      frameBuffer(0),
      frameColour(0),
      frameDepth(0),
      frameBufferTried(false),
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

    GLint stencilBits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    stencilSplit = stencilBits >= 2;

    LoadTextures();  // without its textures the game still runs, untextured
    BuildFont(textures[kFontSlot]);

    // Unit 1 holds the shadow map and stays selected until the scene drawing picks unit 0.
    glActiveTexture(GL_TEXTURE1);
    shadowMapTexture = NewDepthTexture();

    // The particles are gathered and drawn small; without the GL to do that, they are
    // drawn in the frame as they are gathered.
    glActiveTexture(GL_TEXTURE0);
    particles.Init(kViewWidth, kViewHeight);
    ParticleSystem::drawer = &particles;
    glActiveTexture(GL_TEXTURE1);

    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT, GL_SPECULAR, kWhite);
    glMaterialf(GL_FRONT, GL_SHININESS, 16.0f);

    // The camera's aspect is square although the view is 800 x 600.
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 100.0);
    glGetFloatv(GL_MODELVIEW_MATRIX, cameraProjection);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, kLightHeight - 5.0, kLightHeight + kWaterHeight);
    glGetFloatv(GL_MODELVIEW_MATRIX, lightProjection);
    glLoadIdentity();
    gluLookAt(32.0, 32.0, kLightHeight, 32.0, 32.0, 0.0, 0.0, 1.0, 0.0);
    glGetFloatv(GL_MODELVIEW_MATRIX, lightView);
    glPopMatrix();
    return true;
}

void (*CRenderTask::stepDone)(const char*) = nullptr;

namespace {
inline void StepDone(const char* step)
{
    if (CRenderTask::stepDone)
        CRenderTask::stepDone(step);
}
}  // namespace

void CRenderTask::Update()
{
    PROFILE("Render Task");
    GameWorld& world = GameWorld::GetSingleton();
    CMMPointer<VOB> playerObject = world.GetActor(GameWorld::kPlayerSlot);
    Player* player = static_cast<Player*>(static_cast<VOB*>(playerObject));

    const GLenum polygonMode = Toggle(kWireframeToggle) ? GL_LINE : GL_FILL;
    glPolygonMode(GL_BACK, polygonMode);
    glPolygonMode(GL_FRONT, polygonMode);
    target = ChooseTarget();
    if (GLEW_EXT_framebuffer_object)
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    particles.SetFrame(target.framebuffer, target.x, target.y, target.width, target.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    DrawLightDepth();
    StepDone("light");

    // The camera stands at the player's offset and looks at the player.
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(cameraProjection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(player->GetEyeX(), player->GetEyeY(), player->GetEyeZ(), player->GetX(), player->GetY(),
              player->GetZ(), 0.0, 1.0, 0.0);
    glViewport(target.x, target.y, target.width, target.height);

    // The water marks the stencil, so the mirror stays inside it; without reflections
    // the water goes straight to the picture.
    splitDimPass = false;
    waterSeenBounded = false;
    if (Toggle(kReflectionsToggle)) {
        glClear(GL_STENCIL_BUFFER_BIT);
        glEnable(GL_STENCIL_TEST);
        ColourMask(false);
        splitDimPass = stencilSplit && player->GetEyeZ() > kWaterHeight;
        if (splitDimPass) {
            // Seen from above the water, most of what the dim pass draws is drawn again
            // by the lit pass, at the same depth, over it: it stays in the picture only
            // where the water is seen over the ground (under the water), and where a
            // moving model stood in the dim pass nearer than it stands in the lit pass
            // (each pass draws it a step further on). So the ground's depth goes first,
            // the water marks where it is seen over it, and the dim pass shades only
            // those places (its objects are kept to them one by one) and the mirror
            // only the first: the same picture from much less of it.
            glStencilFunc(GL_ALWAYS, 0, 0);
            glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
            DrawTerrainDepth();
            glStencilFunc(GL_ALWAYS, kWaterSeen, kWaterBits);
            glStencilOp(GL_KEEP, GL_INCR, GL_REPLACE);  // hidden: 1, seen: 2
            glDepthMask(GL_FALSE);
            DrawWater(64, 64);
            glDepthMask(GL_TRUE);
            glStencilFunc(GL_EQUAL, kWaterSeen, kWaterBits);
            BoundWaterSeen(player->GetEyeZ());
        } else {
            glStencilFunc(GL_ALWAYS, 1, 1);
            glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
            glDisable(GL_DEPTH_TEST);
            DrawWater(64, 64);
            glEnable(GL_DEPTH_TEST);
            glStencilFunc(GL_EQUAL, 1, 1);
        }
        ColourMask(true);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    } else {
        glDisable(GL_DEPTH_TEST);
        DrawWater(64, 64);
        glEnable(GL_DEPTH_TEST);
    }
    StepDone("water mask");

    // Everything dimly lit, as it looks in the shadow.
    SetupLight(true);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    DrawScene(ScenePass::Dim);
    StepDone("dim");

    // The shadow lookup: eye planes given under the camera's view, so fixed to the world.
    GLfloat shadowMatrix[16], lightMatrix[16];
    MultiplyMatrices(lightProjection, lightView, lightMatrix);
    MultiplyMatrices(kBiasMatrix, lightMatrix, shadowMatrix);
    glActiveTexture(GL_TEXTURE1);
    const GLenum coords[4] = {GL_S, GL_T, GL_R, GL_Q};
    const GLenum gens[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};
    for (int k = 0; k < 4; ++k) {
        GLfloat plane[4];
        Row(shadowMatrix, k, plane);
        glTexGeni(coords[k], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
        glTexGenfv(coords[k], GL_EYE_PLANE, plane);
        glEnable(gens[k]);
    }
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    glEnable(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
    glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE_ARB, GL_INTENSITY);

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
    StepDone("mirror");

    // The water surface over the mirror.
    SetupLight(false);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 0.3f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawWater(64, 64);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    StepDone("water");

    // Full light where the light sees; the shadow comparison keeps the rest dim.
    DrawScene(ScenePass::Lit);
    StepDone("lit");
    particles.DrawGathered(textures[kParticleSlot].glName, Toggle(kWireframeToggle));
    StepDone("particles");

    // Unit 0 is selected again: unit 1 keeps its shadow lookup into the next frame.
    glDisable(GL_TEXTURE_2D);
    for (GLenum gen : gens)
        glDisable(gen);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);

    if (Toggle(kShadowMapToggle)) {
        glWindowPos2f(static_cast<float>(target.x), static_cast<float>(target.y));
        glDrawPixels(kShadowMapSize, kShadowMapSize, GL_LUMINANCE, GL_FLOAT, depthImage.data());
    }

    nowTicks = CClock::GetTicks();
    frameRate.Tick(nowTicks);
    CMMPointer<VOB> flagObject = world.GetActor(GameWorld::kFlagSlot);
    const bool carried = static_cast<Flag*>(static_cast<VOB*>(flagObject))->IsCarried();
    timeLeft = Countdown(nowTicks, world.GetLevelStartTime(), carried);
    if (world.GetResult() == GameWorld::kPlaying && timeLeft <= 0)
        world.SetResult(GameWorld::kLost);

    std::snprintf(rateText, sizeof(rateText), "%d", frameRate.Get());
    std::snprintf(timeText, sizeof(timeText), "%d", timeLeft);
    DrawHud();
    StepDone("hud");
    if (CClock::IsPaused())
        DrawPause();

    // The whole frame, HUD included, as drawn (without bars), before it is shown.
    if (CBindings::Pressed(Action::Screenshot))
        TakeScreenshot(target.x, target.y, target.width, target.height);
    CaptureFrameIfListed(target.x, target.y, target.width, target.height);
    if (target.framebuffer)
        ShowFrame();
}

void CRenderTask::DrawLightDepth()
{
    const bool ownBuffer = MakeLightBuffers();
    GLint unit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    if (ownBuffer) {
        // The map is never read while it is drawn into.
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, 0);
        glActiveTexture(static_cast<GLenum>(unit));
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, lightFrameBuffer);
    }
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(lightProjection);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(lightView);
    glViewport(0, 0, kShadowMapSize, kShadowMapSize);
    glCullFace(GL_FRONT);
    glShadeModel(GL_FLAT);
    ColourMask(false);
    // The map keeps the faces turned away from the light; set a little further back,
    // they no longer shadow themselves in bands.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(2.0f, 8.0f);
    // The particles leave depth alone: they move on here, but nothing of them is drawn.
    if (ownBuffer) {
        // The nearest depth wins whatever the order, so what stands still can be drawn
        // once, kept, and what moves drawn over it every frame.
        LoadLevelGeometry();
        const uint64_t key = StillLightKey();
        if (key != 0 && key == stillKey) {
            glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, stillFrameBuffer);
            glBlitFramebufferEXT(0, 0, kShadowMapSize, kShadowMapSize, 0, 0, kShadowMapSize, kShadowMapSize,
                                 GL_DEPTH_BUFFER_BIT, GL_NEAREST);
            glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, lightFrameBuffer);
        } else {
            glClear(GL_DEPTH_BUFFER_BIT);
            if (key != 0) {
                lightObjects = LightObjects::Still;
                DrawScene(ScenePass::Light);
                glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, stillFrameBuffer);
                glBlitFramebufferEXT(0, 0, kShadowMapSize, kShadowMapSize, 0, 0, kShadowMapSize, kShadowMapSize,
                                     GL_DEPTH_BUFFER_BIT, GL_NEAREST);
                glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, lightFrameBuffer);
            }
            stillKey = key;
        }
        lightObjects = key != 0 ? LightObjects::Moving : LightObjects::All;
    }
    DrawScene(ScenePass::Light);
    lightObjects = LightObjects::All;
    glDisable(GL_POLYGON_OFFSET_FILL);
    // Read back only to be shown: the read waits for the light's picture to be drawn.
    if (Toggle(kShadowMapToggle))
        glReadPixels(0, 0, kShadowMapSize, kShadowMapSize, GL_DEPTH_COMPONENT, GL_FLOAT, depthImage.data());
    if (ownBuffer) {
        glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
        glActiveTexture(static_cast<GLenum>(unit));
    }
    // The map is also bound to the unit the scene left selected, where it always was.
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    if (ownBuffer) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    } else {
        // Drawn into the lower-left corner of the frame: into the map, then out of the frame.
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, kShadowMapSize, kShadowMapSize);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    ColourMask(true);
}

bool CRenderTask::MakeLightBuffers()
{
    if (lightBuffersTried)
        return lightFrameBuffer != 0;
    lightBuffersTried = true;
    if (!GLEW_EXT_framebuffer_object || !GLEW_EXT_framebuffer_blit)
        return false;
    // The kept depth has the map's own format, so it is copied back bit for bit.
    glActiveTexture(GL_TEXTURE1);
    stillDepth = NewDepthTexture();
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    const uint32_t textures[2] = {shadowMapTexture, stillDepth};
    uint32_t* buffers[2] = {&lightFrameBuffer, &stillFrameBuffer};
    bool complete = true;
    for (int k = 0; k < 2; ++k) {
        glGenFramebuffersEXT(1, buffers[k]);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, *buffers[k]);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D, textures[k], 0);
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
        complete = complete && glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    if (!complete) {
        glDeleteFramebuffersEXT(1, &lightFrameBuffer);
        glDeleteFramebuffersEXT(1, &stillFrameBuffer);
        glDeleteTextures(1, &stillDepth);
        lightFrameBuffer = stillFrameBuffer = stillDepth = 0;
    }
    return complete;
}

int CRenderTask::fullResolution = 0;

CRenderTask::FrameTarget CRenderTask::ChooseTarget()
{
    const int windowWidth = CScreen::WindowWidth(), windowHeight = CScreen::WindowHeight();
    if (windowWidth == kViewWidth && windowHeight == kViewHeight)
        return {0, 0, 0, kViewWidth, kViewHeight};
    const CScreen::Rect fit = CScreen::Frame();
    // Drawn larger than its own size, the frame leaves the shadow map's corner room.
    if (fullResolution && fit.width >= kViewWidth && fit.height >= kViewHeight)
        return {0, fit.x, fit.y, fit.width, fit.height};
    if (MakeFrameBuffer())
        return {frameBuffer, 0, 0, kViewWidth, kViewHeight};
    static bool told = false;
    if (!told && (windowWidth < kShadowMapSize || windowHeight < kShadowMapSize))
        std::cerr << "VELQ: without off-screen drawing the shadows need a window of " << kShadowMapSize << "x"
                  << kShadowMapSize << " or more\n";
    told = true;
    return {0, fit.x, fit.y, fit.width, fit.height};
}

bool CRenderTask::MakeFrameBuffer()
{
    if (frameBufferTried)
        return frameBuffer != 0;
    frameBufferTried = true;
    if (!GLEW_EXT_framebuffer_object || !GLEW_EXT_framebuffer_blit || !GLEW_EXT_packed_depth_stencil)
        return false;
    glGenRenderbuffersEXT(1, &frameColour);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, frameColour);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, kViewWidth, kViewHeight);
    glGenRenderbuffersEXT(1, &frameDepth);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, frameDepth);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, kViewWidth, kViewHeight);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glGenFramebuffersEXT(1, &frameBuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, frameBuffer);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, frameColour);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, frameDepth);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, frameDepth);
    const bool complete = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    if (!complete) {
        glDeleteFramebuffersEXT(1, &frameBuffer);
        glDeleteRenderbuffersEXT(1, &frameColour);
        glDeleteRenderbuffersEXT(1, &frameDepth);
        frameBuffer = frameColour = frameDepth = 0;
    }
    return complete;
}

void CRenderTask::ShowFrame()
{
    const CScreen::Rect fit = CScreen::Frame();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(0, 0, CScreen::WindowWidth(), CScreen::WindowHeight());
    // Only the bars are cleared: the frame covers the rest.
    const int w = CScreen::WindowWidth(), h = CScreen::WindowHeight();
    const CScreen::Rect bars[2] = {{0, 0, fit.x > 0 ? fit.x : w, fit.x > 0 ? h : fit.y},
                                   fit.x > 0 ? CScreen::Rect{fit.x + fit.width, 0, w - fit.x - fit.width, h}
                                             : CScreen::Rect{0, fit.y + fit.height, w, h - fit.y - fit.height}};
    glEnable(GL_SCISSOR_TEST);
    for (const CScreen::Rect& bar : bars) {
        if (bar.width > 0 && bar.height > 0) {
            glScissor(bar.x, bar.y, bar.width, bar.height);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    glDisable(GL_SCISSOR_TEST);
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, frameBuffer);
    glBlitFramebufferEXT(0, 0, kViewWidth, kViewHeight, fit.x, fit.y, fit.x + fit.width, fit.y + fit.height,
                         GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}
