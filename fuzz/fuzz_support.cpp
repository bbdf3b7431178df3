// SPDX-License-Identifier: GPL-3.0-or-later
// Scratch directory, silenced console and contract checks of the fuzz targets.
#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <streambuf>

#include "engine/inputtask.h"
#include "engine/kernel.h"
#include "engine/settings.h"
#include "engine/videotask.h"

namespace velqfuzz {

namespace {

std::string scratch;
std::string home;  // the working directory the scratch directory is entered from

void RemoveScratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

// Swallows everything written to it.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace

const std::string& ScratchDir()
{
    if (scratch.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velqfuzz-XXXXXX";
        if (!mkdtemp(&pattern[0]))
            Fail("cannot make the scratch directory");
        scratch = pattern;
        std::atexit(RemoveScratch);
    }
    return scratch;
}

std::string WriteInput(const std::string& relative, const uint8_t* data, size_t size)
{
    const std::filesystem::path path = std::filesystem::path(ScratchDir()) / relative;
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
        Fail("cannot write the input file");
    return path.string();
}

InScratch::InScratch()
{
    if (home.empty())
        home = std::filesystem::current_path().string();
    if (chdir(ScratchDir().c_str()) != 0)
        Fail("cannot enter the scratch directory");
}

InScratch::~InScratch()
{
    if (chdir(home.c_str()) != 0)
        Fail("cannot leave the scratch directory");
}

void SilenceConsole()
{
    if (std::getenv("VELQ_FUZZ_VERBOSE"))
        return;
    static NullBuffer nothing;
    std::cout.rdbuf(&nothing);
    std::cerr.rdbuf(&nothing);
}

void Fail(const char* what)
{
    std::fprintf(stderr, "velq fuzz: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

void VerdictNotes::Check(bool accepted) const
{
    const std::vector<FileNote>& notes = listen.Notes();
    const bool error = std::any_of(notes.begin(), notes.end(), [](const FileNote& n) { return n.error; });
    velqfuzz::Check(error != accepted, accepted ? "an error said about a file taken" : "a file refused without an error");
}

void CheckSettings(size_t names)
{
    CSettingsManager& settings = CSettingsManager::GetSingleton();
    settings.SetReporter([](const std::string& line) {
        for (char c : line)
            Check(c >= 0x20 && c < 0x7f, "a report is not one line of printable text");
    });
    settings.ReportUnknown();
    for (const char* name : {"screenX", "screenY", "screenBPP", "fullscreen", "maxfps", "pad"})
        Check(settings.IsRegistered(name), "a standard setting went missing");
    Check(settings.CountNames() == names, "an unknown name was added to the settings");
    const int w = CVideoTask::scrWidth, h = CVideoTask::scrHeight, bpp = CVideoTask::scrBPP;
    Check(w >= 1 && w <= 16384 && h >= 1 && h <= 16384 && (bpp == 16 || bpp == 24 || bpp == 32) &&
              (CVideoTask::fullscreen == 0 || CVideoTask::fullscreen == 1) && CKernel::maxFps >= 0 &&
              (CInputTask::padOn == 0 || CInputTask::padOn == 1),
          "a setting took a value outside its range");
}

}  // namespace velqfuzz
