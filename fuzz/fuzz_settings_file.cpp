// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file on arbitrary bytes, read by one manager for the whole run as the
// game reads it at start; each refusal names a line of the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>

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
    const std::string path = velqfuzz::WriteInput("settings.esf", data, size);
    CVideoTask::scrWidth = 800;
    CVideoTask::scrHeight = 600;
    CVideoTask::scrBPP = 16;
    CVideoTask::fullscreen = 1;
    CKernel::maxFps = 0;
    CSettingsManager& settings = CSettingsManager::GetSingleton();
    CFileNotes notes;
    settings.ParseFile(path);
    velqfuzz::CheckSettings(6);
    // What velq --check prints: each refused line at its own number in the file.
    const long lines = 1 + std::count(data, data + size, '\n');
    for (const FileNote& note : notes.Notes())
        velqfuzz::Check(note.error && note.line >= 1 && note.line <= lines, "a refusal at no line of the file");
    return 0;
}
