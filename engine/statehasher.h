// SPDX-License-Identifier: GPL-3.0-or-later
// 64-bit FNV-1a over the values that make up a state: a recorded game's frames, the
// still part of the drawn scene.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CStateHasher {
public:
    void Bytes(const void* data, size_t n)
    {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < n; ++i) {
            value ^= p[i];
            value *= 1099511628211ull;
        }
    }
    void U32(uint32_t v) { Bytes(&v, sizeof v); }
    void I32(int32_t v) { Bytes(&v, sizeof v); }
    // By bit pattern: -0 and 0 differ, as do two NaNs of different payload.
    void F32(float v) { Bytes(&v, sizeof v); }
    // The length first, so that "ab" + "c" and "a" + "bc" differ.
    void Str(const std::string& s)
    {
        U32(static_cast<uint32_t>(s.size()));
        Bytes(s.data(), s.size());
    }
    uint64_t Value() const { return value; }

private:
    uint64_t value = 14695981039346656037ull;
};
