// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/viewvolume.h"

#include <algorithm>
#include <cmath>

namespace {

// Shapes this close outside a plane are kept: the GL clips in its own rounding.
constexpr float kSlack = 1e-3f;

}  // namespace

void MultiplyMatrices(const float a[16], const float b[16], float out[16])
{
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[col * 4 + k];
            out[col * 4 + row] = sum;
        }
    }
}

ViewVolume::ViewVolume() : planes{}
{
    // 0 x + 0 y + 0 z + 1 >= 0 holds everywhere.
    for (float* p : planes)
        p[3] = 1.0f;
}

void ViewVolume::Set(const float projection[16], const float modelview[16])
{
    float m[16];
    MultiplyMatrices(projection, modelview, m);
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

bool ViewVolume::ProjectBox(const float projection[16], const float modelview[16], const float lo[3],
                            const float hi[3], float rect[4])
{
    float m[16];
    MultiplyMatrices(projection, modelview, m);
    for (int corner = 0; corner < 8; ++corner) {
        const float p[3] = {(corner & 1) ? hi[0] : lo[0], (corner & 2) ? hi[1] : lo[1], (corner & 4) ? hi[2] : lo[2]};
        float clip[4];
        for (int row = 0; row < 4; ++row)
            clip[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
        // Not (w > 0) rather than (w <= 0): a NaN also gives no rectangle.
        if (!(clip[3] > kSlack))
            return false;
        const float x = clip[0] / clip[3], y = clip[1] / clip[3];
        if (!std::isfinite(x) || !std::isfinite(y))
            return false;
        if (corner == 0) {
            rect[0] = rect[2] = x;
            rect[1] = rect[3] = y;
        }
        rect[0] = std::min(rect[0], x), rect[2] = std::max(rect[2], x);
        rect[1] = std::min(rect[1], y), rect[3] = std::max(rect[3], y);
    }
    return true;
}
