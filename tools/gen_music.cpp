// SPDX-License-Identifier: GPL-3.0-or-later
// The background music: 16 bars in A minor at 120 beats per minute (32 s),
// rendered into a circular buffer so that the tails of the last bar's notes
// sound over the first bar and the loop repeats without a seam.
#include <cmath>

#include "generators.h"
#include "ogg_writer.h"
#include "synth.h"

namespace assetgen {

namespace {

constexpr int kRate = 22050;
constexpr int kBeat = kRate / 2;  // 120 beats per minute
constexpr int kBars = 16;
constexpr int kLength = kBars * 4 * kBeat;

int Sixteenth(int bar, int step) { return bar * 4 * kBeat + (step * kBeat + 2) / 4; }

enum class Quality { Minor, Major };
struct Chord { int root; Quality quality; };  // root as MIDI note in the fourth octave
const Chord kChords[kBars] = {
    {57, Quality::Minor}, {53, Quality::Major}, {60, Quality::Major}, {55, Quality::Major},  // Am F C G
    {57, Quality::Minor}, {53, Quality::Major}, {55, Quality::Major}, {52, Quality::Major},  // Am F G E
    {53, Quality::Major}, {55, Quality::Major}, {52, Quality::Minor}, {57, Quality::Minor},  // F G Em Am
    {53, Quality::Major}, {55, Quality::Major}, {52, Quality::Major}, {52, Quality::Major},  // F G E E
};

// The lead melody of the second half: bar, start and length in sixteenths, note.
struct Note { int bar, step, length, midi; };
const Note kMelody[] = {
    {8, 0, 4, 76},  {8, 4, 4, 77},  {8, 8, 8, 81},   {9, 0, 4, 79},   {9, 4, 4, 77},  {9, 8, 8, 74},
    {10, 0, 6, 76}, {10, 6, 2, 74}, {10, 8, 8, 71},  {11, 0, 12, 72}, {11, 12, 4, 71}, {12, 0, 4, 69},
    {12, 4, 4, 72}, {12, 8, 8, 77}, {13, 0, 4, 76},  {13, 4, 4, 74},  {13, 8, 8, 71},  {14, 0, 8, 68},
    {14, 8, 8, 71}, {15, 0, 16, 76},
};

// Bass in eighths: offset from the chord root, or a rest.
constexpr int kRest = -99;
const int kBassLine[8] = {0, kRest, 0, 12, kRest, 0, 7, 0};

int Third(const Chord& c) { return c.quality == Quality::Minor ? 3 : 4; }

class Mixer {
public:
    Mixer() : left(kLength), right(kLength), send(kLength * 2) {}

    // Adds a mono voice at gain starting at sample start, panned (-1 left ..
    // 1 right), wrapping around the end of the loop; echo is the share sent to
    // the delay.
    void Add(const std::vector<float>& v, int start, float gain, float pan, float echo = 0) {
        const float l = gain * std::sqrt(0.5f * (1 - pan)), r = gain * std::sqrt(0.5f * (1 + pan));
        for (size_t i = 0; i < v.size(); ++i) {
            const size_t k = (static_cast<size_t>(start) + i) % kLength;
            left[k] += v[i] * l;
            right[k] += v[i] * r;
            send[2 * k] += v[i] * echo * l;
            send[2 * k + 1] += v[i] * echo * r;
        }
    }

    // Ping-pong delay of a dotted eighth, run around the loop until it settles,
    // then mixed in; interleaved stereo out, softly limited.
    std::vector<float> Render() {
        constexpr int kDelay = kBeat * 3 / 4;
        constexpr float kFeedback = 0.38f;
        std::vector<float> wet(send.size(), 0.0f);
        for (int pass = 0; pass < 6; ++pass)
            for (int i = 0; i < kLength; ++i) {
                const int j = (i - kDelay + kLength) % kLength;
                wet[2 * i] = send[2 * i] + kFeedback * wet[2 * j + 1];
                wet[2 * i + 1] = send[2 * i + 1] + kFeedback * wet[2 * j];
            }
        std::vector<float> out(send.size());
        float peak = 1e-6f;
        for (int i = 0; i < kLength; ++i) {
            out[2 * i] = std::tanh(left[i] + 0.6f * wet[2 * i]);
            out[2 * i + 1] = std::tanh(right[i] + 0.6f * wet[2 * i + 1]);
            peak = std::fmax(peak, std::fmax(std::fabs(out[2 * i]), std::fabs(out[2 * i + 1])));
        }
        for (float& v : out) v *= 0.8f / peak;
        return out;
    }

private:
    std::vector<float> left, right, send;
};

std::vector<float> Voice(float seconds) { return std::vector<float>(static_cast<size_t>(seconds * kRate)); }

// Soft string pad: two detuned saws through a low-pass, slow swell.
std::vector<float> Pad(int midi, float seconds, float detune) {
    auto v = Voice(seconds + 0.6f);
    LowPass lp, lp2;
    float a = 0, b = 0;
    const float f = NoteHz(midi);
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        a += f * (1 + detune) / kRate;
        b += f * (1 - detune) / kRate;
        const float env = std::fmin(1.0f, t / 0.3f) * (t < seconds ? 1.0f : std::exp(-(t - seconds) * 8));
        const float cutoff = 900 + 700 * std::fmin(1.0f, t / 1.5f);
        v[i] = lp2.Run(lp.Run(0.5f * (Saw(a) + Saw(b)), cutoff, kRate), cutoff, kRate) * env;
    }
    return v;
}

std::vector<float> Bass(int midi) {
    auto v = Voice(0.3f);
    LowPass lp;
    float p = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        p += NoteHz(midi) / kRate;
        const float env = std::fmin(1.0f, t / 0.004f) * std::exp(-t * 7) * (1 - SmoothStep(0.2f, 0.3f, t));
        v[i] = lp.Run(0.7f * Saw(p) + 0.5f * std::sin(kTwoPi * p), 300 + 1400 * std::exp(-t * 18), kRate) * env;
    }
    return v;
}

std::vector<float> Pluck(int midi) {
    auto v = Voice(0.5f);
    float p = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        p += NoteHz(midi) / kRate;
        const float env = std::fmin(1.0f, t / 0.002f) * std::exp(-t * 9) * (1 - SmoothStep(0.4f, 0.5f, t));
        v[i] = (0.7f * Triangle(p) + 0.3f * std::sin(2 * kTwoPi * p) * std::exp(-t * 20)) * env;
    }
    return v;
}

std::vector<float> Lead(int midi, float seconds) {
    auto v = Voice(seconds + 0.12f);
    float p = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float vibrato = 1 + 0.006f * SmoothStep(0.15f, 0.4f, t) * std::sin(kTwoPi * 5.5f * t);
        p += NoteHz(midi) * vibrato / kRate;
        const float env = std::fmin(1.0f, t / 0.012f) * (0.7f + 0.3f * std::exp(-t * 6)) *
                          (t < seconds ? 1.0f : std::exp(-(t - seconds) * 40));
        v[i] = (0.75f * Triangle(p) + 0.25f * Square(p, 0.3f)) * env;
    }
    return v;
}

std::vector<float> Kick() {
    auto v = Voice(0.3f);
    float p = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        p += (45 + 90 * std::exp(-t * 28)) / kRate;
        v[i] = std::sin(kTwoPi * p) * std::exp(-t * 11) * std::fmin(1.0f, t / 0.001f);
    }
    return v;
}

std::vector<float> Snare(uint64_t seed) {
    auto v = Voice(0.22f);
    Random rng(seed);
    BandPass bp;
    float p = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        p += 190.0f / kRate;
        v[i] = (1.2f * bp.Run(rng.Range(-1, 1), 1800, 0.8f, kRate) * std::exp(-t * 18) +
                0.5f * std::sin(kTwoPi * p) * std::exp(-t * 30)) *
               std::fmin(1.0f, t / 0.001f);
    }
    return v;
}

std::vector<float> Hat(uint64_t seed, float decay, float seconds) {
    auto v = Voice(seconds);
    Random rng(seed);
    LowPass lp;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kRate;
        const float n = rng.Range(-1, 1);
        v[i] = (n - lp.Run(n, 6000, kRate)) * std::exp(-t * decay) * std::fmin(1.0f, t / 0.001f);
    }
    return v;
}

}  // namespace

bool GenerateMusic(const std::string& root) {
    // Voice levels of the mix.
    constexpr float kPadGain = 0.09f, kBassGain = 0.32f, kArpGain = 0.08f, kLeadGain = 0.16f;
    constexpr float kKickGain = 0.55f, kSnareGain = 0.28f, kHatGain = 0.06f, kCrashGain = 0.07f;
    Mixer mix;
    const auto kick = Kick(), hat = Hat(7, 60, 0.08f), openHat = Hat(8, 12, 0.3f), crash = Hat(9, 2.5f, 1.6f);
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& c = kChords[bar];
        const bool second = bar >= 8;
        const int tones[3] = {c.root, c.root + Third(c), c.root + 7};
        for (int k = 0; k < 3; ++k)
            mix.Add(Pad(tones[k], 2.0f, 0.004f + 0.002f * k), Sixteenth(bar, 0), kPadGain, -0.4f + 0.4f * k);
        for (int e = 0; e < 8; ++e)
            if (kBassLine[e] != kRest) mix.Add(Bass(c.root - 24 + kBassLine[e]), Sixteenth(bar, 2 * e), kBassGain, 0);
        // Arpeggio: up and down in the first half, a rolling figure in the second.
        const int arp[4] = {tones[0] + 12, tones[1] + 12, tones[2] + 12, tones[0] + 24};
        for (int s = 0; s < 16; ++s) {
            const int idx = second ? (s * 3) % 4 : (s % 8 < 4 ? s % 4 : 7 - s % 8);
            mix.Add(Pluck(arp[idx]), Sixteenth(bar, s), kArpGain, (s % 2) ? 0.5f : -0.5f, 0.3f);
        }
        for (int beat = 0; beat < 4; ++beat) {
            if (beat % 2 == 0)
                mix.Add(kick, Sixteenth(bar, 4 * beat), kKickGain, 0);
            else
                mix.Add(Snare(100 + bar * 4 + beat), Sixteenth(bar, 4 * beat), kSnareGain, 0.1f, 0.15f);
        }
        if (bar % 4 == 3) mix.Add(kick, Sixteenth(bar, 14), kKickGain * 0.8f, 0);
        for (int s = 0; s < 16; s += second ? 1 : 2) {
            const bool open = second && s % 4 == 2;
            mix.Add(open ? openHat : hat, Sixteenth(bar, s), kHatGain * (s % 4 == 0 ? 1.2f : 0.8f), 0.3f);
        }
        if (bar % 8 == 0) mix.Add(crash, Sixteenth(bar, 0), kCrashGain, -0.2f);
    }
    for (const Note& n : kMelody)
        mix.Add(Lead(n.midi, n.length * kBeat / 4.0f / kRate), Sixteenth(n.bar, n.step), kLeadGain, 0.1f, 0.35f);
    return WriteOgg(root + "/SFX/music.ogg", mix.Render(), 2, kRate, 0.3f);
}

}  // namespace assetgen
