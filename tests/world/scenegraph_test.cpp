// SPDX-License-Identifier: GPL-3.0-or-later
// The quadtree (splitting, its depth limit, edge points, relocation, the neighbourhood query)
// and the objects' move protocol in it.
#include "support/worldfixture.h"
#include "world/scenegraph.h"
#include "world/vob.h"

namespace {

using velqtest::CaptureCout;

class SceneGraphTest : public velqtest::WorldFixture {
protected:
    VOB* At(float x, float y) { return Place(new VOB("map.wall"), x, y, 0.0f); }
    template <class List>
    static bool Holds(const List& list, const VOB* o) { return std::find(list.begin(), list.end(), o) != list.end(); }
    static bool IsBelow(const SceneGraphNode* n, const SceneGraphNode* ancestor)
    {
        while (n && n != ancestor)
            n = n->GetParent();
        return n == ancestor;
    }
    int Count()
    {
        VOBList all;
        return Root()->CollectObjects(all);
    }
    // A fresh tree split down to depth 6 at the origin: leaf [0,2] holds a, [2,4] g, [4,8] the one
    // at 5, b is far away.
    void BuildDeepCorner(float ax, float ay)
    {
        delete &SceneGraph::GetSingleton();
        new SceneGraph();
        a = At(ax, ay);
        b = At(63.0f, 63.0f);
        for (float p : {20.0f, 10.0f, 5.0f})
            At(p, p);
        g = At(2.5f, 2.5f);
    }
    VOB *a = nullptr, *b = nullptr, *g = nullptr;
};

TEST_F(SceneGraphTest, RootBoundsTheSplitIntoQuadrantsAndTheDump)
{
    const struct { float x, y, z; bool in; } points[] = {
        {0, 0, -100, true}, {64, 64, 100, true}, {64.01f, 10, 0, false}, {10, -0.01f, 0, false}};
    for (const auto& p : points)
        EXPECT_EQ(Root()->Contains(p.x, p.y, p.z), p.in) << p.x << "," << p.y;
    At(10.0f, 10.0f);
    At(20.0f, 10.0f);
    EXPECT_EQ(Root()->GetKind(), SceneGraphNode::kRoot) << "ten apart stay in the root";
    VOB* right = At(50.0f, 10.0f);
    EXPECT_EQ(std::make_tuple(Root()->GetKind(), Root()->GetObjects().size()), std::make_tuple(SceneGraphNode::kSplit, 0u));
    const float minX[4] = {0, 32, 32, 0}, minY[4] = {0, 0, 32, 32};
    for (int q = 1; q <= 4; ++q) {
        const SceneGraphNode* child = Root()->GetChild(q);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(std::make_tuple(child->GetKind(), child->GetDepth(), child->GetSide(), child->GetParent(),
                                  child->GetQuadrant(), child->GetMinX(), child->GetMinY()),
                  std::make_tuple(SceneGraphNode::kLeaf, 2, 32.0f, Root(), q, minX[q - 1], minY[q - 1]))
            << "quadrant " << q;
    }
    EXPECT_EQ(std::make_tuple(right->GetNode(), Holds(Root()->GetChild(2)->GetObjects(), right)),
              std::make_tuple(Root()->GetChild(2), true));
    // The dump: each node's four lines, children in quadrant order, the total at the root only.
    const auto node = [](int depth, int type, int side, int objects) {
        return "depth: " + std::to_string(depth) + "\ntype: " + std::to_string(type) + "\nlength: " +
               std::to_string(side) + "\nobjects: " + std::to_string(objects) + "\n";
    };
    CaptureCout out;
    EXPECT_EQ(Root()->Dump(), 3);
    EXPECT_EQ(Root()->GetChild(1)->Dump(), 2);
    EXPECT_EQ(out.Text(), node(1, 1, 64, 0) + node(2, 2, 32, 2) + node(2, 2, 32, 1) + node(2, 2, 32, 0) +
                              node(2, 2, 32, 0) + "Total Objects in SceneGraph: 3\n" + node(2, 2, 32, 2));
}

TEST_F(SceneGraphTest, EdgePointsGoToTheFirstQuadrantAndSplitsStopAtDepthSix)
{
    At(10.0f, 10.0f);
    At(50.0f, 40.0f);
    EXPECT_TRUE(IsBelow(At(32.0f, 10.0f)->GetNode(), Root()->GetChild(1)));
    EXPECT_TRUE(Root()->GetChild(2)->GetObjects().empty());

    BuildDeepCorner(0.0f, 0.0f);
    SceneGraphNode* deepest = a->GetNode();
    EXPECT_EQ(std::make_tuple(deepest->GetDepth(), deepest->GetSide()), std::make_tuple(6, 2.0f));
    EXPECT_EQ(g->GetNode(), deepest->GetParent()->GetChild(3));
    EXPECT_EQ(At(1.9f, 1.9f)->GetNode(), deepest) << "a depth-6 leaf never splits";
    EXPECT_EQ(std::make_tuple(deepest->GetChild(1), deepest->GetObjects().size()), std::make_tuple(nullptr, size_t{2}));
}

TEST_F(SceneGraphTest, OutsideOrUnlistedObjectsAreLeftAloneAndInsertIntoALeafClimbs)
{
    CMMPointer<VOB> outside = new VOB("enemy");
    outside->SetNextPosition(64.5f, 10.0f, 0.0f);
    outside->CommitMove();
    CaptureCout out;
    Root()->Insert(outside);
    EXPECT_EQ(out.Text(), "WARNING: VOB Out of SceneGraphRoot\n");
    EXPECT_EQ(outside->GetNode(), nullptr);
    EXPECT_EQ(At(64.0f, 64.0f)->GetNode(), Root());

    outside->SetNextPosition(50.0f, 50.0f, 0.0f);
    outside->CommitMove();
    Root()->Remove(outside);
    Root()->Relocate(outside);
    EXPECT_EQ(std::make_tuple(Root()->GetObjects().size(), outside->GetNode()), std::make_tuple(size_t{1}, nullptr))
        << "not listed: not moved";
    At(10.0f, 10.0f);
    Root()->GetChild(1)->Insert(outside);  // a leaf that does not contain the point
    EXPECT_TRUE(IsBelow(outside->GetNode(), Root()->GetChild(3)));
}

TEST_F(SceneGraphTest, RelocateKeepsTheLeafOrMovesTheObjectListedOnceClimbingAsFarAsNeeded)
{
    VOB* left = At(10.0f, 10.0f);
    At(50.0f, 10.0f);
    SceneGraphNode* leaf = left->GetNode();
    MoveTo(left, 30.0f, 31.0f);
    EXPECT_EQ(std::make_tuple(left->GetNode(), Holds(leaf->GetObjects(), left)), std::make_tuple(leaf, true))
        << "still inside its leaf";
    MoveTo(left, 40.0f, 50.0f);
    EXPECT_EQ(std::make_tuple(left->GetNode(), Holds(leaf->GetObjects(), left)), std::make_tuple(Root()->GetChild(3), false));
    EXPECT_EQ(left->GetRefCount(), 1) << "listed once, in the new leaf";

    BuildDeepCorner(0.0f, 0.0f);
    MoveTo(a, 60.0f, 5.0f);
    EXPECT_TRUE(IsBelow(a->GetNode(), Root()->GetChild(2)));
    EXPECT_EQ(Count(), 6);
}

TEST_F(SceneGraphTest, GetNearbyClampsTheCircleToTheWorldBeforeChoosingTheRegion)
{
    BuildDeepCorner(1.0f, 1.0f);
    ASSERT_EQ(a->GetNode()->GetDepth(), 6);
    const struct { VOB* around; float radius; size_t found; } cases[] = {
        {a, 4.0f, 3},  // clamped to 0..5: the [0,8] node with a, g and the one at 5
        {a, 1.0f, 1},  // 0..2: its own leaf
        {b, 4.0f, 1},  // beyond 64 pulled back: the corner's quadrant
    };
    for (const auto& c : cases) {
        VOBRefs nearby;
        c.around->GetNode()->GetNearby(nearby, c.around, c.radius);
        EXPECT_EQ(nearby.size(), c.found) << c.radius;
        for (VOB* o : c.found == 3 ? std::vector<VOB*>{a, g} : std::vector<VOB*>{c.around})
            EXPECT_TRUE(Holds(nearby, o)) << c.radius << ": " << o->GetX();
    }
}

// The neighbourhood query as it was first written: sixteen points on the circle, each tested
// on every level, and a fresh walk of the region found.
VOBList NearbyAsFirstWritten(const VOB* o, float radius)
{
    volatile float stepSource = static_cast<float>(3.14159265358979323846 / 8.0);
    const float step = stepSource;
    float points[16][2];
    for (int i = 0; i < 16; ++i) {
        const float angle = static_cast<float>(i) * step;
        float p[2] = {o->GetX() + std::cos(angle) * radius, o->GetY() + std::sin(angle) * radius};
        for (float& v : p) {
            if (v < 0.0f)
                v = 0.0f;
            else if (v > 64.0f)
                v = 63.0f;
        }
        points[i][0] = p[0];
        points[i][1] = p[1];
    }
    const SceneGraphNode* region = o->GetNode();
    while (region->GetParent()) {
        bool coversAll = true;
        for (const auto& p : points)
            coversAll = coversAll && region->Contains(p[0], p[1], 0.0f);
        if (coversAll)
            break;
        region = region->GetParent();
    }
    VOBList found;
    region->CollectObjects(found);
    return found;
}

// A split node keeps its subtree's list between queries. Whatever happened below it since
// (objects added, moved within their leaf or out of it, killed, leaves split), the kept list
// must be the one a fresh walk of the subtree gives, in the same order, and the query must
// hand back what it did when it walked the tree every time.
TEST_F(SceneGraphTest, KeptSubtreeListsMatchAFreshWalkAfterInsertsMovesAndKills)
{
    uint64_t state = 2024;
    auto unit = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>((state >> 40) & 0xFFFFFF) / static_cast<float>(0x1000000);
    };
    // Whole and half numbers land on the edges that siblings share.
    auto coordinate = [&](float around, float spread) {
        float v = std::clamp(around + (unit() * 2.0f - 1.0f) * spread, 0.0f, 64.0f);
        if (unit() < 0.2f)
            v = std::round(v * 2.0f) / 2.0f;
        return v;
    };
    auto sameAsFreshWalk = [](const SceneGraphNode* n) {
        VOBRefs kept;
        VOBList fresh;
        const int count = n->CollectObjects(kept);
        n->CollectObjects(fresh);
        return count == static_cast<int>(kept.size()) && std::equal(kept.begin(), kept.end(), fresh.begin(), fresh.end());
    };
    std::vector<VOB*> listed;
    for (int step = 0; step < 3000; ++step) {
        const float what = unit();
        if (listed.size() < 20 || what < 0.25f) {
            listed.push_back(At(coordinate(32.0f, 32.0f), coordinate(32.0f, 32.0f)));
        } else {
            const size_t i = static_cast<size_t>(unit() * static_cast<float>(listed.size())) % listed.size();
            VOB* o = listed[i];
            if (what < 0.35f) {
                o->Kill();
                listed.erase(listed.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                const float spread = what < 0.9f ? 1.5f : 40.0f;
                MoveTo(o, coordinate(o->GetX(), spread), coordinate(o->GetY(), spread));
            }
        }
        // Ask one region of the tree, so that the others are kept from different moments.
        const SceneGraphNode* n = Root();
        while (n->GetKind() == SceneGraphNode::kSplit && unit() < 0.7f)
            n = n->GetChild(1 + static_cast<int>(unit() * 4.0f) % 4);
        ASSERT_TRUE(sameAsFreshWalk(n)) << "step " << step << ", node at depth " << n->GetDepth();
        for (int q = 0; q < 2 && !listed.empty(); ++q) {
            const VOB* o = listed[static_cast<size_t>(unit() * static_cast<float>(listed.size())) % listed.size()];
            const float radius = unit() < 0.5f ? 4.0f : unit() * 12.0f;
            VOBRefs nearby;
            o->GetNode()->GetNearby(nearby, o, radius);
            const VOBList expected = NearbyAsFirstWritten(o, radius);
            ASSERT_TRUE(std::equal(nearby.begin(), nearby.end(), expected.begin(), expected.end()))
                << "step " << step << ", around " << o->GetX() << "," << o->GetY() << " radius " << radius;
        }
        // Every node: its kept list, no deeper than 6, objects only in leaves that contain
        // them, each listed once.
        if (step % 100 == 99) {
            std::vector<const SceneGraphNode*> all{Root()};
            size_t inLeaves = 0;
            while (!all.empty()) {
                const SceneGraphNode* m = all.back();
                all.pop_back();
                ASSERT_TRUE(sameAsFreshWalk(m)) << "step " << step << ", node at depth " << m->GetDepth();
                ASSERT_LE(m->GetDepth(), 6);
                for (const CMMPointer<VOB>& o : m->GetObjects())
                    ASSERT_EQ(std::make_tuple(o->GetNode(), m->GetKind() != SceneGraphNode::kSplit,
                                              m->Contains(o->GetX(), o->GetY(), o->GetZ())),
                              std::make_tuple(m, true, true)) << "step " << step;
                inLeaves += m->GetObjects().size();
                if (m->GetKind() == SceneGraphNode::kSplit)
                    for (int q = 1; q <= 4; ++q)
                        all.push_back(m->GetChild(q));
            }
            ASSERT_EQ(inLeaves, listed.size()) << "step " << step;
        }
    }
    EXPECT_EQ(Root()->GetKind(), SceneGraphNode::kSplit);
}

TEST_F(SceneGraphTest, FreeingTheTreeMakesItsObjectsForgetTheirNodes)
{
    CMMPointer<VOB> kept = At(10.0f, 10.0f);
    At(50.0f, 10.0f);
    delete &SceneGraph::GetSingleton();
    EXPECT_EQ(std::make_tuple(kept->GetNode(), kept->GetRefCount()), std::make_tuple(nullptr, 1));
    new SceneGraph();
    Root()->Insert(kept);
    EXPECT_EQ(kept->GetNode(), Root());
}

// A mover that records whom it was tested against and is blocked by one type.
struct ProbeMover : VMOB {
    ProbeMover(const std::string& type, const std::string& blockedBy) : VMOB(type, 0, 0, 0), blocker(blockedBy) {}
    unsigned size() override { return sizeof(*this); }
    bool CollidesWith(VOB& other) override
    {
        tested.push_back(&other);
        return other.GetType() == blocker;
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

using VobTest = SceneGraphTest;

// The flag goes where its carrier goes, walls or not. Movers outside the tree are moved in the
// movement task's edge test.
TEST_F(VobTest, TryMoveTestsEveryNearbyObjectItselfIncludedAndStopsAtTheFirstBlockButTheFlagIsNotTested)
{
    VOB* wall = At(12.0f, 10.0f);
    VOB* tower = Place(new VOB("tower"), 11.0f, 11.0f);
    ProbeMover* m = Place(new ProbeMover("enemy", "map.wall"), 10.0f, 10.0f);
    EXPECT_EQ(m->Try(11.0f, 10.0f, false), std::vector<VOB*>{wall}) << "the wall comes first in the leaf";
    EXPECT_EQ(m->GetX(), 10.0f) << "a refused move leaves the position";
    m->blocker = "nothing";
    EXPECT_EQ(m->Try(11.0f, 10.0f, true), (std::vector<VOB*>{wall, tower, m}));
    EXPECT_EQ(m->GetX(), 11.0f);
    ProbeMover* flag = Place(new ProbeMover("flag", "map.wall"), 10.0f, 10.0f);
    EXPECT_EQ(flag->Try(12.0f, 10.0f, true), std::vector<VOB*>{});
    EXPECT_EQ(flag->GetX(), 12.0f);
}

TEST_F(VobTest, KillLeavesTheLeafButRemembersItAndADeadObjectDoesNotComeBack)
{
    At(50.0f, 50.0f);
    CMMPointer<ProbeMover> m = Place(new ProbeMover("enemy", "nothing"), 10.0f, 10.0f);
    SceneGraphNode* leaf = m->GetNode();
    m->Kill();
    EXPECT_EQ(std::make_tuple(m->GetNode(), leaf->GetObjects().size()), std::make_tuple(leaf, size_t{0}));
    EXPECT_EQ(m->GetRefCount(), 1) << "only the test holds it now";
    m->Try(40.0f, 40.0f, true);
    EXPECT_EQ(Count(), 1);
}

}  // namespace
