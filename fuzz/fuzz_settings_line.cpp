// One settings line (a command-line argument) of arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/kernel.h"
#include "engine/settings.h"
#include "engine/videotask.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    velqfuzz::SilenceConsole();
    new CSettingsManager();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CVideoTask::scrWidth = 800;
    CKernel::maxFps = 0;
    CSettingsManager& settings = CSettingsManager::GetSingleton();
    settings.ParseSetting(std::string(reinterpret_cast<const char*>(data), size));
    velqfuzz::CheckSettings();
    return 0;
}
