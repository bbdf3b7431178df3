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
    EXPECT_EQ(model.currentAnimation, 0);
    EXPECT_EQ(model.previousAnimation, 1);
    EXPECT_EQ(model.currentFrame, 0);

    model.currentFrame = 7;
    {
        velqtest::CaptureCout capture;
        model.SetAnimation(8, 1);  // a model with two animations
        model.SetAnimation(-2, 0);
        EXPECT_EQ(capture.Text(), "MD2 animation 8 does not exist, the model has 2\n"
                                  "MD2 animation -2 does not exist, the model has 2\n");
    }
    EXPECT_EQ(model.currentAnimation, 0);
    EXPECT_EQ(model.currentFrame, 7);

    // A model that failed to load stays still without a word.
    MD2Model empty;
    velqtest::CaptureCout capture;
    empty.SetAnimation(1, 0);
    EXPECT_EQ(capture.Text(), "");
    EXPECT_EQ(empty.currentAnimation, 0);
}

TEST(MD2Animation, BlendFactorGrowsWithTheFrameTimeUntilTheFrameChanges)
{
    MD2Model model = AnimatedModel(46, {{0, 40}, {40, 45}});
    int32_t next = -1;
    float t = -1.0f;
    model.AdvanceAnimation(0.2f, next, t);
    EXPECT_EQ(next, 1);
    EXPECT_FLOAT_EQ(t, 0.4f);
    EXPECT_EQ(model.currentFrame, 0);
    model.AdvanceAnimation(0.2f, next, t);
    EXPECT_FLOAT_EQ(t, 0.8f);
    // Past the duration: the frame changes and the time starts again, t is still the
    // value of this step.
    model.AdvanceAnimation(0.2f, next, t);
    EXPECT_NEAR(t, 1.2f, 1e-6);
    EXPECT_EQ(model.currentFrame, 1);
    EXPECT_FLOAT_EQ(model.frameTime, 0.0f);

    // The enemy's slower frames.
    model.frameDuration = 1.0f;
    model.AdvanceAnimation(0.25f, next, t);
    EXPECT_FLOAT_EQ(t, 0.25f);
}

TEST(MD2Animation, FramesWithoutAnimationsHoldTheirFrame)
{
    MD2Model model = AnimatedModel(3, {});
    int32_t next = -1;
    float t = -1.0f;
    model.AdvanceAnimation(10.0f, next, t);
    EXPECT_EQ(model.currentFrame, 0);
    EXPECT_EQ(next, 0);

    MD2Model empty;
    empty.AdvanceAnimation(10.0f, next, t);
    EXPECT_EQ(next, 0);
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

    const float boxMax[3] = {2, 2, 4};
    for (int a = 0; a < 3; ++a) {
        EXPECT_FLOAT_EQ(model.boxMin[a], 0.0f);
        EXPECT_FLOAT_EQ(model.boxMax[a], boxMax[a]);
    }
    EXPECT_DOUBLE_EQ(model.boundingRadius, std::sqrt(8.0) / 2.0);
    EXPECT_DOUBLE_EQ(model.modelHeight, 4.0);
    // Corners as the box outline walks them: 0 = (min, max, max), 6 = (max, min, min).
    const double corner0[3] = {0, 2, 4}, corner6[3] = {2, 0, 0};
    ASSERT_EQ(model.hull.vertexCount, 8);
    for (int a = 0; a < 3; ++a) {
        EXPECT_DOUBLE_EQ(model.corners[0][a], corner0[a]);
        EXPECT_DOUBLE_EQ(model.corners[6][a], corner6[a]);
        for (int c = 0; c < 8; ++c)
            EXPECT_DOUBLE_EQ(model.hull.vertices[c][a], model.corners[c][a]);
    }
    model.SetBoxPosition(3.0, -4.0, 0.5);
    const double at[3] = {3.0, -4.0, 0.5};
    for (int a = 0; a < 3; ++a) {
        EXPECT_DOUBLE_EQ(model.hull.translation[a], at[a]);
        EXPECT_DOUBLE_EQ(model.hull.negTranslation[a], -at[a]);
    }
}
