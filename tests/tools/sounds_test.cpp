// SPDX-License-Identifier: GPL-3.0-or-later
// The five Ogg files decoded with libvorbisfile.
#include <vorbis/vorbisfile.h>

#include "asset_files.h"

using namespace assettest;

namespace {

struct Decoded {
    int rate = 0, channels = 0;
    std::vector<float> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / channels : 0; }
    float Seconds() const { return rate ? static_cast<float>(Frames()) / rate : 0; }
    float Peak() const {
        float p = 0;
        for (float v : samples) p = std::max(p, std::fabs(v));
        return p;
    }
};

// Decodes the whole file at a rate the mixer takes; fails the test otherwise.
Decoded Decode(const std::string& name) {
    Decoded d;
    OggVorbis_File vf;
    const std::string path = ResourceDir() + "/SFX/" + name;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        ADD_FAILURE() << name << " does not open";
        return d;
    }
    d.rate = static_cast<int>(ov_info(&vf, -1)->rate);
    d.channels = ov_info(&vf, -1)->channels;
    const ogg_int64_t total = ov_pcm_total(&vf, -1);
    float** pcm = nullptr;
    long n;
    for (int section = 0; (n = ov_read_float(&vf, &pcm, 4096, &section)) > 0;)
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < d.channels; ++c) d.samples.push_back(pcm[c][i]);
    ov_clear(&vf);
    EXPECT_EQ(std::make_tuple(n, static_cast<ogg_int64_t>(d.Frames())), std::make_tuple(0, total))
        << name << " decodes short or with an error";
    EXPECT_TRUE(d.rate == 22050 || d.rate == 44100) << name << ": " << d.rate;
    EXPECT_LE(d.Peak(), 1.0f) << name;
    return d;
}

}  // namespace

TEST(Sounds, EveryEffectIsShortAudibleAndStartsAndEndsQuietly) {
    for (const char* name : {"dsplasma.ogg", "shotgun.ogg", "dsrxplod.ogg", "dsrlaunc.ogg"}) {
        SCOPED_TRACE(name);
        const Decoded d = Decode(name);
        ASSERT_TRUE(d.Seconds() > 0.1f && d.Seconds() < 3.0f) << d.Seconds();
        EXPECT_GT(d.Peak(), 0.3f);
        EXPECT_LT(std::max(std::fabs(d.samples.front()), std::fabs(d.samples.back())), 0.05f) << "the louder end";
    }
}

TEST(Sounds, MusicLastsAtLeastTwentySecondsAndLoopsWithoutAClick) {
    const Decoded d = Decode("music.ogg");
    ASSERT_GE(d.Seconds(), 20.0f);
    float rms = 0;
    for (float v : d.samples) rms += v * v;
    EXPECT_GT(std::sqrt(rms / d.samples.size()), 0.05f) << "too quiet to hear";
    // The step from the last sample back to the first is no bigger than the music's own.
    for (int c = 0; c < d.channels; ++c) {
        std::vector<float> steps;
        for (size_t i = 1; i < d.Frames(); ++i)
            steps.push_back(std::fabs(d.samples[i * d.channels + c] - d.samples[(i - 1) * d.channels + c]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        const float seam = std::fabs(d.samples[c] - d.samples[(d.Frames() - 1) * d.channels + c]);
        EXPECT_LE(seam, steps[steps.size() * 99 / 100]) << "channel " << c;
    }
}
