// Inputs the fuzzers found, fed to the engine's readers again: each is refused or
// ignored cleanly and leaves the settings as they were.
#include <gtest/gtest.h>

#include <string>

#include "engine/kernel.h"
#include "engine/settings.h"
#include "engine/videotask.h"
#include "support/testutil.h"

namespace {

const std::string kData = VELQ_FUZZ_REGRESSIONS;

TEST(FuzzRegression, SettingsOfUnknownNamesChangeNothingAndAddNoName)
{
    struct Case {
        const char* file;
        bool wholeFile;  // read as a settings file, else as one settings line
    };
    const Case cases[] = {
        {"settings/empty.line", false},        // the empty name was kept as a new entry
        {"settings/unknown-names.esf", true},  // one entry per unknown line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        CVideoTask::scrWidth = 800;
        CVideoTask::fullscreen = 1;
        CKernel::maxFps = 0;
        auto* manager = new CSettingsManager();
        const std::size_t names = manager->CountNames();
        const std::string path = kData + "/" + c.file;
        if (c.wholeFile)
            manager->ParseFile(path);
        else
            manager->ParseSetting(velqtest::ReadFile(path));
        EXPECT_EQ(manager->CountNames(), names);
        EXPECT_EQ(CVideoTask::scrWidth, 800);
        EXPECT_EQ(CVideoTask::fullscreen, 1);
        EXPECT_EQ(CKernel::maxFps, 0);
        delete manager;
        velqtest::CaptureCout quiet;
        IMMObject::CollectGarbage();
    }
}

}  // namespace
