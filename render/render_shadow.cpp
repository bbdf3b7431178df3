// SPDX-License-Identifier: GPL-3.0-or-later
// The shadow map: the light's depth of the scene, with what stands still drawn once
// and kept while it stays the same.
#include <GL/glew.h>

#include "engine/statehasher.h"
#include "render/framebuffer.h"
#include "render/rendertask.h"
#include "world/gameworld.h"
#include "world/vob.h"

namespace {

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

void ColourMask(bool on)
{
    const GLboolean b = on ? GL_TRUE : GL_FALSE;
    glColorMask(b, b, b, b);
}

// The ground, walls and towers never move once placed.
bool StandsStill(VOBKind kind)
{
    return kind == VOBKind::Ground || kind == VOBKind::Wall || kind == VOBKind::Tower;
}

}  // namespace

void CRenderTask::MakeShadowMap()
{
    glActiveTexture(GL_TEXTURE1);
    shadowMapTexture = NewDepthTexture();
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
    if (GameWorld::GetSingleton().IsOn(Toggle::Shadowmap))
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
    if (!CanDrawOffscreen(false))
        return false;
    // The kept depth has the map's own format, so it is copied back bit for bit.
    glActiveTexture(GL_TEXTURE1);
    stillDepth = NewDepthTexture();
    glBindTexture(GL_TEXTURE_2D, shadowMapTexture);
    lightFrameBuffer = MakeFramebuffer({{GL_DEPTH_ATTACHMENT_EXT, shadowMapTexture, true, true}});
    stillFrameBuffer = MakeFramebuffer({{GL_DEPTH_ATTACHMENT_EXT, stillDepth, true}});
    if (lightFrameBuffer == 0 || stillFrameBuffer == 0) {
        // One without the other is of no use: the map is then drawn in the frame's corner.
        GLuint names[2] = {lightFrameBuffer, stillFrameBuffer};
        glDeleteFramebuffersEXT(2, names);
        if (stillFrameBuffer != 0)
            glDeleteTextures(1, &stillDepth);
        lightFrameBuffer = stillFrameBuffer = stillDepth = 0;
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
    return lightFrameBuffer != 0;
}

uint64_t CRenderTask::StillLightKey()
{
    GameWorld& world = GameWorld::GetSingleton();
    if (world.IsOn(Toggle::Scenegraph) || world.IsOn(Toggle::Boxes) || world.IsOn(Toggle::Wireframe))
        return 0;
    // The level, the ground's build and each still object's kind, place and model.
    CStateHasher hash;
    hash.I32(world.GetLevel());
    hash.U32(terrainBuilds);
    world.GetAllObjects(drawList);
    for (const CMMPointer<VOB>& handle : drawList) {
        VOB& o = *handle;
        if (!StandsStill(o.GetKind()))
            continue;
        hash.I32(static_cast<int32_t>(o.GetKind()));
        hash.F32(o.GetX());
        hash.F32(o.GetY());
        const MD2Model& model = o.GetModel();
        const MD2Frame* mesh = model.frames.empty() ? nullptr : model.frames[0].get();
        hash.Bytes(&mesh, sizeof mesh);
    }
    drawList.clear();
    return hash.Value() == 0 ? 1 : hash.Value();
}
