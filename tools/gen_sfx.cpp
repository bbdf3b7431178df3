// SPDX-License-Identifier: GPL-3.0-or-later
// The four sound effects: laser, laser shotgun, explosion, rocket launch.
#include <cmath>

#include "generators.h"
#include "ogg_writer.h"
#include "synth.h"

namespace assetgen {

namespace {

constexpr int kRate = 22050;

std::vector<float> Buffer(float seconds) { return std::vector<float>(static_cast<size_t>(seconds * kRate)); }

// A bright zap falling in pitch, with a touch of vibrato.
std::vector<float> Laser() {
    auto s = Buffer(0.3f);
    LowPass tone;
    float phase = 0, sub = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float f = 1500.0f * std::exp(-t * 11) + 260 + 25 * std::sin(kTwoPi * 38 * t);
        phase += f / kRate;
        sub += 0.5f * f / kRate;
        const float env = std::min(1.0f, t / 0.004f) * std::exp(-t * 14);
        const float v = 0.6f * Square(phase, 0.35f) + 0.4f * std::sin(kTwoPi * sub);
        s[i] = tone.Run(v, 5000, kRate) * env;
    }
    Finish(s, 0.8f, kRate);
    return s;
}

// A crack of noise, a thump and three detuned zaps at once.
std::vector<float> Shotgun() {
    auto s = Buffer(0.6f);
    Random rng(21);
    BandPass crack;
    LowPass body;
    float p[3] = {0, 0, 0}, thump = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float noise = rng.Range(-1, 1);
        float v = 1.4f * crack.Run(noise, 2400, 1.2f, kRate) * std::exp(-t * 30);
        thump += (95.0f * std::exp(-t * 12) + 40) / kRate;
        v += 0.9f * std::sin(kTwoPi * thump) * std::exp(-t * 10);
        for (int k = 0; k < 3; ++k) {
            p[k] += (900.0f * (1 + 0.07f * k) * std::exp(-t * 7) + 180) / kRate;
            v += 0.25f * Saw(p[k]) * std::exp(-t * (9 + 2 * k));
        }
        s[i] = body.Run(v, 6000, kRate) * std::min(1.0f, t / 0.002f);
    }
    Finish(s, 0.85f, kRate);
    return s;
}

// A boom: low-passed noise whose cutoff falls, a sub-bass drop and crackle.
std::vector<float> Explosion() {
    auto s = Buffer(1.7f);
    Random rng(33);
    LowPass rumble, rumble2;
    float boom = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float cutoff = 200 + 3000 * std::exp(-t * 5);
        const float noise = rumble2.Run(rumble.Run(rng.Range(-1, 1), cutoff, kRate), cutoff * 1.5f, kRate);
        const float env = std::min(1.0f, t / 0.006f) * std::exp(-t * 2.6f);
        boom += (70.0f * std::exp(-t * 3) + 28) / kRate;
        float v = 3.0f * noise * env + 0.8f * std::sin(kTwoPi * boom) * std::exp(-t * 3.5f);
        if (rng.Unit() < 0.004f * std::exp(-t * 2)) v += rng.Range(-0.6f, 0.6f);  // crackle
        s[i] = std::tanh(1.5f * v);
    }
    Finish(s, 0.6f, kRate);  // noise overshoots after encoding; keep room below full scale
    return s;
}

// A rising whoosh of band-passed noise after a short thud.
std::vector<float> RocketLaunch() {
    auto s = Buffer(0.9f);
    Random rng(45);
    BandPass whoosh;
    LowPass hiss;
    float thud = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float centre = 350 + 2600 * (t / 0.9f) * (t / 0.9f);
        const float noise = rng.Range(-1, 1);
        const float env = std::min(1.0f, t / 0.04f) * (1.0f - SmoothStep(0.45f, 0.9f, t));
        float v = 1.6f * whoosh.Run(noise, centre, 2.5f, kRate) * env;
        v += 0.3f * hiss.Run(noise, 5000, kRate) * env * 0.5f;
        thud += (110.0f * std::exp(-t * 18) + 45) / kRate;
        v += 0.8f * std::sin(kTwoPi * thud) * std::exp(-t * 16);
        s[i] = v;
    }
    Finish(s, 0.8f, kRate);
    return s;
}

}  // namespace

bool GenerateEffects(const std::string& root) {
    // Noisy sounds need a high quality, or the coding error pushes peaks past full scale.
    constexpr float kQuality = 0.7f;
    const std::string dir = root + "/SFX/";
    bool ok = WriteOgg(dir + "dsplasma.ogg", Laser(), 1, kRate, kQuality);
    ok = WriteOgg(dir + "shotgun.ogg", Shotgun(), 1, kRate, kQuality) && ok;
    ok = WriteOgg(dir + "dsrxplod.ogg", Explosion(), 1, kRate, kQuality) && ok;
    ok = WriteOgg(dir + "dsrlaunc.ogg", RocketLaunch(), 1, kRate, kQuality) && ok;
    return ok;
}

}  // namespace assetgen
