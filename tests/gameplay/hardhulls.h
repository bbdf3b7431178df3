// SPDX-License-Identifier: GPL-3.0-or-later
// Two runs of the exact collision test that go round: a large flat octagon far out with a
// point above its middle, and a box thinner than the bound's scale with a point above its
// top face.
#pragma once

#include <array>
#include <vector>

namespace hardhulls {

using Point = std::array<double, 3>;
struct Box {
    double lo[3], hi[3];
};
inline const std::vector<Point> kOctagon = {
    {0x1.0a44ca18b1e59p+10, 0x1.792c5fefa29b9p+8, -0x1.07568a7ab5baap+8},
    {0x1.cca0e6d6500dep+9, 0x1.6982b161e1be6p+8, -0x1.097af5bb9db8p+9},
    {0x1.5f11ee6dea374p+9, 0x1.ec41e60f6dcd2p+8, -0x1.4827ee2a7dcb2p+9},
    {0x1.168484dc0d458p+9, 0x1.3ae481743ede8p+9, -0x1.43233b962c73cp+9},
    {0x1.0b4a6ea9fa935p+9, 0x1.a467bcf24c7b4p+9, -0x1.2a29106f72d99p+8},
    {0x1.5ea0ee592c3bdp+9, 0x1.aa87d32b172aap+9, 0x1.37e3e34c58ap+0},
    {0x1.d1ee44269af8p+9, 0x1.44e130d1c8318p+9, 0x1.a4842d9e0376p+3},
    {0x1.241849971f65cp+10, 0x1.a65052bbac1f2p+8, -0x1.2692dca420fap+3},
};
inline const Point kAboveOctagon = {0x1.aa1521c281be5p+9, 0x1.126cc94777fe2p+9, -0x1.31506514fb561p+8};
inline const Box kThin = {{48.688694775757398, 5.609082896954785, 51.5991175216963},
                          {48.722210427759549, 5.8467143444981868, 53.117887971013118}};
inline const Point kAboveThin = {48.715533444335421, 5.6305744376794644, 53.276388886906162};

}  // namespace hardhulls
