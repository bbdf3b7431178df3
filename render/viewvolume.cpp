#include "render/viewvolume.h"

#include <cmath>

namespace {

// Shapes this close outside a plane are kept: the GL clips in its own rounding.
constexpr float kSlack = 1e-3f;

}  // namespace

ViewVolume::ViewVolume() : planes{}
{
    // 0 x + 0 y + 0 z + 1 >= 0 holds everywhere.
    for (float* p : planes)
        p[3] = 1.0f;
}

void ViewVolume::Set(const float projection[16], const float modelview[16])
{
    float m[16];  // projection x modelview, column-major
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += projection[k * 4 + row] * modelview[col * 4 + k];
            m[col * 4 + row] = sum;
        }
    }
    // A clip-space point is kept while -w <= x, y, z <= w: each bound is a plane of the
    // fourth row plus or minus one of the others.
    for (int i = 0; i < 6; ++i) {
        const int row = i / 2;
        const float sign = (i % 2 == 0) ? 1.0f : -1.0f;
        float* p = planes[i];
        for (int k = 0; k < 4; ++k)
            p[k] = m[k * 4 + 3] + sign * m[k * 4 + row];
        const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        if (length > 0.0f) {
            for (int k = 0; k < 4; ++k)
                p[k] /= length;
        } else {
            // A degenerate matrix: this plane keeps everything.
            p[0] = p[1] = p[2] = 0.0f;
            p[3] = 1.0f;
        }
    }
}

bool ViewVolume::SphereOutside(float x, float y, float z, float radius) const
{
    for (const float* p : planes) {
        if (p[0] * x + p[1] * y + p[2] * z + p[3] < -radius - kSlack)
            return true;
    }
    return false;
}

bool ViewVolume::BoxOutside(const float lo[3], const float hi[3]) const
{
    for (const float* p : planes) {
        // The corner furthest along the plane's normal.
        float distance = p[3];
        for (int k = 0; k < 3; ++k)
            distance += p[k] * (p[k] >= 0.0f ? hi[k] : lo[k]);
        if (distance < -kSlack)
            return true;
    }
    return false;
}
