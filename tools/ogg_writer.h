// SPDX-License-Identifier: GPL-3.0-or-later
// Ogg Vorbis encoding of synthesised sound with libvorbis.
#pragma once

#include <string>
#include <vector>

#include "common.h"

namespace assetgen {

// Encodes interleaved samples (-1..1) at the given rate and channel count.
// The stream serial number is fixed, so the same samples give the same bytes.
Bytes EncodeOgg(const std::vector<float>& samples, int channels, int rate, float quality);
bool WriteOgg(const std::string& path, const std::vector<float>& samples, int channels, int rate, float quality = 0.4f);

}  // namespace assetgen
