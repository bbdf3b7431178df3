// The MD2 reader on files written here: decoding, animation list, normals, broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "support/testutil.h"
#include "tests/world/md2writer.h"
#include "world/md2loader.h"
#include "world/md2model.h"

using namespace md2test;

namespace {

// Writes Resources/Models/<name> in a fresh directory, loads it and returns the console.
std::string WriteAndLoad(const std::string& bytes, MD2Model& model, bool want, const std::string& name = "test.md2")
{
    velqtest::TempDir dir;
    dir.Write("Resources/Models/" + name, bytes);
    velqtest::CaptureCout capture;
    EXPECT_EQ(MD2Loader().Load(model, name), want);
    return capture.Text();
}

void ExpectEmpty(const MD2Model& model)
{
    EXPECT_TRUE(!model.loaded && model.frameCount == 0 && model.frames.empty() && model.animations.empty());
}

std::string GoodFile() { return Build(Tetrahedron({"stand01", "stand02"})); }

}  // namespace

TEST(MD2Reader, ReadsBackVerticesTextureCoordinatesAndTrianglesAsWritten)
{
    File f = Tetrahedron({"stand01", "stand02"});
    f.frames[1].scale[0] = 0.5f;
    f.frames[1].translate[1] = 3.0f;
    MD2Model model;
    EXPECT_EQ(WriteAndLoad(Build(f), model, true), "");
    ASSERT_TRUE(model.loaded && model.frames.size() == 2u);
    const MD2Frame& first = *model.frames[0];
    const MD2Frame& second = *model.frames[1];
    EXPECT_TRUE(model.frameCount == 2 && first.vertexCount == 4 && first.triangleCount == 4 && first.texCoordCount == 3);
    EXPECT_FLOAT_EQ(first.vertices[2 * 3 + 1], -20.0f) << "y is mirrored";
    EXPECT_FLOAT_EQ(second.vertices[1 * 3 + 0], 10.0f);
    EXPECT_FLOAT_EQ(second.vertices[2 * 3 + 1], -23.0f);
    EXPECT_FLOAT_EQ(second.vertices[3 * 3 + 2], 21.0f);
    ASSERT_EQ(first.texCoords.size(), 6u);
    EXPECT_TRUE(first.texCoords[2] == 0.5 && first.texCoords[3] == 0.5 && first.texCoords[5] == 0.0) << "on 64 x 32";
    EXPECT_EQ(first.triangles, (std::vector<int32_t>{0, 1, 2, 0, 1, 2, 0, 3, 1, 0, 1, 2, 1, 3, 2, 0, 1, 2, 2, 3, 0, 0, 1, 2}));
    EXPECT_TRUE(second.triangles.empty() && second.texCoords.empty()) << "only the first frame carries the mesh";
    EXPECT_EQ(second.normals.size(), 12u);
}

TEST(MD2Reader, FrameNamesGiveTheAnimationsTheLastEndingOnTheLastFrame)
{
    std::vector<std::string> standAndRun;
    AddNumbered(standAndRun, "stand", 40);
    AddNumbered(standAndRun, "run", 6);
    struct Want { const char* name; int32_t start, end; };
    const struct { std::vector<std::string> names; std::vector<Want> animations; std::string console; } cases[] = {
        {standAndRun, {{"stand", 0, 40}, {"run", 40, 45}}, ""},
        // Only the last two characters number a frame: attack100 is attack1 number 0.
        {{"stand01", "stand02", "attack100", "attack101", "attack102", "pain1", "pain2"},
         {{"stand", 0, 2}, {"attack1", 1, 5}, {"pain", 5, 6}}, ""},
        // Starts outside the frames (-1 for no number, 91 far past) are kept inside with a line.
        {{"idle", "idle", "run90", "run91", "end01"}, {},
         "MD2 animation idle starts at frame -1, outside 0 ... 2"},
    };
    for (const auto& c : cases) {
        MD2Model model;
        const std::string console = WriteAndLoad(Build(Tetrahedron(c.names)), model, true);
        if (c.console.empty()) {
            EXPECT_EQ(console, "");
        } else {
            EXPECT_NE(console.find(c.console), std::string::npos) << console;
            EXPECT_NE(console.find("MD2 animation run starts at frame 91"), std::string::npos) << console;
        }
        EXPECT_EQ(model.frameCount, int32_t(c.names.size()));
        ASSERT_EQ(model.animationCount, int32_t(model.animations.size()));
        if (!c.console.empty()) {
            for (const MD2Animation& anim : model.animations)
                EXPECT_TRUE(anim.start >= 0 && anim.start <= anim.end && anim.end < model.frameCount) << anim.name;
            continue;
        }
        ASSERT_EQ(model.animations.size(), c.animations.size());
        for (size_t i = 0; i < c.animations.size(); ++i) {
            SCOPED_TRACE(c.animations[i].name);
            EXPECT_STREQ(model.animations[i].name, c.animations[i].name);
            EXPECT_EQ(model.animations[i].start, c.animations[i].start);
            EXPECT_EQ(model.animations[i].end, c.animations[i].end);
        }
    }
}

TEST(MD2Reader, NormalsAreTheNormalisedMeanOfTheFaceNormalsTurnedOver)
{
    // Two right triangles meeting at a right angle along the x axis, and a vertex in neither.
    File f;
    f.texCoords = {{0, 0}};
    f.triangles = {{{0, 1, 2, 0, 0, 0}}, {{0, 3, 1, 0, 0, 0}}};
    Frame fr;
    fr.name = "still01";
    fr.vertices = {{{0, 0, 0}}, {{1, 0, 0}}, {{0, 1, 0}}, {{0, 0, 1}}, {{9, 9, 9}}};
    f.frames = {fr};
    MD2Model model;
    WriteAndLoad(Build(f), model, true);
    const std::vector<float>& n = model.frames[0]->normals;
    ASSERT_EQ(n.size(), 15u);
    const float h = std::sqrt(0.5f);
    const float want[4][3] = {{0, h, -h}, {0, h, -h}, {0, 0, -1}, {0, 1, 0}};
    for (int v = 0; v < 4; ++v)
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(n[v * 3 + a], want[v][a], 1e-6) << "vertex " << v;
    EXPECT_FALSE(std::isnan(n[4 * 3])) << "vertex 4 is in no triangle and has no direction";
}

TEST(MD2Reader, MissingFileWrongVersionAndAReusedLoader)
{
    MD2Model model;
    {
        velqtest::CaptureCout capture;
        EXPECT_FALSE(MD2Loader().Load(model, "nothere.md2"));
        EXPECT_EQ(capture.Text(), "Unable to open MD2 File\n");
    }
    ExpectEmpty(model);
    std::string bytes = GoodFile();
    SetField(bytes, kVersion, 7);
    EXPECT_EQ(WriteAndLoad(bytes, model, false), "MD2 Model has a wrong version number\n");
    ExpectEmpty(model);

    velqtest::TempDir dir;
    SetField(bytes, kVersion, 8);
    SetField(bytes, kNumFrames, 0);
    dir.Write("Resources/Models/bad.md2", bytes);
    dir.Write("Resources/Models/good.md2", GoodFile());
    MD2Loader loader;
    velqtest::CaptureCout capture;
    EXPECT_FALSE(loader.Load(model, "bad.md2"));
    EXPECT_TRUE(loader.Load(model, "good.md2")) << "usable again after a rejected file";
    EXPECT_TRUE(model.frameCount == 2 && model.frames[0]->triangleCount == 4);
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
    std::vector<std::pair<std::string, std::string>> cases = {
        {good.substr(0, 40), "too short for the 68-byte header"},
        {good.substr(0, good.size() - 1), "frame block"},
        {edited([](File& f) { f.triangles[2][1] = 4; }), "triangle 2 points past the vertex list"},
        {edited([](File& f) { f.triangles[3][5] = 65535; }), "triangle 3 points past the texture-coordinate list"},
        {with(kOffsetTriangles, -12), "triangle block at offset -12"},
        {with(kOffsetTexCoords, int32_t(good.size())), "texture-coordinate block"},
        {with(kOffsetFrames, INT32_MAX - 8), "frame block"},  // offset + count * size wraps to a small number
        {with(kFrameSize, INT32_MAX), "frame block"},
        {with(kFrameSize, 40 + 4 * 3), "frame size 52 is too small for 4 vertices"},
        {with(kSkinHeight, 0), "skin size 64 x 0 is not positive"},
        {edited([](File& f) { f.frames[1].name = "sixteencharacter"; }), "the name of frame 1 has no terminating zero"},
        {edited([](File& f) { f.skins[0] = std::string(64, 's'); }), "skin name 0 has no terminating zero"},
        {edited([](File& f) { f.frames[0].scale[1] = std::nanf(""); }),
         "frame 0 has a scale or translation that is not a number"},
    };
    for (Field field : {kNumSkins, kNumVertices, kNumTexCoords, kNumTriangles, kNumFrames}) {
        if (field != kNumSkins)
            cases.push_back({with(field, 0), "count 0 is outside"});
        cases.push_back({with(field, -1), "count -1 is outside"});
        cases.push_back({with(field, 1 << 30), "count 1073741824 is outside"});
    }
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        MD2Model model;  // held something before: emptied again
        model.loaded = true;
        model.frameCount = 3;
        const std::string console = WriteAndLoad(bytes, model, false, "broken.md2");
        ExpectEmpty(model);
        EXPECT_EQ(console.find("MD2 File broken.md2 rejected: "), 0u) << console;
        EXPECT_NE(console.find(reason), std::string::npos) << console;
        EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
    }
}
