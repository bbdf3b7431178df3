// SPDX-License-Identifier: GPL-3.0-or-later
// MD2 models on files written here: the reader and its rejections, animation stepping, and
// the cache that shares what it read and boxes it.
#include <climits>
#include <limits>

#include "support/testutil.h"
#include "world/md2loader.h"
#include "world/md2model.h"
#include "world/modelcache.h"

namespace {

using velqtest::CaptureCout;
using velqtest::CountOf;

// Header fields in file order.
enum Field { kIdent, kVersion, kSkinWidth, kSkinHeight, kFrameSize, kNumSkins, kNumVertices, kNumTexCoords,
             kNumTriangles, kNumGlCommands, kNumFrames, kOffsetSkins, kOffsetTexCoords, kOffsetTriangles, kOffsetFrames,
             kOffsetGlCommands, kOffsetEnd };

struct Frame {
    std::string name;
    float scale[3] = {1, 1, 1}, translate[3] = {0, 0, 0};
    std::vector<std::array<uint8_t, 4>> vertices;  // x, y, z and a normal index, which is ignored
};

struct File {
    std::vector<std::string> skins;
    std::vector<std::array<int16_t, 2>> texCoords;
    std::vector<std::array<uint16_t, 6>> triangles;  // 3 vertex, 3 texture-coordinate indices
    std::vector<Frame> frames;                       // all with the same vertex count
};

template <typename T>
void Put(std::string& out, const T& v)
{
    out.append(reinterpret_cast<const char*>(&v), sizeof(T));
}
template <typename T>
void Put(std::string& out, const std::vector<T>& v)
{
    out.append(reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T));
}

// A name in a zero-padded field.
void PutName(std::string& out, std::string name, size_t size)
{
    name.resize(size, '\0');
    out += name;
}

// The file laid out as header, skins, texture coordinates, triangles, frames, on a 64 x 32 skin.
std::string Build(const File& f)
{
    const auto count = [](const auto& list) { return static_cast<int32_t>(list.size()); };
    const int32_t numVertices = f.frames.empty() ? 0 : count(f.frames[0].vertices);
    const int32_t frameSize = 40 + 4 * numVertices, offSkins = 68;
    const int32_t offTex = offSkins + 64 * count(f.skins), offTri = offTex + 4 * count(f.texCoords);
    const int32_t offFrames = offTri + 12 * count(f.triangles), offEnd = offFrames + frameSize * count(f.frames);
    const int32_t header[17] = {0x32504449 /* "IDP2" */, 8, 64, 32, frameSize, count(f.skins), numVertices,
                                count(f.texCoords), count(f.triangles), 0, count(f.frames), offSkins, offTex, offTri,
                                offFrames, offEnd, offEnd};
    std::string out;
    Put(out, header);
    for (const std::string& s : f.skins)
        PutName(out, s, 64);
    Put(out, f.texCoords);
    Put(out, f.triangles);
    for (const Frame& fr : f.frames) {
        Put(out, fr.scale);
        Put(out, fr.translate);
        PutName(out, fr.name, 16);
        Put(out, fr.vertices);
    }
    return out;
}

void SetField(std::string& bytes, Field field, int32_t value)
{
    std::string v;
    Put(v, value);
    bytes.replace(size_t(field) * 4, 4, v);
}

// A tetrahedron of edge 20: four vertices, four triangles, three texture coordinates; one
// frame per name, each moved a little further up.
File Tetrahedron(const std::vector<std::string>& frameNames)
{
    File f;
    f.skins = {"skin.pcx"};
    f.texCoords = {{0, 0}, {32, 16}, {64, 32}};
    f.triangles = {{{0, 1, 2, 0, 1, 2}}, {{0, 3, 1, 0, 1, 2}}, {{1, 3, 2, 0, 1, 2}}, {{2, 3, 0, 0, 1, 2}}};
    for (size_t i = 0; i < frameNames.size(); ++i) {
        Frame fr;
        fr.name = frameNames[i];
        fr.translate[2] = static_cast<float>(i);
        fr.vertices = {{{0, 0, 0}}, {{20, 0, 0}}, {{0, 20, 0}}, {{0, 0, 20}}};
        f.frames.push_back(fr);
    }
    return f;
}

std::string GoodFile() { return Build(Tetrahedron({"stand01", "stand02"})); }

// Writes the file in a fresh directory, loads it and returns the console.
std::string WriteAndLoad(const std::string& bytes, MD2Model& model)
{
    velqtest::TempDir dir;
    dir.Write("Resources/Models/test.md2", bytes);
    CaptureCout capture;
    EXPECT_TRUE(MD2Loader().Load(model, "test.md2"));
    return capture.Text();
}

// A model of count frames with the given animations; frames are not drawn here.
MD2Model AnimatedModel(int32_t count, std::vector<std::array<int32_t, 2>> ranges)
{
    MD2Model model;
    model.frames.assign(size_t(count), std::make_shared<MD2Frame>());
    model.frameCount = count;
    model.loaded = true;
    for (const auto& r : ranges) {
        model.animations.emplace_back();
        model.animations.back().start = r[0];
        model.animations.back().end = r[1];
    }
    model.animationCount = static_cast<int32_t>(ranges.size());
    return model;
}

// Steps one whole frame duration and returns the frame it lands on.
int32_t StepFrame(MD2Model& model)
{
    int32_t next = 0;
    float t = 0.0f;
    model.AdvanceAnimation(model.frameDuration, next, t);
    return model.currentFrame;
}

}  // namespace

TEST(MD2Reader, ReadsBackVerticesTextureCoordinatesAndTrianglesAsWritten)
{
    File f = Tetrahedron({"stand01", "stand02"});
    f.frames[1].scale[0] = 0.5f;
    f.frames[1].translate[1] = 3.0f;
    MD2Model model;
    EXPECT_EQ(WriteAndLoad(Build(f), model), "");
    ASSERT_EQ(std::make_tuple(model.loaded, model.frames.size()), std::make_tuple(true, 2u));
    const MD2Frame &first = *model.frames[0], &second = *model.frames[1];
    EXPECT_EQ(std::tie(first.vertexCount, first.triangleCount, first.texCoordCount), std::make_tuple(4, 4, 3));
    EXPECT_FLOAT_EQ(second.vertices[1 * 3 + 0], 10.0f);
    EXPECT_FLOAT_EQ(second.vertices[2 * 3 + 1], -23.0f) << "y is mirrored";
    EXPECT_EQ(first.texCoords, (std::vector<double>{0, 1, 0.5, 0.5, 1, 0})) << "on 64 x 32, t turned over";
    EXPECT_EQ(first.triangles,
              (std::vector<int32_t>{0, 1, 2, 0, 1, 2, 0, 3, 1, 0, 1, 2, 1, 3, 2, 0, 1, 2, 2, 3, 0, 0, 1, 2}));
    EXPECT_EQ(std::make_tuple(second.triangles.size(), second.texCoords.size()), std::make_tuple(0u, 0u))
        << "only the first frame carries the mesh";
}

TEST(MD2Reader, FrameNamesGiveTheAnimationsTheLastEndingOnTheLastFrame)
{
    struct Want { const char* name; int32_t start, end; };
    const struct { std::vector<std::string> names; std::vector<Want> animations; std::string console; } cases[] = {
        // Only the last two characters number a frame: attack100 is attack1 number 0.
        {{"stand01", "stand02", "attack100", "attack101", "attack102", "pain1", "pain2"},
         {{"stand", 0, 2}, {"attack1", 1, 5}, {"pain", 5, 6}}, ""},
        // Starts outside the frames (-1 for no number, 91 far past) are kept inside with a line.
        {{"idle", "idle", "run90", "run91", "end01"}, {{"idle", 0, 2}, {"run", 4, 4}},
         "MD2 animation idle starts at frame -1, outside 0 ... 2\nMD2 animation run starts at frame 91, outside 0 ... 4\n"},
    };
    for (const auto& c : cases) {
        MD2Model model;
        EXPECT_EQ(WriteAndLoad(Build(Tetrahedron(c.names)), model), c.console);
        ASSERT_EQ(model.animations.size(), c.animations.size());
        EXPECT_EQ(model.animationCount, int32_t(model.animations.size()));
        for (size_t i = 0; i < c.animations.size(); ++i) {
            const MD2Animation& got = model.animations[i];
            const Want& want = c.animations[i];
            EXPECT_EQ(std::make_tuple(std::string(got.name), got.start, got.end),
                      std::make_tuple(std::string(want.name), want.start, want.end));
        }
    }
}

TEST(MD2Reader, ModelsWithoutTextureCoordinatesOrFramesOrWithNegativeGlCommandsAreLoadedWithAWord)
{
    File bare = Tetrahedron({"stand01"});
    bare.texCoords.clear();
    bare.triangles[0][5] = 7;  // no coordinates to point at: not read
    std::string untextured = Build(bare);
    SetField(untextured, kSkinHeight, 0);  // nothing to scale
    std::string boxOnly = Build(Tetrahedron({}));
    SetField(boxOnly, kNumVertices, 4);
    SetField(boxOnly, kFrameSize, 40 + 4 * 4);
    std::string negative = Build(Tetrahedron({"stand01"}));
    SetField(negative, kNumGlCommands, -1);
    const struct {
        const std::string* bytes;
        int frames;
        std::string console;
    } cases[] = {
        {&untextured, 1, "MD2 File test.md2: no texture coordinates: the model is drawn untextured\n"},
        {&boxOnly, 0, "MD2 File test.md2: no frames: the model is drawn as its box only\n"},
        {&negative, 1, "MD2 File test.md2: GL-command count -1 is negative\n"},
    };
    for (const auto& c : cases) {
        MD2Model model;
        EXPECT_EQ(WriteAndLoad(*c.bytes, model), c.console);
        ASSERT_EQ(std::make_tuple(model.loaded, model.frameCount, model.frames.size()),
                  std::make_tuple(true, c.frames, size_t(c.frames)));
        if (c.bytes == &untextured) {
            EXPECT_EQ(std::make_tuple(model.frames[0]->texCoordCount, model.frames[0]->texCoords.size()),
                      std::make_tuple(0, 0u));
        }
        model.ComputeBox();
        EXPECT_EQ(model.modelHeight, c.frames ? 1.0 : 0.0) << "a model without frames keeps a zero box";
    }
}

TEST(MD2Reader, NormalsAreTheNormalisedMeanOfTheFaceNormalsTurnedOver)
{
    // Two right triangles meeting at a right angle along the x axis, and a vertex in neither.
    File f;
    f.texCoords = {{0, 0}};
    f.triangles = {{{0, 1, 2, 0, 0, 0}}, {{0, 3, 1, 0, 0, 0}}};
    f.frames.resize(1);
    f.frames[0].name = "still01";
    f.frames[0].vertices = {{{0, 0, 0}}, {{1, 0, 0}}, {{0, 1, 0}}, {{0, 0, 1}}, {{9, 9, 9}}};
    MD2Model model;
    WriteAndLoad(Build(f), model);
    const std::vector<float>& n = model.frames[0]->normals;
    ASSERT_EQ(n.size(), 15u);
    const float h = std::sqrt(0.5f);
    const float want[4][3] = {{0, h, -h}, {0, h, -h}, {0, 0, -1}, {0, 1, 0}};
    for (int v = 0; v < 4; ++v)
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(n[v * 3 + a], want[v][a], 1e-6) << "vertex " << v;
    EXPECT_FALSE(std::isnan(n[4 * 3])) << "vertex 4 is in no triangle and has no direction";
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
    const std::string rejected = "MD2 File broken.md2 rejected: ";
    const std::pair<std::string, std::string> cases[] = {
        {"", "Unable to open MD2 File\n"},
        {with(kVersion, 7), "MD2 Model has a wrong version number\n" + rejected + "version 7, not 8\n"},
        {with(kIdent, 0x00504449), rejected + "its ident is \"IDP\\x00\", not \"IDP2\": no MD2 model\n"},
        {with(kOffsetEnd, int32_t(good.size()) + 1),
         "its end offset " + std::to_string(good.size() + 1) + " lies outside the file (" + std::to_string(good.size())},
        {good.substr(0, 40), "too short for the 68-byte header"},
        {good.substr(0, good.size() - 1), "frame block"},
        {edited([](File& f) { f.triangles[2][1] = 4; }), "triangle 2 points past the vertex list"},
        {edited([](File& f) { f.triangles[3][5] = 65535; }), "triangle 3 points past the texture-coordinate list"},
        {with(kOffsetTriangles, -12), "triangle block at offset -12"},
        {with(kOffsetFrames, INT32_MAX - 8), "frame block"},  // offset + count * size wraps to a small number
        {with(kFrameSize, 40 + 4 * 3), "frame size 52 is too small for 4 vertices"},
        {with(kSkinHeight, 0), "skin size 64 x 0 is not positive"},
        {with(kNumVertices, 0), "vertex count 0 is outside"},
        {with(kNumFrames, 1 << 30), "frame count 1073741824 is outside"},
        {edited([](File& f) { f.frames[1].name = "sixteencharacter"; }), "the name of frame 1 has no terminating zero"},
        {edited([](File& f) { f.skins[0] = std::string(64, 's'); }), "skin name 0 has no terminating zero"},
        {edited([](File& f) { f.frames[0].scale[1] = std::nanf(""); }),
         "frame 0 has a scale or translation that is not a number"},
    };
    // One loader for all: no rejection leaves anything behind that spoils the next file.
    MD2Loader loader;
    velqtest::TempDir dir;
    dir.Write("Resources/Models/good.md2", good);
    for (const auto& [bytes, reason] : cases) {
        SCOPED_TRACE(reason);
        if (bytes.empty())
            std::filesystem::remove("Resources/Models/broken.md2");
        else
            dir.Write("Resources/Models/broken.md2", bytes);
        MD2Model model;  // held something before: emptied again
        model.loaded = true;
        model.frameCount = 3;
        CaptureCout capture;
        EXPECT_FALSE(loader.Load(model, "broken.md2"));
        EXPECT_EQ(std::make_tuple(model.loaded, model.frameCount, model.frames.size(), model.animations.size()),
                  std::make_tuple(false, 0, 0u, 0u));
        const std::string console = capture.Text();
        if (console != reason) {  // the one rejection line that gives it
            EXPECT_EQ(std::make_tuple(console.rfind(rejected, 0), CountOf(console, "\n"), console.find(reason) != console.npos),
                      std::make_tuple(0u, 1, true)) << console;
        }
        ASSERT_TRUE(loader.Load(model, "good.md2"));
        EXPECT_EQ(model.frames[0]->triangleCount, 4);
    }
}

TEST(MD2Animation, LoopsPlayTheirCountThenReturnToTheAnimationBeforeAndZeroPlaysForEver)
{
    for (int32_t loops : {1, 2, 0}) {
        SCOPED_TRACE(loops);
        MD2Model model = AnimatedModel(52, {{0, 40}, {40, 45}, {45, 51}});
        model.SetAnimation(2, 0);
        StepFrame(model);
        model.SetAnimation(1, loops);
        EXPECT_EQ(std::tie(model.previousAnimation, model.currentFrame), std::make_tuple(2, 40));
        for (int round = 0; round < 3 && model.currentAnimation == 1; ++round) {
            std::vector<int32_t> seen;
            for (int i = 0; i < 5; ++i)
                seen.push_back(StepFrame(model));
            EXPECT_EQ(seen, (std::vector<int32_t>{41, 42, 43, 44, 40}));
            EXPECT_EQ(model.currentAnimation, loops == 0 || round + 1 < loops ? 1 : 2) << "round " << round;
        }
        EXPECT_EQ(model.loopsLeft, 0);
    }
}

TEST(MD2Animation, MinusOneSwitchesBackAndUnknownIndicesChangeNothing)
{
    MD2Model model = AnimatedModel(46, {{0, 40}, {40, 45}});
    model.SetAnimation(1, 0);
    model.SetAnimation(-1, 0);
    EXPECT_EQ(std::tie(model.currentAnimation, model.previousAnimation, model.currentFrame), std::make_tuple(0, 1, 0));
    model.currentFrame = 7;
    MD2Model empty;  // failed to load: stays still
    CaptureCout quiet;
    model.SetAnimation(8, 1);
    model.SetAnimation(-2, 0);
    empty.SetAnimation(1, 0);
    EXPECT_EQ(std::tie(model.currentAnimation, model.currentFrame, empty.currentAnimation), std::make_tuple(0, 7, 0));
}

TEST(MD2Animation, BlendFactorGrowsWithTheFrameTimeUntilTheFrameChangesAndStillModelsHold)
{
    MD2Model model = AnimatedModel(46, {{0, 40}, {40, 45}});
    int32_t next = -1;
    float t = -1.0f;
    // Past the duration the frame changes and the time starts again; t is this step's value.
    const struct { float duration, step, t; int32_t frame; } steps[] = {
        {0.5f, 0.2f, 0.4f, 0}, {0.5f, 0.2f, 0.8f, 0}, {0.5f, 0.2f, 1.2f, 1}, {1.0f, 0.25f, 0.25f, 1}};
    for (const auto& s : steps) {
        model.frameDuration = s.duration;  // 1 s: the enemy's slower frames
        model.AdvanceAnimation(s.step, next, t);
        EXPECT_NEAR(t, s.t, 1e-6);
        EXPECT_EQ(model.currentFrame, s.frame);
    }
    EXPECT_EQ(next, 2);
    MD2Model still = AnimatedModel(3, {}), empty;
    for (MD2Model* m : {&still, &empty}) {
        m->AdvanceAnimation(10.0f, next, t);
        EXPECT_EQ(std::tie(m->currentFrame, next), std::make_tuple(0, 0));
    }
    EXPECT_FLOAT_EQ(empty.frameTime, 0.0f);
}

TEST(MD2Model, ItsReachHoldsEveryVertexOfEveryFrame)
{
    // The reach in world units: the furthest vertex of any frame, not only the first.
    struct Case { std::vector<float> first, second; float scale, reach; };
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {{20, 0, 0}, {0, 0, -60}, 20.0f, 3.0f},
        {{0, 40, 0}, {0, 0, 0}, 20.0f, 2.0f},
        {{3e38f, 3e38f, 0}, {0, 0, 0}, 1.0f, inf},  // beyond a float: no bound
        {{1, 0, 0}, {0, 0, 0}, 0.0f, inf},          // drawn at w 0
        {{1, 0, 0}, {0, 0, 0}, std::nanf(""), inf},
    };
    for (const Case& c : cases) {
        MD2Model model = AnimatedModel(2, {{0, 2}});
        model.frames[0] = std::make_shared<MD2Frame>();
        model.frames[1] = std::make_shared<MD2Frame>();
        model.frames[0]->vertices = c.first;
        model.frames[1]->vertices = c.second;
        model.scaleDivisor = c.scale;
        const float reach = model.DrawRadius();
        EXPECT_TRUE(c.reach == inf ? reach == inf : std::fabs(reach - c.reach) < 0.01f) << c.first[0] << ": " << reach;
    }
}

TEST(ModelCache, EachFileIsReadOnceAndCopiesShareFramesButAnimateApart)
{
    velqtest::TempDir dir;
    dir.Write("Resources/Models/male.md2", Build(Tetrahedron({"stand01", "stand02", "run01", "run02", "run03"})));
    ModelCache cache;
    MD2Model a, b, c, failed;
    EXPECT_TRUE(cache.GetModel(a, "male.md2"));
    EXPECT_TRUE(cache.GetModel(failed, "turret.md2"));
    // Gone from disk, or written only now: the later copies come from the cache, the failure too.
    std::filesystem::remove(dir.Path() / "Resources/Models/male.md2");
    dir.Write("Resources/Models/turret.md2", GoodFile());
    CaptureCout capture;
    EXPECT_TRUE(cache.GetModel(b, "male.md2"));
    EXPECT_TRUE(cache.GetModel(c, "male.md2"));
    EXPECT_TRUE(cache.GetModel(failed, "turret.md2"));
    EXPECT_EQ(capture.Text(), "");
    EXPECT_EQ(std::make_tuple(failed.loaded, failed.frames.size(), failed.boundingRadius),
              std::make_tuple(false, size_t{0}, 0.0));
    ASSERT_EQ(a.frames.size(), 5u);
    EXPECT_EQ(b.frames, a.frames) << "the same frames, shared";
    EXPECT_EQ(c.frames, a.frames);
    // Tetrahedron edges of 20 model units, y mirrored: one world unit each way. The box is the
    // first frame's; the later ones stand higher.
    EXPECT_EQ(std::make_tuple(b.boxMin[1], b.boxMax[0], b.modelHeight, b.hull.vertexCount),
              std::make_tuple(-1.0f, 1.0f, 1.0, 8));
    EXPECT_NEAR(b.boundingRadius, std::sqrt(0.5), 1e-6);
    b.SetAnimation(1, 0);
    StepFrame(b);
    cache.GetModel(c, "male.md2");
    EXPECT_EQ(std::tie(a.currentAnimation, a.currentFrame, c.currentAnimation, c.currentFrame),
              std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(std::tie(b.currentAnimation, b.currentFrame), std::make_tuple(1, 3));
}

// The wall is drawn from its triangles; its box is tried by the gameplay collision tests.
TEST(ModelCache, WallCubeHasTwoTrianglesOnEveryFaceFacingOut)
{
    velqtest::TempDir dir;
    ModelCache cache;
    MD2Model wall;
    EXPECT_TRUE(cache.GetModel(wall, ModelCache::kWallModel));
    ASSERT_EQ(std::make_tuple(wall.loaded, wall.frames.size()), std::make_tuple(true, 1u));
    const MD2Frame& frame = *wall.frames[0];
    ASSERT_EQ(std::make_tuple(frame.vertexCount, frame.triangleCount, frame.texCoordCount, frame.normals.size(),
                              frame.triangles.size()),
              std::make_tuple(24, 12, 4, size_t{72}, size_t{72}));
    std::set<std::pair<int, bool>> faces;  // axis and side of each face's normal
    for (int tri = 0; tri < 12; ++tri) {
        // Both triangles of face k use its four vertices, all with the face's flat normal, and
        // lie on the side of the cube that normal points out of.
        const int32_t* idx = &frame.triangles[tri * 6];
        const float* n = &frame.normals[idx[0] * 3];
        const int axis = int(std::find_if(n, n + 3, [](float v) { return v != 0.0f; }) - n);
        ASSERT_LT(axis, 3);
        for (int c = 0; c < 3; ++c) {
            ASSERT_EQ(std::make_tuple(unsigned(idx[c]) / 4, unsigned(idx[3 + c]) < 4), std::make_tuple(tri / 2u, true))
                << "triangle " << tri << ": its face's vertices and a coordinate there is";
            EXPECT_EQ(frame.vertices[idx[c] * 3 + axis], 10.0f * n[axis]) << "triangle " << tri;
            EXPECT_TRUE(std::equal(n, n + 3, &frame.normals[idx[c] * 3])) << "triangle " << tri;
        }
        faces.insert({axis, n[axis] > 0});
    }
    EXPECT_EQ(faces.size(), 6u) << "one face each way on each axis";
}
