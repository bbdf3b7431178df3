// SPDX-License-Identifier: GPL-3.0-or-later
// Byte output, directory creation, random numbers and noise for the generators.
#include "common.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace assetgen {

void ByteWriter::S32(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    U16(u & 0xffff);
    U16(u >> 16);
}

void ByteWriter::F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    U16(u & 0xffff);
    U16(u >> 16);
}

void ByteWriter::FixedString(const std::string& s, size_t width) {
    for (size_t i = 0; i < width; ++i) U8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "assetgen: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        std::fprintf(stderr, "assetgen: short write on %s\n", path.c_str());
        return false;
    }
    return true;
}

bool MakeDirectories(const std::string& path) {
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i != path.size() && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "assetgen: cannot create %s: %s\n", part.c_str(), std::strerror(errno));
            return false;
        }
    }
    return true;
}

uint32_t Random::Next() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return static_cast<uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 32);
}

float Hash2(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^
                 seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return (h & 0xffffff) * (1.0f / 16777215.0f);
}

static int Wrap(int v, int period) {
    if (period <= 0) return v;
    const int m = v % period;
    return m < 0 ? m + period : m;
}

float ValueNoise(float x, float y, uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    const int x0 = Wrap(ix, period), x1 = Wrap(ix + 1, period);
    const int y0 = Wrap(iy, period), y1 = Wrap(iy + 1, period);
    const float a = Hash2(x0, y0, seed), b = Hash2(x1, y0, seed);
    const float c = Hash2(x0, y1, seed), d = Hash2(x1, y1, seed);
    return Mix(Mix(a, b, sx), Mix(c, d, sx), sy);
}

float Fbm(float x, float y, uint32_t seed, int octaves, int period) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * ValueNoise(x, y, seed + 131u * o, period);
        norm += amp;
        amp *= 0.5f;
        x *= 2;
        y *= 2;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float SmoothStep(float e0, float e1, float x) {
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

float Mix(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace assetgen
