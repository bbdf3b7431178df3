// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: GLUT for two shapes, the application, the survivors' report.
#include <GL/freeglut.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/application.h"
#include "app/check.h"
#include "app/usage.h"
#include "engine/clock.h"
#include "engine/frametimes.h"
#include "engine/kernel.h"
#include "engine/log.h"
#include "engine/mmanager.h"
#include "engine/options.h"
#include "engine/recording.h"
#include "engine/settings.h"
#include "engine/text.h"

namespace {
void OnTerminate(int) { CKernel::RequestStop(); }

// The language catalogs: beside the program in the build (locale/), or where the
// installation keeps them, found from the program's own folder so that an installed
// tree may move as a whole.
std::string CatalogDir()
{
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    for (const char* below : {"locale", VELQ_CATALOGS_FROM_PROGRAM}) {
        std::error_code missing;
        if (!error && std::filesystem::is_directory(folder / below, missing))
            return (folder / below).lexically_normal().string();
    }
    return "locale";
}
}  // namespace

int main(int argc, char* argv[])
{
    const Options options = ParseOptions(argc, argv);
    if (!options.error.empty()) {
        std::cerr << options.error << "\n";
        return 2;
    }
    CLanguage::SetCatalogDir(CatalogDir());
    if (options.help) {
        // With the settings read, so that the keys listed are the ones in force. The
        // manager stays: its settings are the program's until it ends. The text is in
        // the language of the locale, English where the game has not that one.
        new CSettingsManager();
        CApplication::ReadSettings(options);
        CSettingsManager::GetSingleton().ReportUnknown();
        CLanguage::Choose(CLanguage::FromLocale("en"));
        std::cout << UsageText();
        return 0;
    }
    if (options.version) {
        std::cout << kVersionText << "\n";
        return 0;
    }
    // Before anything opens: the check needs no display and no sound card.
    if (options.check)
        return RunCheck(options.checkPaths, options.settings, std::cout);

    // A file that cannot be replayed is refused before anything opens or is written.
    if (!options.replay.empty() || !options.timedemo.empty()) {
        const bool timedemo = !options.timedemo.empty();
        const std::string error =
            CGameRecording::StartReplay(timedemo ? options.timedemo : options.replay, timedemo);
        if (!error.empty()) {
            std::cerr << "VELQ: cannot replay " << error << "\n";
            return 1;
        }
    }

    // GLUT cannot start without an X display; say so plainly instead of its own
    // terse failure.
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::cerr << "VELQ: no X display (DISPLAY is not set). Without a screen, run it under a virtual\n"
                     "X server with silent audio:  SDL_AUDIODRIVER=dummy xvfb-run ./velq\n";
        return 1;
    }
    glutInit(&argc, argv);
    std::cout << "hello world\n";

    // A terminating signal ends the run like the quit key, through the kernel.
    std::signal(SIGTERM, OnTerminate);
    std::signal(SIGINT, OnTerminate);

    // Deterministic runs (replays, end-to-end tests): a fixed clock step per frame.
    // A replay's clock comes from its file.
    const char* step = std::getenv("VELQ_FIXED_STEP_MS");
    if (step && CGameRecording::GetMode() == CGameRecording::Mode::kOff) {
        long ms = std::strtol(step, nullptr, 10);
        if (ms > 0 && ms <= 1000)
            CClock::DriveFixedStep(static_cast<uint32_t>(ms));
        else
            std::cerr << "VELQ_FIXED_STEP_MS must be 1 to 1000 milliseconds; using the real clock\n";
    }

    // The frame-rate benchmark's record of every frame.
    CFrameTimes::Open(std::getenv("VELQ_FRAME_TIMES"));

    new CApplication();
    const int exitCode = CApplication::GetSingleton().Run(options);
    delete &CApplication::GetSingleton();

    IMMObject::CollectRemainingObjects(true);
    CFrameTimes::Close();
    std::cout << "goodbye cruel world\n";
    CLog::GetSingleton().Flush();
    return exitCode;
}
