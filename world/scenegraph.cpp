// SPDX-License-Identifier: GPL-3.0-or-later
// Quadtree insertion, splitting, relocation and the neighbourhood query.
#include "world/scenegraph.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "world/vob.h"

SceneGraphNode::SceneGraphNode()
    : parent(nullptr), children{}, side(kWorldSide), kind(kRoot), depth(1), quadrant(0)
{
    SetCorners(0.0f, 0.0f);
}

SceneGraphNode::SceneGraphNode(SceneGraphNode* parentNode, int q)
    : parent(parentNode), children{}, side(0.0f), kind(kLeaf), depth(parentNode->depth + 1), quadrant(q)
{
    // The side is halved as a whole number: 64, 32, 16, 8, 4, 2.
    side = static_cast<float>(static_cast<int>(parent->side) / 2);
    const float shiftX = (q == 2 || q == 3) ? side : 0.0f;
    const float shiftY = (q == 3 || q == 4) ? side : 0.0f;
    SetCorners(parent->corners[0][0] + shiftX, parent->corners[0][1] + shiftY);
}

SceneGraphNode::~SceneGraphNode()
{
    for (SceneGraphNode* child : children)
        delete child;
    for (const CMMPointer<VOB>& o : objects) {
        if (o->GetNode() == this)
            o->SetNode(nullptr);
    }
}

void SceneGraphNode::SetCorners(float minX, float minY)
{
    const float c[4][2] = {
        {minX, minY}, {minX + side, minY}, {minX + side, minY + side}, {minX, minY + side}};
    for (int i = 0; i < 4; ++i) {
        corners[i][0] = c[i][0];
        corners[i][1] = c[i][1];
        corners[i][2] = 0.0f;
    }
}

void SceneGraphNode::Insert(const CMMPointer<VOB>& object)
{
    if (!Contains(object->GetX(), object->GetY(), object->GetZ())) {
        if (!parent) {
            std::cout << "WARNING: VOB Out of SceneGraphRoot\n";
            return;
        }
        parent->Insert(object);
        return;
    }
    if (kind == kSplit) {
        for (SceneGraphNode* child : children) {
            if (child->Contains(object->GetX(), object->GetY(), object->GetZ())) {
                child->Insert(object);
                return;
            }
        }
        return;
    }
    Add(object);
}

void SceneGraphNode::Changed()
{
    for (SceneGraphNode* n = this; n; n = n->parent)
        n->subtreeListed = false;
}

void SceneGraphNode::Add(const CMMPointer<VOB>& object)
{
    objects.push_back(object);
    Changed();
    object->SetNode(this);
    if (depth >= kMaxDepth)
        return;
    const float limit = side / 2.0f;
    for (const CMMPointer<VOB>& p : objects) {
        const float dx = std::fabs(p->GetX() - object->GetX());
        const float dy = std::fabs(p->GetY() - object->GetY());
        if (std::sqrt(dx * dx + dy * dy) > limit) {
            Split();
            return;
        }
    }
}

void SceneGraphNode::Split()
{
    for (int q = 0; q < 4; ++q)
        children[q] = new SceneGraphNode(this, q + 1);
    // The list is taken first: a child's Add may split the child, never this node.
    VOBList moving;
    moving.swap(objects);
    kind = kSplit;
    Changed();
    for (const CMMPointer<VOB>& o : moving) {
        SceneGraphNode* home = nullptr;
        for (SceneGraphNode* child : children) {
            if (child->Contains(o->GetX(), o->GetY(), o->GetZ())) {
                home = child;
                break;
            }
        }
        // Insert, not Add: an earlier object may have split this child already.
        if (home)
            home->Insert(o);
        else if (o->GetNode() == this)
            o->SetNode(nullptr);  // only a position that is not a number gets here
    }
}

void SceneGraphNode::Remove(VOB* object)
{
    auto it = std::find(objects.begin(), objects.end(), object);
    if (it != objects.end()) {
        objects.erase(it);
        Changed();
    }
}

void SceneGraphNode::Relocate(VOB* object)
{
    if (Contains(object->GetX(), object->GetY(), object->GetZ()))
        return;
    auto it = std::find(objects.begin(), objects.end(), object);
    if (it == objects.end())
        return;
    // Keep the object alive while it is listed nowhere.
    CMMPointer<VOB> entry = *it;
    if (parent)
        parent->Insert(entry);
    else
        Insert(entry);  // the root itself: prints the warning
    // The insertion went to other nodes, but look the entry up again all the same.
    it = std::find(objects.begin(), objects.end(), object);
    if (it != objects.end()) {
        objects.erase(it);
        Changed();
    }
}

int SceneGraphNode::CollectObjects(VOBList& out) const
{
    if (kind == kSplit) {
        int count = 0;
        for (const SceneGraphNode* child : children)
            count += child->CollectObjects(out);
        return count;
    }
    out.insert(out.end(), objects.begin(), objects.end());
    return static_cast<int>(objects.size());
}

const VOBRefs& SceneGraphNode::Subtree() const
{
    if (!subtreeListed) {
        // A move that leaves its leaf changes one child on each level; the others'
        // lists are still good and are copied as they are.
        subtree.clear();
        for (const SceneGraphNode* child : children) {
            if (child->kind == kSplit) {
                const VOBRefs& below = child->Subtree();
                subtree.insert(subtree.end(), below.begin(), below.end());
                continue;
            }
            for (const CMMPointer<VOB>& o : child->objects)
                subtree.push_back(o);
        }
        subtreeListed = true;
    }
    return subtree;
}

int SceneGraphNode::CollectObjects(VOBRefs& out) const
{
    if (kind != kSplit) {
        for (const CMMPointer<VOB>& o : objects)
            out.push_back(o);
        return static_cast<int>(objects.size());
    }
    // The moves of one frame ask for the same few regions again and again, and only
    // a move that leaves its leaf, a new object or a killed one changes a region.
    const VOBRefs& all = Subtree();
    out.insert(out.end(), all.begin(), all.end());
    return static_cast<int>(all.size());
}

namespace {

constexpr int kCirclePoints = 16;

// Cosine and sine of the sixteen steps round the circle, as the C library gives them.
struct UnitCircle {
    float cosine[kCirclePoints];
    float sine[kCirclePoints];

    UnitCircle()
    {
        // A sixteenth of the circle, rounded to single precision before it is multiplied.
        // Read through a volatile, so that the compiler cannot work the values out itself
        // in a precision of its own: they are the library's, as on every query before.
        volatile float stepSource = static_cast<float>(3.14159265358979323846 / 8.0);
        const float step = stepSource;
        for (int i = 0; i < kCirclePoints; ++i) {
            const float angle = static_cast<float>(i) * step;
            cosine[i] = std::cos(angle);
            sine[i] = std::sin(angle);
        }
    }
};

}  // namespace

const SceneGraphNode* SceneGraphNode::RegionAround(const VOB* object, float radius) const
{
    static const UnitCircle circle;
    float points[kCirclePoints][2];
    // The box around the points: a node holds them all when it holds its corners.
    float lo[2] = {kWorldSide, kWorldSide};
    float hi[2] = {0.0f, 0.0f};
    bool numbers = true;
    for (int i = 0; i < kCirclePoints; ++i) {
        float p[2] = {object->GetX() + circle.cosine[i] * radius, object->GetY() + circle.sine[i] * radius};
        for (int c = 0; c < 2; ++c) {
            float& v = p[c];
            if (v < 0.0f)
                v = 0.0f;
            else if (v > kWorldSide)
                v = kWorldSide - 1.0f;
            numbers = numbers && v == v;
            lo[c] = std::min(lo[c], v);
            hi[c] = std::max(hi[c], v);
        }
        points[i][0] = p[0];
        points[i][1] = p[1];
    }
    const SceneGraphNode* region = this;
    while (region->parent) {
        bool coversAll = true;
        if (numbers) {
            coversAll = region->Contains(lo[0], lo[1], 0.0f) && region->Contains(hi[0], hi[1], 0.0f);
        } else {
            for (const auto& p : points) {
                if (!region->Contains(p[0], p[1], 0.0f)) {
                    coversAll = false;
                    break;
                }
            }
        }
        if (coversAll)
            break;
        region = region->parent;
    }
    return region;
}

void SceneGraphNode::GetNearby(VOBRefs& out, const VOB* object, float radius) const
{
    RegionAround(object, radius)->CollectObjects(out);
}

int SceneGraphNode::Dump() const
{
    std::cout << "depth: " << depth << "\n"
              << "type: " << kind << "\n"
              << "length: " << side << "\n"
              << "objects: " << objects.size() << "\n";
    int count = static_cast<int>(objects.size());
    if (kind == kSplit) {
        for (const SceneGraphNode* child : children)
            count += child->Dump();
    }
    if (depth == 1)
        std::cout << "Total Objects in SceneGraph: " << count << "\n";
    return count;
}

SceneGraph::SceneGraph() : root(new SceneGraphNode()) {}

SceneGraph::~SceneGraph() { delete root; }
