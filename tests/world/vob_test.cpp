// Scene objects: the move protocol, the world bounds and leaving the scene graph.
#include "world/vob.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/worldfixture.h"

namespace {

// A mover that records whom it was tested against and is blocked by one type.
struct ProbeMover : VMOB {
    ProbeMover(const std::string& type, const std::string& blockedBy) : VMOB(type, 0, 0, 0), blocker(blockedBy) {}
    unsigned size() override { return sizeof(*this); }
    bool CollidesWith(CMMPointer<VOB> other) override
    {
        tested.push_back(other);
        return other->GetType() == blocker;
    }
    // Tries a move to (x, y) and returns whom it was tested against.
    std::vector<VOB*> Try(float x, float y, bool allowed)
    {
        tested.clear();
        SetNextPosition(x, y, 1.0f);
        EXPECT_EQ(TryMove(), allowed) << GetType() << " to " << x << "," << y;
        return tested;
    }
    std::string blocker;
    std::vector<VOB*> tested;
};

class VobTest : public velqtest::WorldFixture {};

TEST_F(VobTest, ComputeNextPositionStepsBySpeedAndFrameTimeAndRefusesEachAxisThatLeavesTheOpenRange)
{
    struct Case { float dx, dy, dz, nextX, nextY, nextZ; } const cases[] = {
        {2.0f, -1.0f, 0.0f, 12.0f, 19.0f, 1.0f},
        {54.0f, 1.0f, 0.0f, 10.0f, 21.0f, 1.0f},      // x 64.0: on the border is refused
        {54.5f, 44.0f, 63.0f, 10.0f, 20.0f, 1.0f},    // x past it, y 64, z 64
        {-10.0f, -20.0f, -1.0f, 10.0f, 20.0f, 1.0f},  // x 0, y 0, z 0
    };
    CMMPointer<VMOB> m = new VMOB("enemy", 0, 0, 0);
    m->SetSpeed(2.0f);
    CGlobalTimerTask::dT = 0.5f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx);
        m->SetNextPosition(10.0f, 20.0f, 1.0f);
        m->CommitMove();
        m->SetMoveDirection(c.dx, c.dy, c.dz);
        m->ComputeNextPosition();
        EXPECT_TRUE(m->GetNextX() == c.nextX && m->GetNextY() == c.nextY && m->GetNextZ() == c.nextZ);
        EXPECT_EQ(m->GetX(), 10.0f) << "computing is not moving";
    }
}

TEST_F(VobTest, TryMoveTestsEveryNearbyObjectItselfIncludedAndStopsAtTheFirstBlock)
{
    VOB* wall = Place(new VOB("map.wall"), 12.0f, 10.0f);
    VOB* tower = Place(new VOB("tower"), 11.0f, 11.0f);
    ProbeMover* m = Place(new ProbeMover("enemy", "map.wall"), 10.0f, 10.0f);
    EXPECT_EQ(m->Try(11.0f, 10.0f, false), std::vector<VOB*>{wall}) << "the wall comes first in the leaf";
    EXPECT_EQ(m->GetX(), 10.0f) << "a refused move leaves the position";
    m->blocker = "nothing";
    EXPECT_EQ(m->Try(11.0f, 10.0f, true), (std::vector<VOB*>{wall, tower, m}));
    EXPECT_EQ(m->GetX(), 11.0f);

    Place(new VOB("map.wall"), 50.0f, 50.0f);  // splits the root: the move follows into the new leaf
    ASSERT_EQ(m->GetNode(), Root()->GetChild(1));
    m->Try(40.0f, 10.0f, true);
    EXPECT_TRUE(m->GetX() == 40.0f && m->GetNode() == Root()->GetChild(2));
    EXPECT_EQ(Root()->GetChild(1)->GetObjects().size(), 2u);
}

TEST_F(VobTest, FlagAndObjectsOutsideTheTreeMoveWithoutTests)
{
    Place(new VOB("map.wall"), 12.0f, 10.0f);
    ProbeMover* flag = Place(new ProbeMover("flag", "map.wall"), 10.0f, 10.0f);
    CMMPointer<ProbeMover> outside = new ProbeMover("enemy", "enemy");
    for (ProbeMover* m : {flag, static_cast<ProbeMover*>(outside)}) {
        EXPECT_TRUE(m->Try(12.0f, 10.0f, true).empty()) << m->GetType();
        EXPECT_EQ(m->GetX(), 12.0f) << m->GetType();
    }
    EXPECT_EQ(outside->GetNode(), nullptr);
}

TEST_F(VobTest, KillLeavesTheLeafButRemembersItAndADeadObjectDoesNotComeBack)
{
    Place(new VOB("map.wall"), 50.0f, 50.0f);
    CMMPointer<ProbeMover> m = Place(new ProbeMover("enemy", "nothing"), 10.0f, 10.0f);
    SceneGraphNode* leaf = m->GetNode();
    m->Kill();
    EXPECT_TRUE(m->GetNode() == leaf && leaf->GetObjects().empty());
    EXPECT_EQ(m->GetRefCount(), 1) << "only the test holds it now";
    m->Try(40.0f, 40.0f, true);
    VOBList all;
    EXPECT_EQ(Root()->CollectObjects(all), 1);
}

TEST_F(VobTest, LoadModelFillsTheModelAndReportsItsFrames)
{
    CMMPointer<VOB> wall = new VOB("map.wall");
    EXPECT_FALSE(wall->Fire()) << "no weapon";
    EXPECT_FALSE(wall->MoveModelBox()) << "no model";
    {
        velqtest::CaptureCout out;
        wall->LoadModel(ModelCache::kWallModel);
        EXPECT_EQ(out.Text(), "MD2 Loaded 1\n");
    }
    wall->SetNextPosition(7.0f, 3.0f, 0.5f);
    ASSERT_TRUE(wall->MoveModelBox());
    const double* at = wall->GetModel().GetHull().translation;
    EXPECT_TRUE(at[0] == 7.0 && at[1] == 3.0 && at[2] == 0.5);
}

}  // namespace
