// The five Ogg files decoded with libvorbisfile.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>

#include "asset_files.h"

using namespace assettest;

namespace {

struct Decoded {
    bool ok = false;
    int rate = 0, channels = 0;
    std::vector<float> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / channels : 0; }
    float Seconds() const { return rate ? static_cast<float>(Frames()) / rate : 0; }
};

Decoded Decode(const std::string& name) {
    Decoded d;
    OggVorbis_File vf;
    const std::string path = ResourceDir() + "/SFX/" + name;
    if (ov_fopen(path.c_str(), &vf) != 0) return d;
    const vorbis_info* info = ov_info(&vf, -1);
    d.rate = static_cast<int>(info->rate);
    d.channels = info->channels;
    const ogg_int64_t total = ov_pcm_total(&vf, -1);
    int section = 0;
    float** pcm = nullptr;
    long n;
    while ((n = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < d.channels; ++c) d.samples.push_back(pcm[c][i]);
    ov_clear(&vf);
    d.ok = n == 0 && static_cast<ogg_int64_t>(d.Frames()) == total;
    return d;
}

float Peak(const Decoded& d) {
    float p = 0;
    for (float v : d.samples) p = std::max(p, std::fabs(v));
    return p;
}

}  // namespace

TEST(Sounds, EveryEffectDecodesIsShortAudibleAndStartsAndEndsQuietly) {
    for (const char* name : {"dsplasma.ogg", "shotgun.ogg", "dsrxplod.ogg", "dsrlaunc.ogg"}) {
        SCOPED_TRACE(name);
        const Decoded d = Decode(name);
        ASSERT_TRUE(d.ok);
        EXPECT_TRUE(d.rate == 22050 || d.rate == 44100) << d.rate;
        EXPECT_TRUE(d.Seconds() > 0.1f && d.Seconds() < 3.0f) << d.Seconds();
        EXPECT_TRUE(Peak(d) > 0.3f && Peak(d) <= 1.0f) << Peak(d);
        EXPECT_TRUE(std::fabs(d.samples.front()) < 0.05f && std::fabs(d.samples.back()) < 0.05f);
    }
    // The rocket's launch and its explosion must not sound alike: the explosion lasts longer.
    EXPECT_GT(Decode("dsrxplod.ogg").Seconds(), Decode("dsrlaunc.ogg").Seconds());
}

TEST(Sounds, MusicLastsAtLeastTwentySecondsAndLoopsWithoutAClick) {
    const Decoded d = Decode("music.ogg");
    ASSERT_TRUE(d.ok);
    EXPECT_TRUE(d.rate == 22050 || d.rate == 44100) << d.rate;
    EXPECT_GE(d.Seconds(), 20.0f);
    float rms = 0;
    for (float v : d.samples) rms += v * v;
    rms = std::sqrt(rms / d.samples.size());
    EXPECT_GT(rms, 0.05f) << "too quiet to hear";
    EXPECT_LE(Peak(d), 1.0f);
    // The step from the last sample back to the first is no bigger than the music's own.
    for (int c = 0; c < d.channels; ++c) {
        std::vector<float> steps;
        for (size_t i = 1; i < d.Frames(); ++i)
            steps.push_back(std::fabs(d.samples[i * d.channels + c] - d.samples[(i - 1) * d.channels + c]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        const float usual = steps[steps.size() * 99 / 100];
        const float seam = std::fabs(d.samples[c] - d.samples[(d.Frames() - 1) * d.channels + c]);
        EXPECT_LE(seam, usual) << "channel " << c;
    }
}
