// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a walking mover may take its next position: walls and enemies block it, and
// it slides along what it touches.
#include <cmath>
#include <iostream>
#include <string>

#include "gameplay/convex.h"
#include "gameplay/gamerules.h"
#include "world/vob.h"

namespace {

// A tenth more than the two bounding radii, so the exact test sees every pair that
// might touch.
constexpr double kRadiusMargin = 1.1;

// The exact test of both boxes, each placed at its object's next position.
bool BoxesIntersect(VOB& a, VOB& b)
{
    if (!a.MoveModelBox() || !b.MoveModelBox())
        return false;
    ConvexQuery query = MakeConvexQuery(a.GetModel().GetHull(), b.GetModel().GetHull());
    return HullsIntersect(query);
}

}  // namespace

bool CGameRules::CollidesWith(VMOB& mover, VOB& other)
{
    // Only walls and enemies block; towers, the flag, the player and shots are walked
    // through, and nothing blocks its own kind (itself included), so enemies pass
    // through enemies.
    const VOBKind otherKind = other.GetKind();
    if (otherKind != VOBKind::Wall && otherKind != VOBKind::Enemy)
        return false;
    if (otherKind == mover.GetKind())
        return false;

    MD2Model& own = mover.GetModel();
    MD2Model& theirs = other.GetModel();
    if (!own.IsLoaded() || !theirs.IsLoaded()) {
        std::cout << "can't check radius between " << mover.GetType() << " and " << other.GetType() << "\n";
        return false;
    }
    const double gapX = std::fabs(other.GetX() - mover.GetNextX());
    const double gapY = std::fabs(other.GetY() - mover.GetNextY());
    const double reach = kRadiusMargin * (own.GetBoundingRadius() + theirs.GetBoundingRadius());
    if (std::sqrt(gapX * gapX + gapY * gapY) >= reach)
        return false;

    if (!BoxesIntersect(mover, other))
        return false;

    // Slide: drop the part of the move towards the side the obstacle mainly lies on,
    // keep the other; straight at a corner, drop both.
    const float dx = std::fabs(other.GetX() - mover.GetNextX());
    const float dy = std::fabs(other.GetY() - mover.GetNextY());
    if (dx == dy) {
        mover.SetNextX(mover.GetX());
        mover.SetNextY(mover.GetY());
    } else if (dy > dx) {
        mover.SetNextY(mover.GetY());
    } else {
        mover.SetNextX(mover.GetX());
    }
    // Only the slid move decides; the objects after this one test it in turn.
    return BoxesIntersect(mover, other);
}
