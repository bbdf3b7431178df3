// SPDX-License-Identifier: GPL-3.0-or-later
// Building blocks of the sound synthesis: oscillators, envelopes, filters.
#pragma once

#include <vector>

#include "common.h"

namespace assetgen {

constexpr float kTwoPi = 6.28318531f;

float NoteHz(int midi);  // equal temperament, A4 = 69 = 440 Hz
float Saw(float phase);     // phase in cycles; band-limited only by the filters after it
float Square(float phase, float width = 0.5f);
float Triangle(float phase);

// One-pole low-pass; cutoff may change per sample.
class LowPass {
public:
    float Run(float x, float cutoffHz, float rate);

private:
    float y = 0;
};

// State-variable band-pass (Chamberlin), for sweeping noise.
class BandPass {
public:
    float Run(float x, float centreHz, float q, float rate);

private:
    float low = 0, band = 0;
};

// Scales to the given peak and fades the first and last milliseconds so the
// sound starts and stops without a click.
void Finish(std::vector<float>& samples, float peak, int rate);

}  // namespace assetgen
