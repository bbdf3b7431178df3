// Settings lines, the settings file and the command line applied after it.
#include "engine/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/videotask.h"
#include "support/testutil.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CVideoTask::scrWidth = 800;
        CVideoTask::scrHeight = 600;
        CVideoTask::scrBPP = 16;
        manager = new CSettingsManager();
    }
    void TearDown() override
    {
        delete manager;
        velqtest::CaptureCout quiet;
        IMMObject::CollectGarbage();
        CVideoTask::scrWidth = 800;
        CVideoTask::scrHeight = 600;
        CVideoTask::scrBPP = 16;
    }
    CSettingsManager* manager = nullptr;
    velqtest::TempDir dir;
};

TEST_F(SettingsTest, FileLinesThenArgumentsInOrderLastOneWins)
{
    dir.Write("settings.esf", "screenX=1024\nscreenY=768\nscreenBPP=16\n");
    manager->ParseFile("settings.esf");
    manager->ParseSetting("screenBPP=32");
    EXPECT_EQ(CVideoTask::scrWidth, 1024);
    EXPECT_EQ(CVideoTask::scrHeight, 768);
    EXPECT_EQ(CVideoTask::scrBPP, 32);
    manager->ParseSetting("screenX=640");
    manager->ParseSetting("screenX=1280");
    EXPECT_EQ(CVideoTask::scrWidth, 1280);
}

TEST_F(SettingsTest, MissingFileKeepsTheDefaults)
{
    manager->ParseFile("settings.esf");
    manager->ParseFile("/nonexistent/dir/settings.esf");
    EXPECT_EQ(CVideoTask::scrWidth, 800);
    EXPECT_EQ(CVideoTask::scrHeight, 600);
    EXPECT_EQ(CVideoTask::scrBPP, 16);
}

TEST_F(SettingsTest, BiasLinesSetOneOrZeroAndBiasIsIgnoredWithAValue)
{
    manager->ParseSetting("+screenX");
    EXPECT_EQ(CVideoTask::scrWidth, 1);
    manager->ParseSetting("-screenX");
    EXPECT_EQ(CVideoTask::scrWidth, 0);
    manager->ParseSetting("screenY");
    EXPECT_EQ(CVideoTask::scrHeight, 0);
    manager->ParseSetting("+screenBPP=24");  // a single-valued setting takes the value as it is
    EXPECT_EQ(CVideoTask::scrBPP, 24);
    manager->ParseSetting("-screenBPP=8");
    EXPECT_EQ(CVideoTask::scrBPP, 8);
}

TEST_F(SettingsTest, BlanksCaseAndUnknownNamesAreIgnored)
{
    manager->ParseSetting("screenX = 1024");
    manager->ParseSetting("SCREENX=1024");
    manager->ParseSetting("fullscreen=1");
    manager->ParseSetting("");
    manager->ParseSetting("=5");
    EXPECT_EQ(CVideoTask::scrWidth, 800);
    EXPECT_FALSE(manager->IsRegistered("screenX "));
    EXPECT_TRUE(manager->IsRegistered("screenX"));
}

TEST_F(SettingsTest, NumbersAreReadUpToTheFirstCharacterThatCannotContinueThem)
{
    manager->ParseSetting("screenX=1024x");
    EXPECT_EQ(CVideoTask::scrWidth, 1024);
    manager->ParseSetting("screenY=-7");
    EXPECT_EQ(CVideoTask::scrHeight, -7);
}

TEST_F(SettingsTest, ValuesThatDoNotStartWithANumberKeepThePreviousValue)
{
    manager->ParseSetting("screenX=abc");
    manager->ParseSetting("screenX=");
    manager->ParseSetting("screenX= 640");
    manager->ParseSetting("screenX=99999999999999999999");
    EXPECT_EQ(CVideoTask::scrWidth, 800);
}

TEST_F(SettingsTest, CarriageReturnsAndOverlongLinesDoNotStopTheReading)
{
    std::string longLine = "screenBPP=24" + std::string(5000, '7');
    dir.Write("settings.esf", "screenX=1024\r\n" + std::string(3000, 'x') + "\n" + longLine +
                                  "\nscreenY=720\r\n");
    manager->ParseFile("settings.esf");
    EXPECT_EQ(CVideoTask::scrWidth, 1024);
    EXPECT_EQ(CVideoTask::scrHeight, 720);
    // The long line is cut at 1023 characters: its number overflows and is refused.
    EXPECT_EQ(CVideoTask::scrBPP, 16);
}

TEST_F(SettingsTest, DatorTextAndComparisons)
{
    int value = 42;
    CMMPointer<Dator<int>> d(new Dator<int>(value));
    std::string text = "42", other = "43", five = "5";
    EXPECT_EQ(static_cast<std::string>(*d), "42");
    EXPECT_TRUE(*d == text);
    EXPECT_TRUE(*d != other);
    *d += five;
    EXPECT_EQ(value, 47);
    *d -= five;
    *d -= five;
    EXPECT_EQ(value, 37);
}

// A setting with several values: the bias decides how each ";" piece is applied.
class SumDator : public Dator<int> {
public:
    using Dator<int>::Dator;
    bool hasMultipleValues() override { return true; }
};

TEST_F(SettingsTest, MultipleValuesAreAppliedPieceByPieceWithTheBias)
{
    int total = 0;
    manager->RegisterVariable("total", CMMPointer<BaseDator>(new SumDator(total)));
    manager->ParseSetting("+total=1;2;3");
    EXPECT_EQ(total, 6);
    manager->ParseSetting("-total=1;;2");  // the empty piece changes nothing
    EXPECT_EQ(total, 3);
    manager->ParseSetting("total=9;4");
    EXPECT_EQ(total, 4);
}

}  // namespace
