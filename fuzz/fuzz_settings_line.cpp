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
    velqfuzz::Check(settings.IsRegistered("screenX") && settings.IsRegistered("maxfps"),
                    "a standard setting went missing");
    // Unknown names are ignored, not remembered: the table keeps its five names.
    velqfuzz::Check(settings.CountNames() == 5, "an unknown name was added to the settings");
    return 0;
}
