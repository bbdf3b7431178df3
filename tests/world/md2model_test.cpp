// Animation stepping, bounding box and hull of model instances.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "support/testutil.h"
#include "world/md2model.h"

namespace {

// A model of count one-vertex frames with the given animations; frames are not drawn here.
MD2Model AnimatedModel(int32_t count, std::vector<std::array<int32_t, 2>> ranges)
{
    MD2Model model;
    for (int32_t i = 0; i < count; ++i) {
        auto frame = std::make_shared<MD2Frame>();
        frame->vertexCount = 1;
        frame->vertices = {0, 0, float(i)};
        frame->normals = {0, 0, 1};
        model.frames.push_back(frame);
    }
    model.frameCount = count;
    model.loaded = true;
    for (const auto& r : ranges) {
        MD2Animation anim;
        anim.start = r[0];
        anim.end = r[1];
        model.animations.push_back(anim);
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

TEST(MD2Animation, LoopsPlayTheirCountThenReturnToTheAnimationBeforeAndZeroPlaysForEver)
{
    for (int32_t loops : {1, 2, 0}) {
        SCOPED_TRACE(loops);
        MD2Model model = AnimatedModel(52, {{0, 40}, {40, 45}, {45, 51}});
        model.SetAnimation(2, 0);
        StepFrame(model);
        model.SetAnimation(1, loops);
        EXPECT_EQ(model.previousAnimation, 2);
        EXPECT_EQ(model.currentFrame, 40);
        for (int round = 0; round < 3 && model.currentAnimation == 1; ++round) {
            std::vector<int32_t> seen;
            for (int i = 0; i < 5; ++i)
                seen.push_back(StepFrame(model));
            EXPECT_EQ(seen, (std::vector<int32_t>{41, 42, 43, 44, 40}));
            const bool more = loops == 0 || round + 1 < loops;
            EXPECT_EQ(model.currentAnimation, more ? 1 : 2) << "round " << round;
        }
        EXPECT_EQ(model.loopsLeft, 0);
    }
}

TEST(MD2Animation, MinusOneSwitchesBackAndUnknownIndicesChangeNothing)
{
    MD2Model model = AnimatedModel(46, {{0, 40}, {40, 45}});
    model.SetAnimation(1, 0);
    model.SetAnimation(-1, 0);
    EXPECT_TRUE(model.currentAnimation == 0 && model.previousAnimation == 1 && model.currentFrame == 0);

    model.currentFrame = 7;
    MD2Model empty;  // failed to load: stays still without a word
    velqtest::CaptureCout capture;
    model.SetAnimation(8, 1);
    model.SetAnimation(-2, 0);
    empty.SetAnimation(1, 0);
    EXPECT_EQ(capture.Text(), "MD2 animation 8 does not exist, the model has 2\n"
                              "MD2 animation -2 does not exist, the model has 2\n");
    EXPECT_TRUE(model.currentAnimation == 0 && model.currentFrame == 7 && empty.currentAnimation == 0);
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
        EXPECT_TRUE(m->currentFrame == 0 && next == 0);
    }
    EXPECT_FLOAT_EQ(empty.frameTime, 0.0f);
}

TEST(MD2Box, ContainsTheOriginAndOnlyTheFirstFramesTriangleVertices)
{
    MD2Model model;
    model.ComputeBox();
    EXPECT_DOUBLE_EQ(model.boundingRadius, 0.0) << "no frames, a zero box";

    auto first = std::make_shared<MD2Frame>();
    first->vertexCount = 4;
    first->triangleCount = 1;
    // Vertex 3 is in no triangle: far away, but outside the box.
    first->vertices = {20, 40, 60, 30, 10, 20, 40, 20, 80, -900, -900, -900};
    first->triangles = {0, 1, 2, 0, 0, 0};
    auto second = std::make_shared<MD2Frame>(*first);
    second->vertices = {1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 0, 0, 0};
    model.frames = {first, second};
    model.frameCount = 2;
    model.ComputeBox();

    EXPECT_DOUBLE_EQ(model.boundingRadius, std::sqrt(8.0) / 2.0);
    EXPECT_DOUBLE_EQ(model.modelHeight, 4.0);
    ASSERT_EQ(model.hull.vertexCount, 8);
    model.SetBoxPosition(3.0, -4.0, 0.5);
    // Corners as the box outline walks them: 0 = (min, max, max), 6 = (max, min, min).
    const double want[][3] = {{0, 0, 0}, {2, 2, 4}, {0, 2, 4}, {2, 0, 0}, {3, -4, 0.5}};
    for (int a = 0; a < 3; ++a) {
        const double got[] = {model.boxMin[a], model.boxMax[a], model.corners[0][a], model.corners[6][a],
                              model.hull.translation[a]};
        for (int k = 0; k < 5; ++k)
            EXPECT_DOUBLE_EQ(got[k], want[k][a]) << k << " axis " << a;
        EXPECT_DOUBLE_EQ(model.hull.negTranslation[a], -want[4][a]);
        for (int c = 0; c < 8; ++c)
            EXPECT_DOUBLE_EQ(model.hull.vertices[c][a], model.corners[c][a]);
    }
}
