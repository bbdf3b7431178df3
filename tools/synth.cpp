// SPDX-License-Identifier: GPL-3.0-or-later
// Oscillators, filters and clean-up of synthesised sounds.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

float NoteHz(int midi) { return 440.0f * std::pow(2.0f, (midi - 69) / 12.0f); }

float Saw(float phase) { return 2.0f * (phase - std::floor(phase)) - 1.0f; }

float Square(float phase, float width) { return (phase - std::floor(phase)) < width ? 1.0f : -1.0f; }

float Triangle(float phase) {
    const float p = phase - std::floor(phase);
    return p < 0.5f ? 4 * p - 1 : 3 - 4 * p;
}

float LowPass::Run(float x, float cutoffHz, float rate) {
    const float a = 1.0f - std::exp(-kTwoPi * cutoffHz / rate);
    y += a * (x - y);
    return y;
}

float BandPass::Run(float x, float centreHz, float q, float rate) {
    const float f = 2.0f * std::sin(3.14159265f * std::min(centreHz, rate / 6) / rate);
    const float high = x - low - band / q;
    band += f * high;
    low += f * band;
    return band;
}

void Finish(std::vector<float>& s, float peak, int rate) {
    float top = 1e-9f;
    for (float v : s) top = std::max(top, std::fabs(v));
    const float k = peak / top;
    const size_t fade = static_cast<size_t>(rate / 200);  // 5 ms
    for (size_t i = 0; i < s.size(); ++i) {
        float g = k;
        if (i < fade) g *= static_cast<float>(i) / fade;
        if (s.size() - 1 - i < fade) g *= static_cast<float>(s.size() - 1 - i) / fade;
        s[i] *= g;
    }
}

}  // namespace assetgen
