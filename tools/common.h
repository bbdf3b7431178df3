// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the asset generators: byte output, a fixed random
// sequence and smooth noise, so that every run writes the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

using Bytes = std::vector<uint8_t>;

// Appends little-endian numbers and fixed-width strings to a byte vector.
class ByteWriter {
public:
    void U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) { U8(v & 0xff); U8((v >> 8) & 0xff); }
    void S16(int v) { U16(static_cast<uint16_t>(static_cast<int16_t>(v))); }
    void S32(int32_t v);
    void F32(float v);
    // Writes s and pads with zero bytes to exactly width bytes (s is cut if longer).
    void FixedString(const std::string& s, size_t width);
    size_t Size() const { return bytes.size(); }
    Bytes bytes;
};

// Writes the bytes to path; prints a message and returns false on failure.
bool WriteFile(const std::string& path, const Bytes& bytes);
// Creates path and its parents; returns false when that fails.
bool MakeDirectories(const std::string& path);

// A small fixed generator (xorshift64*); the same seed gives the same numbers
// on every machine, unlike rand().
class Random {
public:
    explicit Random(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next();
    float Unit() { return (Next() >> 8) * (1.0f / 16777216.0f); }  // 0 <= u < 1
    float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }
    int Int(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint64_t state;
};

// Hash of integer lattice coordinates to 0..1, the basis of the noise below.
float Hash2(int x, int y, uint32_t seed);
// Smooth value noise in 0..1 with a lattice of one unit; wraps every period
// lattice steps when period > 0, so tiles repeat without a seam.
float ValueNoise(float x, float y, uint32_t seed, int period = 0);
// Sum of octaves of value noise, normalised to 0..1.
float Fbm(float x, float y, uint32_t seed, int octaves, int period = 0);

float Clamp01(float v);
float SmoothStep(float e0, float e1, float x);
float Mix(float a, float b, float t);

}  // namespace assetgen
