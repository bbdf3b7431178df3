// The level's ground (rebuilt when the level changes), the animated water and the light.
#include <GL/glew.h>
#include <GL/freeglut.h>

#include <iostream>

#include "engine/clock.h"
#include "render/rendertask.h"
#include "world/gameworld.h"

namespace {

constexpr int kDisplayListsToggle = 9;
constexpr int kFloorSlot = 4;
constexpr int kLevelCount = 5;
constexpr const char* kHeightFields[kLevelCount] = {
    "select.map.raw", "level1.map.raw", "level2.map.raw", "level3.map.raw", "level4.map.raw",
};
constexpr float kWaterHeight = 0.5f;
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
        glDeleteLists(terrainList, 1);
    if (terrainDepthList != 0)
        glDeleteLists(terrainDepthList, 1);
    terrainList = 0;
    terrainDepthList = 0;
    ReadHeightField(level);
    terrain.BuildQuads();
    geometryLoaded = true;
}

void CRenderTask::DrawTerrain()
{
    glEnable(GL_LIGHTING);
    glPushMatrix();
    LoadLevelGeometry();
    if (terrainList == 0) {
        terrainList = glGenLists(1);
        glNewList(terrainList, GL_COMPILE);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures[kFloorSlot].glName);
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
        glBegin(GL_QUADS);
        for (int r = 0; r < TerrainGeometry::kQuads; ++r) {
            for (int c = 0; c < TerrainGeometry::kQuads; ++c) {
                const TerrainQuad& q = terrain.Quad(r, c);
                glNormal3fv(q.normal);
                for (const float* corner : q.corners)
                    glVertex3fv(corner);
            }
        }
        glEnd();
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        glDisable(GL_TEXTURE_2D);
        glEndList();
    }
    glCallList(terrainList);
    glPopMatrix();
}

void CRenderTask::DrawTerrainDepth()
{
    // The same corners as the ground's list, so the same depth, without the shading:
    // no light, no floor, no shadow lookup (the water mask drawn next turns that on again).
    const bool lit = glIsEnabled(GL_LIGHTING) == GL_TRUE;
    glDisable(GL_LIGHTING);
    glActiveTexture(GL_TEXTURE1);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    LoadLevelGeometry();
    if (terrainDepthList == 0) {
        terrainDepthList = glGenLists(1);
        glNewList(terrainDepthList, GL_COMPILE);
        glBegin(GL_QUADS);
        for (int r = 0; r < TerrainGeometry::kQuads; ++r) {
            for (int c = 0; c < TerrainGeometry::kQuads; ++c) {
                for (const float* corner : terrain.Quad(r, c).corners)
                    glVertex3fv(corner);
            }
        }
        glEnd();
        glEndList();
    }
    glCallList(terrainDepthList);
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
    const uint32_t frame = (CClock::GetTicks() / kWaterFrameMs) % 4;
    glBindTexture(GL_TEXTURE_2D, textures[frame].glName);
    if (GameWorld::GetSingleton().GetToggle(kDisplayListsToggle)) {
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
