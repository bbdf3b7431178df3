// SPDX-License-Identifier: GPL-3.0-or-later
// Frame timestamps from the steady clock, kept in memory until exit.
#include "engine/frametimes.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Recording {
    std::string path;
    std::vector<float> frameMs;  // reserved once: recording allocates nothing per frame
    std::vector<int> frameLoad;
    Clock::time_point last;
    long long firstFrameWallMs = -1;  // Unix time of the first shown frame, ms
};
Recording* recording = nullptr;

}  // namespace

std::function<int()> CFrameTimes::load;

void CFrameTimes::Open(const char* path)
{
    if (!path || !*path || recording)
        return;
    recording = new Recording();
    recording->path = path;
    recording->frameMs.reserve(1 << 20);
    recording->frameLoad.reserve(1 << 20);
}

void CFrameTimes::FrameShown()
{
    if (!recording)
        return;
    const Clock::time_point now = Clock::now();
    if (recording->firstFrameWallMs < 0) {
        recording->firstFrameWallMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::system_clock::now().time_since_epoch())
                                          .count();
    } else if (recording->frameMs.size() < recording->frameMs.capacity()) {
        recording->frameMs.push_back(std::chrono::duration<float, std::milli>(now - recording->last).count());
        if (load)
            recording->frameLoad.push_back(load());
    }
    recording->last = now;
}

bool CFrameTimes::Close()
{
    if (!recording)
        return true;
    std::FILE* f = std::fopen(recording->path.c_str(), "w");
    bool ok = f != nullptr;
    if (f) {
        std::fprintf(f, "first_frame_unix_ms %lld\n", recording->firstFrameWallMs);
        const std::vector<float>& ms = recording->frameMs;
        const std::vector<int>& counts = recording->frameLoad;
        for (size_t i = 0; i < ms.size(); ++i) {
            if (i < counts.size())
                std::fprintf(f, "%.3f %d\n", ms[i], counts[i]);
            else
                std::fprintf(f, "%.3f\n", ms[i]);
        }
        ok = std::fclose(f) == 0;
    }
    if (!ok)
        std::fprintf(stderr, "VELQ: cannot write the frame times to %s\n", recording->path.c_str());
    delete recording;
    recording = nullptr;
    return ok;
}
