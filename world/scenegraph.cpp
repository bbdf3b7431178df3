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

bool SceneGraphNode::Contains(float x, float y, float) const
{
    // Both bounds inclusive: a point on a shared edge lies in both siblings.
    return corners[0][0] <= x && x <= corners[2][0] && corners[0][1] <= y && y <= corners[2][1];
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

void SceneGraphNode::Add(const CMMPointer<VOB>& object)
{
    objects.push_back(object);
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
    if (it != objects.end())
        objects.erase(it);
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
    if (it != objects.end())
        objects.erase(it);
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

void SceneGraphNode::GetNearby(VOBList& out, const VOB* object, float radius) const
{
    constexpr int kPoints = 16;
    // A sixteenth of the circle, rounded to single precision before it is multiplied.
    const float step = static_cast<float>(3.14159265358979323846 / 8.0);
    float points[kPoints][2];
    for (int i = 0; i < kPoints; ++i) {
        const float angle = static_cast<float>(i) * step;
        float p[2] = {object->GetX() + std::cos(angle) * radius, object->GetY() + std::sin(angle) * radius};
        for (float& v : p) {
            if (v < 0.0f)
                v = 0.0f;
            else if (v > kWorldSide)
                v = kWorldSide - 1.0f;
        }
        points[i][0] = p[0];
        points[i][1] = p[1];
    }
    const SceneGraphNode* region = this;
    while (region->parent) {
        bool coversAll = true;
        for (const auto& p : points) {
            if (!region->Contains(p[0], p[1], 0.0f)) {
                coversAll = false;
                break;
            }
        }
        if (coversAll)
            break;
        region = region->parent;
    }
    region->CollectObjects(out);
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
