// SPDX-License-Identifier: GPL-3.0-or-later
// One settings line (a command-line argument) of arbitrary bytes, with the game's
// volumes and key bindings registered next to the engine's settings: every binding
// holds one or two inputs there are, or none.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/kernel.h"
#include "engine/settings.h"
#include "engine/inputnames.h"
#include "engine/videotask.h"
#include "fuzz/fuzz_support.h"
#include "gameplay/bindings.h"
#include "gameplay/handleinputtask.h"
#include "world/soundmanager.h"

namespace {
size_t names = 0;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    velqfuzz::SilenceConsole();
    new CSettingsManager();
    CHandleInputTask::RegisterSettings(CSettingsManager::GetSingleton());
    names = CSettingsManager::GetSingleton().CountNames();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CVideoTask::scrWidth = 800;
    CKernel::maxFps = 0;
    CSettingsManager& settings = CSettingsManager::GetSingleton();
    settings.ParseSetting(std::string(reinterpret_cast<const char*>(data), size));
    velqfuzz::CheckSettings(names);
    velqfuzz::Check(SoundManager::volumeFX >= 0 && SoundManager::volumeFX <= 100 &&
                        SoundManager::volumeMusic >= 0 && SoundManager::volumeMusic <= 100,
                    "a volume outside 0 to 100");
    for (int a = 0; a < CBindings::kActions; ++a) {
        for (int d = 0; d < CBindings::kDevices; ++d) {
            const std::string bound = CBindings::Names(static_cast<Action>(a), static_cast<CBindings::Device>(d));
            velqfuzz::Check(bound == "none" || FindInput(bound) >= 0 || bound.find(',') != std::string::npos,
                            "a binding holds no input");
        }
    }
    CBindings::Reset();
    return 0;
}
