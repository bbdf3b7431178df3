// The quadtree: splitting, its depth limit, edge points, relocation and the
// neighbourhood query.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "world/scenegraph.h"
#include "world/vob.h"
#include "support/worldfixture.h"

namespace {

using velqtest::CaptureCout;

class SceneGraphTest : public velqtest::WorldFixture {
protected:
    // A new object, committed to (x, y) and inserted at the root.
    VOB* Place(float x, float y, const char* type = "map.wall")
    {
        VOB* o = new VOB(type);
        o->SetNextPosition(x, y, 0.0f);
        o->CommitMove();
        Root()->Insert(o);
        return o;
    }

    static bool Lists(const SceneGraphNode* n, const VOB* o)
    {
        const VOBList& objects = n->GetObjects();
        return std::find(objects.begin(), objects.end(), o) != objects.end();
    }

    static bool Holds(const VOBList& list, const VOB* o)
    {
        return std::find(list.begin(), list.end(), o) != list.end();
    }

    static bool IsBelow(const SceneGraphNode* n, const SceneGraphNode* ancestor)
    {
        for (; n; n = n->GetParent()) {
            if (n == ancestor)
                return true;
        }
        return false;
    }

    // A chain of splits down to depth 6 at the origin corner:
    // leaf [0,2] holds a, [2,4] g, [4,8] f, [8,16] e, [16,32] d, and b far away.
    void BuildDeepCorner(float ax, float ay)
    {
        a = Place(ax, ay);
        b = Place(63.0f, 63.0f);
        d = Place(20.0f, 20.0f);
        e = Place(10.0f, 10.0f);
        f = Place(5.0f, 5.0f);
        g = Place(2.5f, 2.5f);
    }

    static void MoveTo(VOB* o, float x, float y)
    {
        o->SetNextPosition(x, y, 0.0f);
        o->CommitMove();
        o->UpdateSceneGraph();
    }

    VOB *a = nullptr, *b = nullptr, *d = nullptr, *e = nullptr, *f = nullptr, *g = nullptr;
};

TEST_F(SceneGraphTest, RootCoversTheWorldSquareWithBothBoundsInclusiveAndNoZ)
{
    EXPECT_TRUE(Root()->Contains(0.0f, 0.0f, -100.0f));
    EXPECT_TRUE(Root()->Contains(64.0f, 64.0f, 100.0f));
    EXPECT_FALSE(Root()->Contains(64.01f, 10.0f, 0.0f));
    EXPECT_FALSE(Root()->Contains(10.0f, -0.01f, 0.0f));
}

TEST_F(SceneGraphTest, ObjectsFortyApartSplitTheRootIntoFourQuadrants)
{
    VOB* left = Place(10.0f, 10.0f);
    VOB* right = Place(50.0f, 10.0f);
    SceneGraphNode* root = Root();
    EXPECT_EQ(root->GetKind(), SceneGraphNode::kSplit);
    EXPECT_TRUE(root->GetObjects().empty());

    const float minX[4] = {0, 32, 32, 0};
    const float minY[4] = {0, 0, 32, 32};
    for (int q = 1; q <= 4; ++q) {
        SceneGraphNode* child = root->GetChild(q);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(child->GetKind() == SceneGraphNode::kLeaf && child->GetDepth() == 2 && child->GetSide() == 32.0f &&
                    child->GetParent() == root && child->GetQuadrant() == q)
            << "quadrant " << q;
        EXPECT_EQ(child->GetMinX(), minX[q - 1]) << "quadrant " << q;
        EXPECT_EQ(child->GetMinY(), minY[q - 1]) << "quadrant " << q;
    }
    EXPECT_TRUE(left->GetNode() == root->GetChild(1) && Lists(root->GetChild(1), left));
    EXPECT_TRUE(right->GetNode() == root->GetChild(2) && Lists(root->GetChild(2), right));
}

TEST_F(SceneGraphTest, ObjectsTenApartStayInTheRootAndTheDumpListsEveryNodeThenTheTotal)
{
    Place(10.0f, 10.0f);
    Place(20.0f, 10.0f);
    EXPECT_EQ(Root()->GetKind(), SceneGraphNode::kRoot);
    {
        CaptureCout out;
        EXPECT_EQ(Root()->Dump(), 2);
        EXPECT_EQ(out.Text(), "depth: 1\ntype: 0\nlength: 64\nobjects: 2\nTotal Objects in SceneGraph: 2\n");
    }
    Place(50.0f, 10.0f);
    CaptureCout out;
    EXPECT_EQ(Root()->Dump(), 3);
    EXPECT_EQ(out.Text(),
              "depth: 1\ntype: 1\nlength: 64\nobjects: 0\n"
              "depth: 2\ntype: 2\nlength: 32\nobjects: 2\n"
              "depth: 2\ntype: 2\nlength: 32\nobjects: 1\n"
              "depth: 2\ntype: 2\nlength: 32\nobjects: 0\n"
              "depth: 2\ntype: 2\nlength: 32\nobjects: 0\n"
              "Total Objects in SceneGraph: 3\n");
}

TEST_F(SceneGraphTest, PointOnTheEdgeBetweenQuadrantsGoesToTheFirst)
{
    Place(10.0f, 10.0f);
    Place(50.0f, 40.0f);
    VOB* edge = Place(32.0f, 10.0f);
    EXPECT_TRUE(Root()->GetChild(1)->Contains(32.0f, 10.0f, 0.0f));
    EXPECT_TRUE(Root()->GetChild(2)->Contains(32.0f, 10.0f, 0.0f));
    EXPECT_TRUE(IsBelow(edge->GetNode(), Root()->GetChild(1)));
    EXPECT_TRUE(Root()->GetChild(2)->GetObjects().empty());
}

TEST_F(SceneGraphTest, SplitsStopAtDepthSix)
{
    BuildDeepCorner(0.0f, 0.0f);
    SceneGraphNode* deepest = a->GetNode();
    EXPECT_EQ(deepest->GetDepth(), 6);
    EXPECT_EQ(deepest->GetSide(), 2.0f);
    EXPECT_EQ(g->GetNode(), deepest->GetParent()->GetChild(3));

    // 2.7 apart is more than half the side, but a depth-6 leaf never splits.
    VOB* h = Place(1.9f, 1.9f);
    EXPECT_EQ(h->GetNode(), deepest);
    EXPECT_EQ(deepest->GetKind(), SceneGraphNode::kLeaf);
    EXPECT_EQ(deepest->GetChild(1), nullptr);
    EXPECT_EQ(deepest->GetObjects().size(), 2u);
}

TEST_F(SceneGraphTest, EveryObjectIsListedOnceInALeafThatContainsIt)
{
    std::vector<VOB*> placed;
    for (int i = 0; i < 600; ++i) {
        // A fixed scatter with clusters and exact edge points.
        const float x = static_cast<float>((i * 37) % 65) * ((i % 3 == 0) ? 1.0f : 0.5f);
        const float y = static_cast<float>((i * 53) % 65) * ((i % 5 == 0) ? 1.0f : 0.25f);
        placed.push_back(Place(x, y));
    }
    int listed = 0;
    int maxDepth = 0;
    std::function<void(const SceneGraphNode*)> walk = [&](const SceneGraphNode* n) {
        maxDepth = std::max(maxDepth, n->GetDepth());
        if (n->GetKind() == SceneGraphNode::kSplit) {
            EXPECT_TRUE(n->GetObjects().empty());
            for (int q = 1; q <= 4; ++q)
                walk(n->GetChild(q));
            return;
        }
        for (const CMMPointer<VOB>& o : n->GetObjects()) {
            ++listed;
            EXPECT_EQ(o->GetNode(), n);
            EXPECT_TRUE(n->Contains(o->GetX(), o->GetY(), o->GetZ()));
        }
    };
    walk(Root());
    EXPECT_EQ(listed, 600);
    EXPECT_LE(maxDepth, 6);
    VOBList all;
    EXPECT_EQ(Root()->CollectObjects(all), 600);
    EXPECT_EQ(all.size(), 600u);
}

TEST_F(SceneGraphTest, ObjectOutsideTheWorldIsNotInsertedAndWarns)
{
    CMMPointer<VOB> outside = new VOB("enemy");
    outside->SetNextPosition(64.5f, 10.0f, 0.0f);
    outside->CommitMove();
    CaptureCout out;
    Root()->Insert(outside);
    VOB* corner = Place(64.0f, 64.0f);
    EXPECT_EQ(out.Text(), "WARNING: VOB Out of SceneGraphRoot\n");
    EXPECT_EQ(outside->GetNode(), nullptr);
    EXPECT_EQ(corner->GetNode(), Root());
    EXPECT_EQ(Root()->GetObjects().size(), 1u);
}

TEST_F(SceneGraphTest, RelocateKeepsTheLeafOrMovesTheObjectListedOnceClimbingAsFarAsNeeded)
{
    VOB* left = Place(10.0f, 10.0f);
    Place(50.0f, 10.0f);
    SceneGraphNode* leaf = left->GetNode();
    MoveTo(left, 30.0f, 31.0f);
    EXPECT_EQ(left->GetNode(), leaf) << "still inside its leaf";
    EXPECT_TRUE(Lists(leaf, left));
    MoveTo(left, 40.0f, 50.0f);
    EXPECT_EQ(left->GetNode(), Root()->GetChild(3));
    EXPECT_FALSE(Lists(leaf, left));
    EXPECT_TRUE(Lists(Root()->GetChild(3), left));
    EXPECT_EQ(left->GetRefCount(), 1) << "listed once, in the new leaf";

    delete &SceneGraph::GetSingleton();
    new SceneGraph();
    BuildDeepCorner(0.0f, 0.0f);
    MoveTo(a, 60.0f, 5.0f);
    EXPECT_TRUE(IsBelow(a->GetNode(), Root()->GetChild(2)));
    VOBList all;
    EXPECT_EQ(Root()->CollectObjects(all), 6);
}

TEST_F(SceneGraphTest, RelocateAndRemoveOfAnUnlistedObjectDoNothingAndInsertIntoALeafClimbs)
{
    VOB* listed = Place(10.0f, 10.0f);
    CMMPointer<VOB> stranger = new VOB("enemy");
    stranger->SetNextPosition(50.0f, 50.0f, 0.0f);
    stranger->CommitMove();
    Root()->Remove(stranger);
    Root()->Relocate(stranger);
    EXPECT_EQ(Root()->GetObjects().size(), 1u);
    EXPECT_EQ(listed->GetNode(), Root());
    EXPECT_EQ(stranger->GetNode(), nullptr);

    Place(50.0f, 10.0f);
    Root()->GetChild(1)->Insert(stranger);  // a leaf that does not contain the point
    EXPECT_EQ(stranger->GetNode(), Root()->GetChild(3));
}

TEST_F(SceneGraphTest, GetNearbyClampsTheCircleToTheWorldBeforeChoosingTheRegion)
{
    BuildDeepCorner(1.0f, 1.0f);
    ASSERT_EQ(a->GetNode()->GetDepth(), 6);
    const struct {
        VOB* around;
        float radius;
        std::vector<VOB*> found;
    } cases[] = {
        // Around (1, 1) radius 4 reaches -3; clamped, the points span 0 to 5: the [0,8] node.
        {a, 4.0f, {a, g, f}},
        // Radius 1 around (1, 1): 0 to 2, the object's own leaf.
        {a, 1.0f, {a}},
        // Radius 4 around (2.5, 2.5) needs -1.5 to 6.5: clamped, the [0,8] node again.
        {g, 4.0f, {a, g, f}},
        // Points beyond 64 are pulled back inside: the quadrant holding the corner answers.
        {b, 4.0f, {b}},
    };
    for (const auto& c : cases) {
        VOBList nearby;
        c.around->GetNode()->GetNearby(nearby, c.around, c.radius);
        EXPECT_EQ(nearby.size(), c.found.size()) << c.radius;
        for (VOB* o : c.found)
            EXPECT_TRUE(Holds(nearby, o)) << c.radius;
    }
}

TEST_F(SceneGraphTest, FreeingTheTreeMakesItsObjectsForgetTheirNodes)
{
    CMMPointer<VOB> kept = Place(10.0f, 10.0f);
    Place(50.0f, 10.0f);
    ASSERT_NE(kept->GetNode(), nullptr);
    delete &SceneGraph::GetSingleton();
    EXPECT_EQ(kept->GetNode(), nullptr);
    EXPECT_EQ(kept->GetRefCount(), 1);
    // The next tree takes the object as new.
    new SceneGraph();
    Root()->Insert(kept);
    EXPECT_EQ(kept->GetNode(), Root());
}

}  // namespace
