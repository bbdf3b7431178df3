// SPDX-License-Identifier: GPL-3.0-or-later
// The space a pass's camera sees, as six planes in world coordinates, and whether a
// sphere or a box lies wholly outside it. Needs no OpenGL: the planes come from the
// pass's projection and modelview matrices (column-major, as GL keeps them).
#pragma once

// out = a x b for column-major 4 x 4 matrices, as the GL multiplies them.
void MultiplyMatrices(const float a[16], const float b[16], float out[16]);

class ViewVolume {
public:
    // Sees everything until Set is called.
    ViewVolume();

    // The volume of projection x modelview: what the GL would keep of a point given
    // under that modelview.
    void Set(const float projection[16], const float modelview[16]);

    // True only when nothing of the sphere or box can reach the picture. Both are
    // tested against each plane alone, so a shape beside a corner of the volume may be
    // kept although it is outside: it is then clipped as before.
    bool SphereOutside(float x, float y, float z, float radius) const;
    bool BoxOutside(const float lo[3], const float hi[3]) const;

    // The rectangle (x0, y0, x1, y1) in normalized device coordinates that covers a box
    // seen through projection x modelview; false when part of the box lies at or behind
    // the eye, where no such rectangle exists.
    static bool ProjectBox(const float projection[16], const float modelview[16], const float lo[3],
                           const float hi[3], float rect[4]);

private:
    float planes[6][4];  // a x + b y + c z + d >= 0 inside, (a, b, c) of unit length
};
