// SPDX-License-Identifier: GPL-3.0-or-later
// The quadtree over the ground square that answers "what lies around this object".
#pragma once

#include <vector>

#include "engine/mmanager.h"
#include "engine/singleton.h"

class VOB;

using VOBList = std::vector<CMMPointer<VOB>>;
// Objects a query found, not held: each stays alive while the scene graph lists it, and
// an object let go during the frame lives until the frame's end, so such a list is good
// for the rest of the frame and no longer.
using VOBRefs = std::vector<VOB*>;

class SceneGraphNode {
public:
    static constexpr float kWorldSide = 64.0f;
    static constexpr int kMaxDepth = 6;  // nodes this deep are never split

    // Node kinds.
    static constexpr int kRoot = 0;   // the root while it is not split
    static constexpr int kSplit = 1;  // has four children, lists nothing itself
    static constexpr int kLeaf = 2;   // a leaf below the root

    // The root square 0..64.
    SceneGraphNode();
    // Quadrant 1..4 of parent.
    SceneGraphNode(SceneGraphNode* parent, int quadrant);
    // Frees the subtree; objects listed here forget their node.
    ~SceneGraphNode();
    SceneGraphNode(const SceneGraphNode&) = delete;
    SceneGraphNode& operator=(const SceneGraphNode&) = delete;

    // Places the object by its position; outside the root square it is not inserted
    // and a warning is printed.
    void Insert(const CMMPointer<VOB>& object);
    // Erases the object from this node's own list; nothing if it is not there.
    void Remove(VOB* object);
    // Re-places an object of this node's list after it moved out of the square.
    void Relocate(VOB* object);
    // Appends every object of the subtree; returns how many. The plain-pointer version
    // of a split node keeps the list of its subtree from one call to the next while
    // nothing below it changes; the other walks the subtree each time.
    int CollectObjects(VOBList& out) const;
    int CollectObjects(VOBRefs& out) const;
    // Appends the objects of the smallest region, from this node upwards, that covers
    // the circle of the radius around the object (the object included).
    void GetNearby(VOBRefs& out, const VOB* object, float radius) const;
    // Prints the subtree; returns its object count.
    int Dump() const;

    // Both bounds inclusive, so a point on a shared edge lies in both siblings; z is
    // not looked at.
    bool Contains(float x, float y, float) const
    {
        return corners[0][0] <= x && x <= corners[2][0] && corners[0][1] <= y && y <= corners[2][1];
    }
    SceneGraphNode* GetParent() const { return parent; }
    SceneGraphNode* GetChild(int quadrant) const { return children[quadrant - 1]; }
    int GetDepth() const { return depth; }
    float GetSide() const { return side; }
    int GetKind() const { return kind; }
    int GetQuadrant() const { return quadrant; }
    float GetMinX() const { return corners[0][0]; }
    float GetMinY() const { return corners[0][1]; }
    const VOBList& GetObjects() const { return objects; }

private:
    void SetCorners(float minX, float minY);
    // Lists the object here and splits when it lies too far from the others.
    void Add(const CMMPointer<VOB>& object);
    void Split();
    // This node's list changed: the kept lists of the nodes above it are out of date.
    void Changed();
    // A split node's subtree, quadrant by quadrant, made again from its children's
    // lists when it is out of date.
    const VOBRefs& Subtree() const;
    // The smallest region, from this node upwards, that covers the circle.
    const SceneGraphNode* RegionAround(const VOB* object, float radius) const;

    SceneGraphNode* parent;
    SceneGraphNode* children[4];
    float corners[4][3];
    float side;
    int kind;
    VOBList objects;
    int depth;
    int quadrant;
    // A split node's subtree as CollectObjects gives it, good while subtreeListed is set:
    // whatever changes a list below clears the flag here and in every node above.
    mutable VOBRefs subtree;
    mutable bool subtreeListed = false;
};

// Owns the quadtree of the current level; a new level gets a new one.
class SceneGraph : public CSingleton<SceneGraph> {
public:
    SceneGraph();
    // Frees the tree. Objects it lists forget their node; any other object that still
    // names a node of this tree must be detached before (GameWorld does it for its lists).
    ~SceneGraph();

    SceneGraphNode* GetRoot() const { return root; }

private:
    SceneGraphNode* root;
};
