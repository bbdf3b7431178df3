// Settings lines, the settings file's odd lines and settings of several values.
#include "engine/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/videotask.h"
#include "support/testutil.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Defaults();
        manager = new CSettingsManager();
    }
    void TearDown() override
    {
        delete manager;
        velqtest::CaptureCout quiet;
        IMMObject::CollectGarbage();
        Defaults();
    }
    static void Defaults() { CVideoTask::scrWidth = 800, CVideoTask::scrHeight = 600, CVideoTask::scrBPP = 16; }
    CSettingsManager* manager = nullptr;
    velqtest::TempDir dir;
};

TEST_F(SettingsTest, LinesSetTheirValueByBiasOrNumberAndIgnoreWhatTheyCannotRead)
{
    struct Case { std::vector<const char*> lines; int width, height, bpp; } const cases[] = {
        {{"screenX=640", "screenX=1280"}, 1280, 600, 16},  // the last one wins
        {{"+screenX", "screenY"}, 1, 0, 16},
        {{"+screenX", "-screenX"}, 0, 600, 16},
        // A single-valued setting takes the value as it is, whatever the bias.
        {{"-screenBPP=8"}, 800, 600, 8},
        {{"screenX = 1024", "SCREENX=1024", "fullscreen=1", "", "=5"}, 800, 600, 16},
        // Numbers are read up to the first character that cannot continue them.
        {{"screenX=1024x", "screenY=-7"}, 1024, -7, 16},
        {{"screenX=abc", "screenX=", "screenX= 640", "screenX=99999999999999999999"}, 800, 600, 16},
    };
    for (const Case& c : cases) {
        Defaults();
        for (const char* line : c.lines)
            manager->ParseSetting(line);
        EXPECT_EQ(std::vector<int>({CVideoTask::scrWidth, CVideoTask::scrHeight, CVideoTask::scrBPP}),
                  std::vector<int>({c.width, c.height, c.bpp}))
            << c.lines.front();
    }
    EXPECT_FALSE(manager->IsRegistered("screenX "));
    EXPECT_TRUE(manager->IsRegistered("screenX"));
}

// The file read before the command line is checked on the real program by the start-up end-to-end test.
TEST_F(SettingsTest, NeitherMissingFilesNorOverlongLinesStopTheReading)
{
    manager->ParseFile("/nonexistent/dir/settings.esf");
    EXPECT_EQ(CVideoTask::scrWidth, 800);
    // The long line is cut at 1023 characters: its number overflows and is refused.
    const std::string longLine = "screenBPP=24" + std::string(5000, '7');
    dir.Write("settings.esf", "screenX=1024\r\n" + std::string(3000, 'x') + "\n" + longLine +
                                  "\nscreenY=720\r\n");
    manager->ParseFile("settings.esf");
    EXPECT_TRUE(CVideoTask::scrWidth == 1024 && CVideoTask::scrHeight == 720 && CVideoTask::scrBPP == 16);
}

// A setting with several values: the bias decides how each ";" piece is applied.
struct SumDator : Dator<int> {
    using Dator<int>::Dator;
    bool hasMultipleValues() override { return true; }
};

TEST_F(SettingsTest, DatorsCompareAsTextAndMultipleValuesAreAppliedPieceByPieceWithTheBias)
{
    int value = 42, total = 0;
    CMMPointer<Dator<int>> d(new Dator<int>(value));
    std::string text = "42", other = "43", five = "5";
    EXPECT_TRUE(*d == text && *d != other);
    *d += five;
    *d -= five;
    *d -= five;
    EXPECT_EQ(value, 37);
    manager->RegisterVariable("total", CMMPointer<BaseDator>(new SumDator(total)));
    for (auto [line, want] : {std::pair{"+total=1;2;3", 6}, {"-total=1;;2", 3} /* the empty piece changes nothing */,
                              {"total=9;4", 4}}) {
        manager->ParseSetting(line);
        EXPECT_EQ(total, want) << line;
    }
}

}  // namespace
