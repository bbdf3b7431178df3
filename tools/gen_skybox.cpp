// SPDX-License-Identifier: GPL-3.0-or-later
// The six skybox faces, painted from one sky function of the view direction
// so that neighbouring faces meet without a seam.
#include <cmath>

#include "generators.h"
#include "image.h"

namespace assetgen {

namespace {

struct Dir { float x, y, z; };

// Face name, the direction through the picture's centre, and the directions of
// the picture's right and its up; +z is up in the world.
struct Face { const char* file; Dir forward, right, up; TgaKind kind; };
const Face kFaces[] = {
    {"skybox_west.tga",  {-1, 0, 0}, {0, -1, 0}, {0, 0, 1},  TgaKind::Rle24},
    {"skybox_south.tga", {0, -1, 0}, {1, 0, 0},  {0, 0, 1},  TgaKind::Raw24},
    {"skybox_east.tga",  {1, 0, 0},  {0, 1, 0},  {0, 0, 1},  TgaKind::Rle24},
    {"skybox_north.tga", {0, 1, 0},  {-1, 0, 0}, {0, 0, 1},  TgaKind::Raw24},
    {"skybox_up.tga",    {0, 0, 1},  {1, 0, 0},  {0, 1, 0},  TgaKind::Raw24},
    {"skybox_down.tga",  {0, 0, -1}, {1, 0, 0},  {0, -1, 0}, TgaKind::Rle24},
};
static_assert(sizeof(kFaces) / sizeof(kFaces[0]) == 6, "a cube has six faces");

Color Sky(Dir d) {
    const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    d = {d.x / len, d.y / len, d.z / len};
    const float azimuth = std::atan2(d.y, d.x);
    // Distant hills: a ridge line over the azimuth, periodic around the circle.
    const float ridge = 0.04f + 0.07f * Fbm((azimuth + 3.14159265f) * 2.0f, 0.5f, 91, 4, 13);
    if (d.z < ridge) {
        const Color hill = Rgb(52, 78, 62), haze = Rgb(150, 170, 178), ground = Rgb(44, 54, 40);
        if (d.z < 0) return Lerp(Lerp(hill, ground, 0.5f), ground, Clamp01(-d.z * 2));
        return Lerp(hill, haze, Clamp01(1.0f - (ridge - d.z) * 20.0f) * 0.5f);
    }
    const Color horizon = Rgb(196, 214, 226), zenith = Rgb(54, 104, 178);
    Color c = Lerp(horizon, zenith, std::pow(Clamp01(d.z), 0.6f));
    // Clouds on a flat layer above the viewer.
    const float px = d.x / (d.z + 0.15f) * 2.0f, py = d.y / (d.z + 0.15f) * 2.0f;
    const float cloud = SmoothStep(0.5f, 0.75f, Fbm(px + 50, py + 50, 17, 5));
    const float fade = SmoothStep(0.0f, 0.25f, d.z);
    return Lerp(c, Rgb(245, 245, 250), cloud * fade * 0.85f);
}

}  // namespace

bool GenerateSkybox(const std::string& root) {
    constexpr int kSize = 256;
    bool ok = true;
    for (const Face& f : kFaces) {
        Image img(kSize, kSize);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const float u = (x + 0.5f) / kSize * 2 - 1, v = 1 - (y + 0.5f) / kSize * 2;
                img.At(x, y) = Sky({f.forward.x + u * f.right.x + v * f.up.x, f.forward.y + u * f.right.y + v * f.up.y,
                                    f.forward.z + u * f.right.z + v * f.up.z});
            }
        ok = WriteTga(root + "/Textures/" + f.file, img, f.kind) && ok;
    }
    return ok;
}

}  // namespace assetgen
