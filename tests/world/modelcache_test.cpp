// The model cache: one read per file, shared frames, the failed-load fallback, the wall cube.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "support/testutil.h"
#include "tests/world/md2writer.h"
#include "world/md2model.h"
#include "world/modelcache.h"

using namespace md2test;

TEST(ModelCache, EachFileIsReadOnceAndCopiesShareFramesButAnimateApart)
{
    velqtest::TempDir dir;
    std::vector<std::string> names;
    AddNumbered(names, "stand", 4);
    AddNumbered(names, "run", 3);
    dir.Write("Resources/Models/male.md2", Build(Tetrahedron(names)));
    ModelCache cache;
    MD2Model a, b, c;
    EXPECT_TRUE(cache.GetModel(a, "male.md2"));
    // Gone from disk: the second and third copies must come from the cache.
    std::filesystem::remove(dir.Path() / "Resources/Models/male.md2");
    velqtest::CaptureCout capture;
    EXPECT_TRUE(cache.GetModel(b, "male.md2"));
    EXPECT_TRUE(cache.GetModel(c, "male.md2"));
    EXPECT_EQ(capture.Text(), "");

    ASSERT_TRUE(a.frames.size() == 7u && b.frames.size() == 7u);
    for (size_t i = 0; i < a.frames.size(); ++i)
        EXPECT_TRUE(a.frames[i].get() == b.frames[i].get() && a.frames[i].get() == c.frames[i].get()) << i;
    // Tetrahedron edges of 20 model units, y mirrored: one world unit each way.
    EXPECT_TRUE(b.animations.size() == 2u && b.boxMin[1] == -1.0f && b.boxMax[0] == 1.0f && b.modelHeight == 1.0 &&
                b.hull.vertexCount == 8);

    b.SetAnimation(1, 0);
    int32_t next = 0;
    float t = 0.0f;
    b.AdvanceAnimation(b.frameDuration, next, t);
    MD2Model d;
    cache.GetModel(d, "male.md2");
    EXPECT_TRUE(a.currentAnimation == 0 && a.currentFrame == 0 && d.currentAnimation == 0 && d.currentFrame == 0);
    EXPECT_TRUE(b.currentAnimation == 1 && b.currentFrame == 5);
}

TEST(ModelCache, AFileThatFailsIsCachedAsAnEmptyModel)
{
    velqtest::TempDir dir;
    ModelCache cache;
    MD2Model first, second;
    {
        velqtest::CaptureCout capture;
        EXPECT_TRUE(cache.GetModel(first, "turret.md2"));
        EXPECT_EQ(capture.Text(), "Unable to open MD2 File\n");
    }
    // Written later: not read, the failure stays cached.
    dir.Write("Resources/Models/turret.md2", Build(Tetrahedron({"base01"})));
    velqtest::CaptureCout capture;
    EXPECT_TRUE(cache.GetModel(second, "turret.md2"));
    EXPECT_EQ(capture.Text(), "");
    for (const MD2Model* m : {&first, &second})
        EXPECT_TRUE(!m->loaded && m->frameCount == 0 && m->frames.empty() && m->boundingRadius == 0.0);
}

TEST(WallCube, IsOneWorldUnitAroundTheOriginSharedAndEveryTriangleLiesOnItsCoveredFace)
{
    velqtest::TempDir dir;
    ModelCache cache;
    MD2Model wall, other;
    {
        velqtest::CaptureCout capture;
        EXPECT_TRUE(cache.GetModel(wall, ModelCache::kWallModel));
        EXPECT_EQ(capture.Text(), "");
    }
    cache.GetModel(other, ModelCache::kWallModel);
    EXPECT_TRUE(wall.loaded && wall.animations.empty());
    for (int a = 0; a < 3; ++a)
        EXPECT_TRUE(wall.boxMin[a] == -0.5f && wall.boxMax[a] == 0.5f) << a;
    EXPECT_DOUBLE_EQ(wall.boundingRadius, std::sqrt(2.0) / 2.0);
    ASSERT_EQ(wall.frames.size(), 1u);
    EXPECT_EQ(other.frames[0].get(), wall.frames[0].get());
    const MD2Frame& frame = *wall.frames[0];
    ASSERT_TRUE(frame.vertexCount == 24 && frame.triangleCount == 12 && frame.texCoordCount == 4);
    ASSERT_TRUE(frame.vertices.size() == 72u && frame.normals.size() == 72u && frame.triangles.size() == 72u);
    EXPECT_EQ(frame.texCoords, (std::vector<double>{0, 0, 1, 0, 1, 1, 0, 1}));

    int facesSeen[3][2] = {};
    for (int tri = 0; tri < 12; ++tri) {
        const int32_t* idx = &frame.triangles[tri * 6];
        // The two triangles of a face share its four vertices and one flat normal,
        // which points out of the cube through that face.
        const float* n = &frame.normals[idx[0] * 3];
        int axis = 0;
        while (axis < 3 && n[axis] == 0.0f)
            ++axis;
        ASSERT_LT(axis, 3);
        for (int c = 0; c < 3; ++c) {
            ASSERT_TRUE(idx[c] >= 0 && idx[c] < 24 && idx[3 + c] >= 0 && idx[3 + c] < 4) << "triangle " << tri;
            EXPECT_EQ(idx[c] / 4, tri / 2) << "triangle " << tri;
            EXPECT_FLOAT_EQ(frame.vertices[idx[c] * 3 + axis], 10.0f * n[axis]) << "triangle " << tri;
            EXPECT_EQ(frame.normals[idx[c] * 3 + axis], n[axis]);
        }
        ++facesSeen[axis][n[axis] > 0];
    }
    for (auto& axis : facesSeen)
        for (int count : axis)
            EXPECT_EQ(count, 2);
}
