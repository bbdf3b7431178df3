// SPDX-License-Identifier: GPL-3.0-or-later
// Settings lines, the settings file's odd lines, settings of several values, the reports
// on lines that mean nothing, the inputs the fuzzers found, and the language setting.
#include "engine/settings.h"

#include "engine/kernel.h"
#include "engine/text.h"
#include "engine/videotask.h"
#include "support/testutil.h"

namespace {

using Lines = std::vector<std::string>;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Defaults();
        manager = new CSettingsManager();
        manager->SetReporter([this](const std::string& line) { reports.push_back(line); });
    }
    void TearDown() override
    {
        delete manager;
        velqtest::CaptureCout quiet;
        IMMObject::CollectGarbage();
        Defaults();
    }
    static void Defaults()
    {
        CVideoTask::scrWidth = 800, CVideoTask::scrHeight = 600, CVideoTask::scrBPP = 16;
        CVideoTask::fullscreen = 1, CKernel::maxFps = 0;
    }
    static std::vector<int> Values()
    {
        return {CVideoTask::scrWidth, CVideoTask::scrHeight, CVideoTask::scrBPP, CVideoTask::fullscreen, CKernel::maxFps};
    }
    CSettingsManager* manager = nullptr;
    Lines reports;
    velqtest::TempDir dir;
};

TEST_F(SettingsTest, LinesSetTheirValueByBiasOrNumberAndAValueOutOfRangeIsReportedAndLeftAsItWas)
{
    const std::string stays = "; screenX stays 800", number = ": not a number" + stays;
    struct Case { Lines lines; std::vector<int> values; Lines reports; } const cases[] = {
        {{"screenX=640", "screenX=1280"}, {1280, 600, 16, 1, 0}, {}},  // the last one wins
        // One value: the bias is not used. Numbers are read up to what cannot continue them.
        {{"+screenX", "screenBPP=32", "-screenBPP=24", "screenY=16384x", "-fullscreen", "maxfps=2147483647"},
         {1, 16384, 24, 0, 2147483647}, {}},
        {{"-screenX", "screenY", "screenBPP=8", "fullscreen=2", "maxfps=-1"}, {800, 600, 16, 1, 0},
         {"\"-screenX\": must be 1 to 16384" + stays, "\"screenY\": must be 1 to 16384; screenY stays 600",
          "\"screenBPP=8\": must be 16, 24 or 32; screenBPP stays 16", "\"fullscreen=2\": must be 0 or 1; fullscreen stays 1",
          "\"maxfps=-1\": must be 0 or more; maxfps stays 0"}},
        {{"screenX=abc", "screenX=", "screenX= 640", "screenX=99999999999999999999", "screenX=16385"},
         {800, 600, 16, 1, 0},
         {"\"screenX=abc\"" + number, "\"screenX=\"" + number, "\"screenX= 640\"" + number,
          "\"screenX=99999999999999999999\"" + number, "\"screenX=16385\": must be 1 to 16384" + stays}},
        // Blank lines say nothing; unknown names wait for the report.
        {{"", "  ", "screenX = 1024", "SCREENX=1024", "=5"}, {800, 600, 16, 1, 0}, {}},
    };
    for (const Case& c : cases) {
        Defaults();
        reports.clear();
        for (const std::string& line : c.lines)
            manager->ParseSetting(line);
        EXPECT_EQ(Values(), c.values) << c.lines.front();
        EXPECT_EQ(reports, c.reports);
    }
    manager->ParseSetting("screenX=0", "command line");
    EXPECT_EQ(reports.back(), "command line: \"screenX=0\": must be 1 to 16384" + stays) << "the source first";
}

TEST_F(SettingsTest, UnknownNamesAreReportedOnceAfterEveryRegistrationAndALateOneStillGetsItsLines)
{
    manager->ParseSetting("screnX=1024", "command line");
    manager->ParseSetting("screenX = 1024", "settings.esf:3");
    manager->ParseSetting("volumeFX=7", "settings.esf:4");
    manager->ParseSetting("+volumeFX=300", "settings.esf:5");
    manager->ParseSetting("SCREENY=1\x1b[31m\xc3\xa4" + std::string(80, 'x'), "settings.esf:6");
    EXPECT_TRUE(reports.empty()) << "judged only once all are registered";
    int volume = 0;
    manager->RegisterVariable("volumeFX", CMMPointer<BaseDator>(new Dator<int>(volume, 0, 128)));
    EXPECT_EQ(volume, 7) << "the file's line, applied at the registration";
    EXPECT_EQ(reports, Lines{"settings.esf:5: \"+volumeFX=300\": must be 0 to 128; volumeFX stays 7"});
    reports.clear();
    manager->ReportUnknown();
    manager->ReportUnknown();
    EXPECT_EQ(reports, (Lines{"command line: \"screnX=1024\": no such setting; ignored",
                              "settings.esf:3: \"screenX = 1024\": no such setting (did you mean screenX?); ignored",
                              "settings.esf:6: \"SCREENY=1\\x1B[31m\\xC3\\xA4" + std::string(44, 'x') +
                                  "...\": no such setting (did you mean screenY?); ignored"}))
        << "reported once, control bytes spelled out, cut at 60 characters";
    EXPECT_EQ(manager->CountNames(), 9u) << "unknown names are not kept in the table";
}

TEST_F(SettingsTest, FilesNameEachLineByNumberAndNeitherMissingFilesNorOverlongLinesStopTheReading)
{
    manager->ParseFile("/nonexistent/dir/settings.esf");
    // The long line is cut at 1023 characters: its number overflows and is refused.
    dir.Write("settings.esf", "screenX=1024\r\n" + std::string(3000, 'x') + "\nscreenBPP=24" + std::string(5000, '7') +
                                  "\nscreenY=720\r\nscreenY=0\n#screenY=10 is a comment");
    manager->ParseFile("settings.esf");
    EXPECT_EQ(Values(), (std::vector<int>{1024, 720, 16, 1, 0}));
    manager->ReportUnknown();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].substr(0, 32), "settings.esf:3: \"screenBPP=24777");
    EXPECT_EQ(reports[1], "settings.esf:5: \"screenY=0\": must be 1 to 16384; screenY stays 720");
    EXPECT_EQ(reports[2].substr(0, 20), "settings.esf:2: \"xxx");
    // What the fuzzers found (an empty name was kept as a new entry, one entry per unknown
    // line), as a file (.esf) or as one line.
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VELQ_TEST_DATA) + "/fuzz/settings")) {
        if (entry.path().extension() == ".esf")
            manager->ParseFile(entry.path().string());
        else
            manager->ParseSetting(velqtest::ReadFile(entry.path()));
    }
    EXPECT_EQ(manager->CountNames(), 8u);
    EXPECT_EQ(Values(), (std::vector<int>{1024, 720, 16, 1, 0}));
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
    EXPECT_EQ(std::make_tuple(*d == text, *d == other), std::make_tuple(true, false));
    *d += five;
    *d -= five;
    *d -= five;
    EXPECT_EQ(value, 37);
    manager->RegisterVariable("total", CMMPointer<BaseDator>(new SumDator(total, 0, 10)));
    const struct { const char* line; int want; size_t reports; } cases[] = {
        {"+total=1;2;3", 6, 0}, {"-total=1;;2", 3, 1} /* the empty piece is no number */, {"total=9;4", 4, 0},
        {"+total=5;2;3", 9, 2} /* 4 + 5, then 11 and 12 */, {"-total=2147483647;-2147483647", 9, 2}};
    for (const auto& c : cases) {
        reports.clear();
        manager->ParseSetting(c.line);
        EXPECT_EQ(total, c.want) << c.line;
        EXPECT_EQ(reports.size(), c.reports) << c.line;
    }
}

TEST(Language, AutoTakesTheLocalesFirstLanguageThatTheGameHasAndTheCatalogSwitchesWhilePlaying)
{
    velqtest::TempDir dir;
    dir.Write("en/LC_MESSAGES/velq.mo", "");  // only its presence counts here
    CLanguage::SetCatalogDir(".");
    struct Case { const char *language, *all, *messages, *lang, *found; };
    const Case cases[] = {
        {"", "", "", "en_US.UTF-8", "en"},
        {"", "", "", "de_AT.UTF-8@euro", "de"},
        {"", "", "", "fr_FR.UTF-8", "-"},              // no catalog
        {"", "", "en_GB.UTF-8", "de_DE.UTF-8", "en"},  // LC_MESSAGES over LANG
        {"", "de_DE.UTF-8", "en_GB.UTF-8", "", "de"},  // LC_ALL over both
        {"fr:en:de", "", "", "de_DE.UTF-8", "en"},     // LANGUAGE first, in its order
        {"fr", "", "", "de_DE.UTF-8", "de"},           // then the locale
        {"en", "", "", "C.UTF-8", "en"},
        {"en", "", "", "C", "-"},  // as for every gettext program, C turns LANGUAGE off
        {"en", "", "", "", "-"},
        {"", "", "", "../../etc/x", "-"},
    };
    for (const Case& c : cases) {
        const std::map<std::string, const char*> values = {
            {"LANGUAGE", c.language}, {"LC_ALL", c.all}, {"LC_MESSAGES", c.messages}, {"LANG", c.lang}};
        const auto environment = [&](const char* name) { return *values.at(name) ? values.at(name) : nullptr; };
        EXPECT_EQ(CLanguage::FromLocale(environment, "-"), c.found)
            << c.language << " | " << c.all << " | " << c.messages << " | " << c.lang;
    }
    // A language without catalog leaves the game's own German in force.
    EXPECT_FALSE(CLanguage::Choose("fr"));
    EXPECT_TRUE(CLanguage::Current() == "de" && CLanguage::Choice() == "de");
    CLanguage::SetCatalogDir(VELQ_TEST_CATALOGS);
    EXPECT_EQ(CLanguage::Available(), (std::vector<std::string>{"de", "en"}));
    for (const char* language : {"en", "de", "en", "auto", "de"}) {
        ASSERT_TRUE(CLanguage::Choose(language));
        const bool english = CLanguage::Current() == "en";
        EXPECT_STREQ(Tr("GEWONNEN!"), english ? "YOU WON!" : "GEWONNEN!") << language;
        EXPECT_STREQ(Tr("Velq!"), "Velq!") << "a text without translation stays as written";
    }
}

}  // namespace
