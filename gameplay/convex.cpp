// Stand-in until the distance routine lands: the hulls are axis-aligned boxes, so the
// boxes of their points decide.
#include "gameplay/convex.h"

#include <algorithm>

#include "world/md2model.h"

ConvexQuery MakeConvexQuery(const ModelHull& a, const ModelHull& b)
{
    ConvexQuery q;
    q.hullA = &a;
    q.hullB = &b;
    return q;
}

namespace {
void Bounds(const ModelHull& h, double lo[3], double hi[3])
{
    for (int k = 0; k < 3; ++k) {
        lo[k] = 1e300;
        hi[k] = -1e300;
    }
    for (int i = 0; i < h.vertexCount; ++i) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], h.vertices[i][k] + h.translation[k]);
            hi[k] = std::max(hi[k], h.vertices[i][k] + h.translation[k]);
        }
    }
}
}  // namespace

bool HullsIntersect(ConvexQuery& query)
{
    double loA[3], hiA[3], loB[3], hiB[3];
    Bounds(*query.hullA, loA, hiA);
    Bounds(*query.hullB, loB, hiB);
    for (int k = 0; k < 3; ++k) {
        if (loA[k] - hiB[k] >= 1e-5 || loB[k] - hiA[k] >= 1e-5)
            return false;
    }
    return query.hullA->vertexCount > 0 && query.hullB->vertexCount > 0;
}
