// The MD2 reader on files written here: decoding, animation list, normals, broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <tuple>

#include "support/testutil.h"
#include "tests/world/md2writer.h"
#include "world/md2loader.h"
#include "world/md2model.h"

using namespace md2test;

namespace {

// Writes the file as Resources/Models/<name> in the test's directory and loads it.
bool WriteAndLoad(const velqtest::TempDir& dir, const std::string& bytes, MD2Model& model,
                  std::string& console, const std::string& name = "test.md2")
{
    dir.Write("Resources/Models/" + name, bytes);
    MD2Loader loader;
    velqtest::CaptureCout capture;
    const bool ok = loader.Load(model, name);
    console = capture.Text();
    return ok;
}

void ExpectEmpty(const MD2Model& model)
{
    EXPECT_FALSE(model.loaded);
    EXPECT_EQ(model.frameCount, 0);
    EXPECT_TRUE(model.frames.empty());
    EXPECT_TRUE(model.animations.empty());
}

// Loads a broken file into a model that held something before, and expects the
// empty-model fallback with one line that names the file and the fault.
void ExpectRejected(const std::string& bytes, const std::string& reason)
{
    velqtest::TempDir dir;
    MD2Model model;
    model.loaded = true;
    model.frameCount = 3;
    std::string console;
    EXPECT_FALSE(WriteAndLoad(dir, bytes, model, console, "broken.md2"));
    ExpectEmpty(model);
    EXPECT_NE(console.find("MD2 File broken.md2 rejected: "), std::string::npos) << console;
    EXPECT_NE(console.find(reason), std::string::npos) << console;
    EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
}

std::string GoodFile()
{
    return Build(Tetrahedron({"stand01", "stand02"}));
}

}  // namespace

TEST(MD2Reader, ReadsBackVerticesTextureCoordinatesAndTrianglesAsWritten)
{
    velqtest::TempDir dir;
    File f = Tetrahedron({"stand01", "stand02"});
    f.frames[1].scale[0] = 0.5f;
    f.frames[1].translate[1] = 3.0f;
    MD2Model model;
    std::string console;
    ASSERT_TRUE(WriteAndLoad(dir, Build(f), model, console));
    EXPECT_EQ(console, "");

    EXPECT_TRUE(model.loaded);
    ASSERT_EQ(model.frames.size(), 2u);
    const MD2Frame& first = *model.frames[0];
    const MD2Frame& second = *model.frames[1];
    EXPECT_EQ(std::tie(model.frameCount, first.vertexCount, first.triangleCount, first.texCoordCount),
              std::make_tuple(2, 4, 4, 3));

    // Vertex 2 is (0, 20, 0) in the file: y is mirrored.
    EXPECT_FLOAT_EQ(first.vertices[2 * 3 + 1], -20.0f);
    // Frame 2: x = 20 * 0.5, y = -(20 + 3), z = 20 + 1.
    EXPECT_FLOAT_EQ(second.vertices[1 * 3 + 0], 10.0f);
    EXPECT_FLOAT_EQ(second.vertices[2 * 3 + 1], -23.0f);
    EXPECT_FLOAT_EQ(second.vertices[3 * 3 + 2], 21.0f);

    // Texture coordinate (32, 16) on a 64 x 32 skin.
    ASSERT_EQ(first.texCoords.size(), 6u);
    EXPECT_DOUBLE_EQ(first.texCoords[2], 0.5);
    EXPECT_DOUBLE_EQ(first.texCoords[3], 0.5);
    EXPECT_DOUBLE_EQ(first.texCoords[5], 0.0);

    const std::vector<int32_t> triangles = {0, 1, 2, 0, 1, 2, 0, 3, 1, 0, 1, 2,
                                            1, 3, 2, 0, 1, 2, 2, 3, 0, 0, 1, 2};
    EXPECT_EQ(first.triangles, triangles);
    // Only the first frame carries the mesh; the others are drawn with it.
    EXPECT_TRUE(second.triangles.empty());
    EXPECT_TRUE(second.texCoords.empty());
    EXPECT_EQ(second.normals.size(), 12u);
}

TEST(MD2Reader, FrameNamesGiveTheAnimationsTheLastEndingOnTheLastFrame)
{
    std::vector<std::string> standAndRun;
    AddNumbered(standAndRun, "stand", 40);
    AddNumbered(standAndRun, "run", 6);
    struct Want {
        const char* name;
        int32_t start, end;
    };
    const struct {
        std::vector<std::string> names;
        std::vector<Want> animations;
    } cases[] = {
        {standAndRun, {{"stand", 0, 40}, {"run", 40, 45}}},
        // Only digits in the last two characters number a frame: attack100 is base
        // attack1 with number 0, so its animation starts one frame early.
        {{"stand01", "stand02", "attack100", "attack101", "attack102", "pain1", "pain2"},
         {{"stand", 0, 2}, {"attack1", 1, 5}, {"pain", 5, 6}}},
    };
    for (const auto& c : cases) {
        velqtest::TempDir dir;
        MD2Model model;
        std::string console;
        ASSERT_TRUE(WriteAndLoad(dir, Build(Tetrahedron(c.names)), model, console));
        EXPECT_EQ(console, "");
        EXPECT_EQ(model.frameCount, int32_t(c.names.size()));
        ASSERT_EQ(model.animationCount, int32_t(c.animations.size()));
        ASSERT_EQ(model.animations.size(), c.animations.size());
        for (size_t i = 0; i < c.animations.size(); ++i) {
            EXPECT_STREQ(model.animations[i].name, c.animations[i].name);
            EXPECT_EQ(model.animations[i].start, c.animations[i].start) << c.animations[i].name;
            EXPECT_EQ(model.animations[i].end, c.animations[i].end) << c.animations[i].name;
        }
    }
}

TEST(MD2Reader, AnimationStartOutsideTheFramesIsKeptInsideWithALine)
{
    velqtest::TempDir dir;
    // A first frame without a number would start its animation at -1; run90 far past
    // the end of the frames.
    const std::vector<std::string> names = {"idle", "idle", "run90", "run91", "end01"};
    MD2Model model;
    std::string console;
    ASSERT_TRUE(WriteAndLoad(dir, Build(Tetrahedron(names)), model, console));
    EXPECT_NE(console.find("MD2 animation idle starts at frame -1, outside 0 ... 2"),
              std::string::npos)
        << console;
    EXPECT_NE(console.find("MD2 animation run starts at frame 91"), std::string::npos)
        << console;
    for (const MD2Animation& anim : model.animations) {
        EXPECT_GE(anim.start, 0);
        EXPECT_LE(anim.start, anim.end);
        EXPECT_LT(anim.end, model.frameCount);
    }
}

TEST(MD2Reader, NormalsAreTheNormalisedMeanOfTheFaceNormalsTurnedOver)
{
    velqtest::TempDir dir;
    // Two right triangles meeting at a right angle along the x axis: one in the
    // ground plane, one upright.
    File f;
    f.texCoords = {{0, 0}};
    f.triangles = {{{0, 1, 2, 0, 0, 0}}, {{0, 3, 1, 0, 0, 0}}};
    Frame fr;
    fr.name = "still01";
    fr.vertices = {{{0, 0, 0}}, {{1, 0, 0}}, {{0, 1, 0}}, {{0, 0, 1}}, {{9, 9, 9}}};
    f.frames = {fr};
    MD2Model model;
    std::string console;
    ASSERT_TRUE(WriteAndLoad(dir, Build(f), model, console));
    const std::vector<float>& n = model.frames[0]->normals;
    ASSERT_EQ(n.size(), 15u);

    // Decoded (y mirrored): a = 0, b = (1, 0, 0), c = (0, -1, 0). (a - c) x (c - b) =
    // (0, 0, 1), turned over: (0, 0, -1).
    // Second face: a = 0, b = (0, 0, 1), c = (1, 0, 0): (a - c) x (c - b) = (0, -1, 0),
    // turned over: (0, 1, 0). Vertices 0 and 1 touch both faces: the mean, scaled to
    // unit length.
    const float h = std::sqrt(0.5f);
    const float want[4][3] = {{0, h, -h}, {0, h, -h}, {0, 0, -1}, {0, 1, 0}};
    for (int v = 0; v < 4; ++v)
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(n[v * 3 + a], want[v][a], 1e-6) << "vertex " << v;
    EXPECT_FALSE(std::isnan(n[4 * 3])) << "vertex 4 is in no triangle and has no direction";
}

TEST(MD2Reader, MissingFileOrWrongVersionIsReportedAndLeavesTheModelEmpty)
{
    velqtest::TempDir dir;
    MD2Model model;
    std::string console;
    {
        velqtest::CaptureCout capture;
        EXPECT_FALSE(MD2Loader().Load(model, "nothere.md2"));
        EXPECT_EQ(capture.Text(), "Unable to open MD2 File\n");
    }
    ExpectEmpty(model);
    std::string bytes = GoodFile();
    SetField(bytes, kVersion, 7);
    EXPECT_FALSE(WriteAndLoad(dir, bytes, model, console));
    EXPECT_EQ(console, "MD2 Model has a wrong version number\n");
    ExpectEmpty(model);
}

TEST(MD2Reader, LoaderCanBeUsedAgainAfterARejectedFile)
{
    velqtest::TempDir dir;
    std::string bad = GoodFile();
    SetField(bad, kNumFrames, 0);
    dir.Write("Resources/Models/bad.md2", bad);
    dir.Write("Resources/Models/good.md2", GoodFile());
    MD2Loader loader;
    MD2Model model;
    velqtest::CaptureCout capture;
    EXPECT_FALSE(loader.Load(model, "bad.md2"));
    EXPECT_TRUE(loader.Load(model, "good.md2"));
    EXPECT_EQ(model.frameCount, 2);
    EXPECT_EQ(model.frames[0]->triangleCount, 4);
}

TEST(MD2Reader, EveryWayAFileCanBeBrokenIsRejectedWithItsReason)
{
    const auto with = [](Field field, int32_t value) {
        std::string bytes = GoodFile();
        SetField(bytes, field, value);
        return bytes;
    };
    const auto edited = [](auto edit) {
        File f = Tetrahedron({"stand01", "stand02"});
        edit(f);
        return Build(f);
    };
    const std::string good = GoodFile();
    struct Case {
        std::string bytes;
        std::string reason;
    } cases[] = {
        {good.substr(0, 40), "too short for the 68-byte header"},
        {good.substr(0, good.size() - 1), "frame block"},
        {edited([](File& f) { f.triangles[2][1] = 4; }), "triangle 2 points past the vertex list"},
        {edited([](File& f) { f.triangles[3][5] = 65535; }), "triangle 3 points past the texture-coordinate list"},
        {with(kOffsetTriangles, -12), "triangle block at offset -12"},
        {with(kOffsetTexCoords, int32_t(good.size())), "texture-coordinate block"},
        // offset + count * size overflows 32 bits to a small number.
        {with(kOffsetFrames, INT32_MAX - 8), "frame block"},
        {with(kFrameSize, INT32_MAX), "frame block"},
        {with(kFrameSize, 40 + 4 * 3), "frame size 52 is too small for 4 vertices"},
        {with(kSkinHeight, 0), "skin size 64 x 0 is not positive"},
        {edited([](File& f) { f.frames[1].name = "sixteencharacter"; }), "the name of frame 1 has no terminating zero"},
        {edited([](File& f) { f.skins[0] = std::string(64, 's'); }), "skin name 0 has no terminating zero"},
        {edited([](File& f) { f.frames[0].scale[1] = std::nanf(""); }),
         "frame 0 has a scale or translation that is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        ExpectRejected(c.bytes, c.reason);
    }
    for (Field field : {kNumSkins, kNumVertices, kNumTexCoords, kNumTriangles, kNumFrames}) {
        SCOPED_TRACE(field);
        if (field != kNumSkins)
            ExpectRejected(with(field, 0), "count 0 is outside");
        ExpectRejected(with(field, -1), "count -1 is outside");
        ExpectRejected(with(field, 1 << 30), "count 1073741824 is outside");
    }
}
