// SPDX-License-Identifier: GPL-3.0-or-later
// The level's ground (rebuilt when the level changes), the animated water and the light.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "engine/clock.h"
#include "render/rendertask.h"
#include "world/gameworld.h"

namespace {

constexpr int kLevelCount = 5;
constexpr const char* kHeightFields[kLevelCount] = {
    "select.map.raw", "level1.map.raw", "level2.map.raw", "level3.map.raw", "level4.map.raw",
};
constexpr int kWaterCell = 4;         // world units per water cell
constexpr uint32_t kWaterFrameMs = 256;
constexpr GLfloat kLightPosition[4] = {32.0f, 32.0f, 30.0f, 1.0f};

void Grey(float k, GLfloat out[4])
{
    for (int i = 0; i < 4; ++i)
        out[i] = k;
}

}  // namespace

void CRenderTask::ReadHeightField(int32_t level)
{
    // A level without its height field stands on flat ground rather than on the
    // leftovers of a partly read file or of the last level.
    if (level < 0 || level >= kLevelCount) {
        terrain.SetFlat();
        return;
    }
    std::cout << (level == 0 ? "LVL LOAD LVL " : "LVL CHANGE TO LVL ") << level << "\n";
    terrain.ReadHeightField(kHeightFields[level], heightBytes);
}

void CRenderTask::LoadLevelGeometry()
{
    const int32_t level = GameWorld::GetSingleton().GetLevel();
    if (geometryLoaded && level == loadedLevel)
        return;
    loadedLevel = level;
    // The next terrain draw compiles the lists anew.
    if (terrainList != 0)
        glDeleteLists(terrainList, TerrainGeometry::kChunks);
    if (terrainDepthList != 0)
        glDeleteLists(terrainDepthList, TerrainGeometry::kChunks);
    terrainList = 0;
    terrainDepthList = 0;
    ReadHeightField(level);
    terrain.BuildQuads();
    ++terrainBuilds;
    geometryLoaded = true;
}

void CRenderTask::BoundWaterSeen(float eyeHeight)
{
    GLfloat projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    LoadLevelGeometry();
    // Seen from above all of the ground, the water is seen only where nothing of the
    // ground stands over it: in a chunk that reaches below it, or beside the ground's
    // last row and column. From lower, a hill's inside may let it show anywhere.
    for (int k = 0; k < TerrainGeometry::kChunks; ++k) {
        if (!(eyeHeight > terrain.Chunk(k).hi[2]))
            return;
    }
    const float edge = static_cast<float>(TerrainGeometry::kQuads);
    const float strips[2][2][3] = {
        {{edge, 0.0f, kWaterHeight}, {worldExtent, worldExtent, kWaterHeight}},
        {{0.0f, edge, kWaterHeight}, {worldExtent, worldExtent, kWaterHeight}},
    };
    float box[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    bool any = false;
    auto cover = [&](const float lo[3], const float hi[3]) {
        if (view.BoxOutside(lo, hi))
            return true;
        float rect[4];
        if (!ViewVolume::ProjectBox(projection, modelview, lo, hi, rect))
            return false;
        for (int k = 0; k < 2; ++k) {
            box[k] = any ? std::min(box[k], rect[k]) : rect[k];
            box[k + 2] = any ? std::max(box[k + 2], rect[k + 2]) : rect[k + 2];
        }
        any = true;
        return true;
    };
    view.Set(projection, modelview);
    for (const auto& strip : strips) {
        if (!cover(strip[0], strip[1]))
            return;
    }
    for (int k = 0; k < TerrainGeometry::kChunks; ++k) {
        const TerrainChunk& chunk = terrain.Chunk(k);
        if (chunk.lo[2] > kWaterHeight)
            continue;
        const float lo[3] = {chunk.lo[0], chunk.lo[1], kWaterHeight};
        const float hi[3] = {chunk.hi[0], chunk.hi[1], kWaterHeight};
        if (!cover(lo, hi))
            return;
    }
    // Whole pixels round it, a pixel more on each side for the GL's rounding.
    const double x0 = std::floor(target.x + (box[0] * 0.5 + 0.5) * target.width) - 1;
    const double y0 = std::floor(target.y + (box[1] * 0.5 + 0.5) * target.height) - 1;
    const double x1 = std::ceil(target.x + (box[2] * 0.5 + 0.5) * target.width) + 1;
    const double y1 = std::ceil(target.y + (box[3] * 0.5 + 0.5) * target.height) + 1;
    auto clampX = [&](double v) { return static_cast<int>(std::clamp(v, 0.0 + target.x, 0.0 + target.x + target.width)); };
    auto clampY = [&](double v) { return static_cast<int>(std::clamp(v, 0.0 + target.y, 0.0 + target.y + target.height)); };
    waterSeenBox[0] = clampX(x0);
    waterSeenBox[1] = clampY(y0);
    waterSeenBox[2] = any ? clampX(x1) - waterSeenBox[0] : 0;
    waterSeenBox[3] = any ? clampY(y1) - waterSeenBox[1] : 0;
    waterSeenBounded = true;
}

void CRenderTask::CallTerrainChunks(uint32_t& lists, bool normals)
{
    LoadLevelGeometry();
    if (lists == 0) {
        // A list per chunk, its quads in the order the rows and columns run.
        lists = glGenLists(TerrainGeometry::kChunks);
        for (int k = 0; k < TerrainGeometry::kChunks; ++k) {
            const TerrainChunk& chunk = terrain.Chunk(k);
            glNewList(lists + k, GL_COMPILE);
            glBegin(GL_QUADS);
            for (int r = chunk.firstRow; r < chunk.firstRow + chunk.rows; ++r) {
                for (int c = chunk.firstColumn; c < chunk.firstColumn + chunk.columns; ++c) {
                    const TerrainQuad& q = terrain.Quad(r, c);
                    if (normals)
                        glNormal3fv(q.normal);
                    for (const float* corner : q.corners)
                        glVertex3fv(corner);
                }
            }
            glEnd();
            glEndList();
        }
    }
    // A chunk the pass cannot see would be clipped away whole.
    for (int k = 0; k < TerrainGeometry::kChunks; ++k) {
        const TerrainChunk& chunk = terrain.Chunk(k);
        if (!view.BoxOutside(chunk.lo, chunk.hi))
            glCallList(lists + k);
    }
}

void CRenderTask::DrawTerrain()
{
    glEnable(GL_LIGHTING);
    glPushMatrix();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, TextureName(TextureId::Floor));
    glEnable(GL_TEXTURE_2D);
    // The floor repeats every 32 units, its coordinates made from the positions.
    const GLfloat planeS[4] = {1.0f / 32.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat planeT[4] = {0.0f, 1.0f / 32.0f, 0.0f, 1.0f};
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, planeS);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_T, GL_OBJECT_PLANE, planeT);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    CallTerrainChunks(terrainList, true);
    // The normal stays the last quad's, as when the whole ground was drawn.
    glNormal3fv(terrain.Quad(TerrainGeometry::kQuads - 1, TerrainGeometry::kQuads - 1).normal);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

void CRenderTask::DrawTerrainDepth()
{
    // The same corners as the ground's lists, so the same depth, without the shading:
    // no light, no floor, no shadow lookup (the water mask drawn next turns that on again).
    const bool lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    glDisable(GL_LIGHTING);
    glActiveTexture(GL_TEXTURE1);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    LookFromCurrentMatrices();
    CallTerrainChunks(terrainDepthList, false);
    if (lit)
        glEnable(GL_LIGHTING);
}

void CRenderTask::DrawWaterGeometry(int sizeX, int sizeY)
{
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (int j = 0; j < sizeY / kWaterCell; ++j) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= sizeX / kWaterCell; ++i) {
            // Mirrored from cell to cell, so the frames tile without seams.
            glTexCoord2f(static_cast<float>(i % 2), 1.0f);
            glVertex3f(static_cast<float>(kWaterCell * i), static_cast<float>(kWaterCell * (j + 1)), kWaterHeight);
            glTexCoord2f(static_cast<float>(i % 2), 0.0f);
            glVertex3f(static_cast<float>(kWaterCell * i), static_cast<float>(kWaterCell * j), kWaterHeight);
        }
        glEnd();
    }
}

void CRenderTask::DrawWater(int sizeX, int sizeY)
{
    // No shadow lookup on the water.
    glActiveTexture(GL_TEXTURE1);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    // The frame binding stays outside the list, so the list animates too.
    const int frame = static_cast<int>((CClock::GetTicks() / kWaterFrameMs) % 4);
    glBindTexture(GL_TEXTURE_2D, textures[Slot(TextureId::Water0) + frame].glName);
    if (GameWorld::GetSingleton().IsOn(Toggle::Displaylists)) {
        if (waterList == 0) {
            waterList = glGenLists(1);
            glNewList(waterList, GL_COMPILE);
            DrawWaterGeometry(sizeX, sizeY);
            glEndList();
        }
        glCallList(waterList);
    } else {
        DrawWaterGeometry(sizeX, sizeY);
    }
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
}

void CRenderTask::SetupLight(bool dim)
{
    // Positioned under the modelview of the moment: the camera, or the mirrored view.
    glPushMatrix();
    glLightfv(GL_LIGHT1, GL_POSITION, kLightPosition);
    glTranslatef(kLightPosition[0], kLightPosition[1], kLightPosition[2]);
    glutWireCube(1.0);
    glPopMatrix();

    GLfloat specular[4], diffuse[4], ambient[4];
    Grey(dim ? 0.0f : 1.0f, specular);
    Grey(dim ? 0.2f : 1.0f, diffuse);
    Grey(0.2f, ambient);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
}
