// Scene objects: the move protocol, the world bounds and leaving the scene graph.
#include "world/vob.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/timertask.h"
#include "world/scenegraph.h"
#include "support/worldfixture.h"

namespace {

using velqtest::CaptureCout;

// A mover that records whom it was tested against and is blocked by one type.
class ProbeMover : public VMOB {
public:
    ProbeMover(const std::string& type, const std::string& blockedBy)
        : VMOB(type, 0, 0, 0), blocker(blockedBy)
    {}
    unsigned size() override { return sizeof(*this); }
    bool CollidesWith(CMMPointer<VOB> other) override
    {
        tested.push_back(other);
        return other->GetType() == blocker;
    }
    std::string blocker;
    std::vector<VOB*> tested;
};

class VobTest : public velqtest::WorldFixture {
protected:
    template <typename T>
    T* PlaceAt(T* o, float x, float y, float z = 1.0f)
    {
        o->SetNextPosition(x, y, z);
        o->CommitMove();
        Root()->Insert(o);
        return o;
    }
};

TEST_F(VobTest, NewObjectStartsAtTheDefaultsOutsideTheSceneGraph)
{
    CMMPointer<VOB> o = new VOB("map.wall");
    EXPECT_EQ(o->GetType(), "map.wall");
    EXPECT_EQ(o->GetX(), 5.0f);
    EXPECT_EQ(o->GetY(), 5.0f);
    EXPECT_EQ(o->GetZ(), 1.0f);
    EXPECT_EQ(o->GetLookX(), 0.0f);
    EXPECT_EQ(o->GetLookY(), 1.0f);
    EXPECT_FALSE(o->IsDead());
    EXPECT_EQ(o->GetNode(), nullptr);
    EXPECT_FALSE(o->GetModel().IsLoaded());
    EXPECT_FALSE(o->Fire()) << "no weapon";
    EXPECT_FALSE(o->MoveModelBox()) << "no model";
}

TEST_F(VobTest, ComputeNextPositionStepsBySpeedDirectionAndFrameTime)
{
    CMMPointer<VMOB> m = new VMOB("enemy", 1.0f, -0.5f, 0.0f);
    m->SetNextPosition(10.0f, 20.0f, 1.0f);
    m->CommitMove();
    m->SetSpeed(2.0f);
    CGlobalTimerTask::dT = 0.5f;
    m->ComputeNextPosition();
    EXPECT_FLOAT_EQ(m->GetNextX(), 11.0f);
    EXPECT_FLOAT_EQ(m->GetNextY(), 19.5f);
    EXPECT_FLOAT_EQ(m->GetNextZ(), 1.0f);
    EXPECT_FLOAT_EQ(m->GetX(), 10.0f) << "computing is not moving";
}

TEST_F(VobTest, ComputeNextPositionRefusesEachAxisThatWouldLeaveTheOpenWorldRange)
{
    CMMPointer<VMOB> m = new VMOB("enemy", 1.0f, 1.0f, 0.0f);
    m->SetNextPosition(63.5f, 30.0f, 1.0f);
    m->CommitMove();
    m->SetSpeed(1.0f);
    CGlobalTimerTask::dT = 1.0f;
    m->ComputeNextPosition();  // x would be 64.5
    EXPECT_FLOAT_EQ(m->GetNextX(), 63.5f);
    EXPECT_FLOAT_EQ(m->GetNextY(), 31.0f);

    // Exactly on the border is refused too, at both ends and on z.
    m->SetMoveDirection(0.5f, -30.0f, 63.0f);
    m->ComputeNextPosition();  // x 64, y 0, z 64
    EXPECT_FLOAT_EQ(m->GetNextX(), 63.5f);
    EXPECT_FLOAT_EQ(m->GetNextY(), 30.0f);
    EXPECT_FLOAT_EQ(m->GetNextZ(), 1.0f);

    m->SetMoveDirection(0.0f, 0.0f, -1.0f);
    m->ComputeNextPosition();  // z 0
    EXPECT_FLOAT_EQ(m->GetNextZ(), 1.0f);
}

TEST_F(VobTest, TryMoveCommitsAndFollowsTheObjectIntoItsNewLeaf)
{
    PlaceAt(new VOB("map.wall"), 50.0f, 50.0f);
    ProbeMover* m = PlaceAt(new ProbeMover("enemy", "nothing"), 10.0f, 10.0f);
    ASSERT_EQ(m->GetNode(), Root()->GetChild(1));
    m->SetNextPosition(40.0f, 10.0f, 1.0f);
    EXPECT_TRUE(m->TryMove());
    EXPECT_EQ(m->GetX(), 40.0f);
    EXPECT_EQ(m->GetNode(), Root()->GetChild(2));
    EXPECT_TRUE(Root()->GetChild(1)->GetObjects().empty());
}

TEST_F(VobTest, TryMoveTestsEveryNearbyObjectItselfIncludedAndStopsAtTheFirstBlock)
{
    VOB* wall = PlaceAt(new VOB("map.wall"), 12.0f, 10.0f);
    VOB* tower = PlaceAt(new VOB("tower"), 11.0f, 11.0f);
    ProbeMover* m = PlaceAt(new ProbeMover("enemy", "map.wall"), 10.0f, 10.0f);
    m->SetNextPosition(11.0f, 10.0f, 1.0f);
    EXPECT_FALSE(m->TryMove());
    EXPECT_EQ(m->GetX(), 10.0f) << "a refused move leaves the position";
    ASSERT_EQ(m->tested.size(), 1u) << "the wall comes first in the leaf and blocks";
    EXPECT_EQ(m->tested[0], wall);

    m->blocker = "nothing";
    m->tested.clear();
    EXPECT_TRUE(m->TryMove());
    EXPECT_EQ(m->GetX(), 11.0f);
    EXPECT_EQ(m->tested, (std::vector<VOB*>{wall, tower, m}));
}

TEST_F(VobTest, FlagNeverAsksForCollisions)
{
    PlaceAt(new VOB("map.wall"), 12.0f, 10.0f);
    ProbeMover* flag = PlaceAt(new ProbeMover("flag", "map.wall"), 10.0f, 10.0f);
    flag->SetNextPosition(12.0f, 10.0f, 1.0f);
    EXPECT_TRUE(flag->TryMove());
    EXPECT_TRUE(flag->tested.empty());
    EXPECT_EQ(flag->GetX(), 12.0f);
}

TEST_F(VobTest, ObjectOutsideTheSceneGraphMovesWithoutTests)
{
    CMMPointer<ProbeMover> m = new ProbeMover("enemy", "enemy");
    m->SetNextPosition(3.0f, 4.0f, 1.0f);
    EXPECT_TRUE(m->TryMove());
    EXPECT_EQ(m->GetX(), 3.0f);
    EXPECT_TRUE(m->tested.empty());
    EXPECT_EQ(m->GetNode(), nullptr);
}

TEST_F(VobTest, KillLeavesTheLeafButRemembersIt)
{
    PlaceAt(new VOB("map.wall"), 50.0f, 50.0f);
    CMMPointer<ProbeMover> m = PlaceAt(new ProbeMover("enemy", "nothing"), 10.0f, 10.0f);
    SceneGraphNode* leaf = m->GetNode();
    m->Kill();
    EXPECT_TRUE(m->IsDead());
    EXPECT_EQ(m->GetNode(), leaf);
    EXPECT_TRUE(leaf->GetObjects().empty());
    EXPECT_EQ(m->GetRefCount(), 1) << "only the test holds it now";

    // A dead object asked to move once more does not come back into the tree.
    m->SetNextPosition(40.0f, 40.0f, 1.0f);
    EXPECT_TRUE(m->TryMove());
    VOBList all;
    EXPECT_EQ(Root()->CollectObjects(all), 1);
}

TEST_F(VobTest, LoadModelFillsTheModelAndReportsItsFrames)
{
    CMMPointer<VOB> wall = new VOB("map.wall");
    {
        CaptureCout out;
        wall->LoadModel(ModelCache::kWallModel);
        EXPECT_EQ(out.Text(), "MD2 Loaded 1\n");
    }
    ASSERT_TRUE(wall->GetModel().IsLoaded());
    wall->SetNextPosition(7.0f, 3.0f, 0.5f);
    EXPECT_TRUE(wall->MoveModelBox());
    const ModelHull& hull = wall->GetModel().GetHull();
    EXPECT_DOUBLE_EQ(hull.translation[0], 7.0);
    EXPECT_DOUBLE_EQ(hull.translation[1], 3.0);
    EXPECT_DOUBLE_EQ(hull.translation[2], 0.5);
}

TEST_F(VobTest, DamageTakesOffHealth)
{
    CMMPointer<VMOB> m = new VMOB("enemy", 0, 0, 0);
    m->SetHealth(100);
    m->Damage(6);
    m->Damage(50);
    EXPECT_EQ(m->GetHealth(), 44);
}

}  // namespace
