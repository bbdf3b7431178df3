// SPDX-License-Identifier: GPL-3.0-or-later
// The language a player gets: what auto finds in each locale variable, and the build's
// English catalog switched on and off while the game runs.
#include "engine/text.h"

#include "support/testutil.h"

namespace {

TEST(Language, AutoTakesTheFirstLanguageTheLocaleNamesThatTheGameHas)
{
    velqtest::TempDir dir;
    dir.Write("en/LC_MESSAGES/velq.mo", "");  // only its presence counts here
    CLanguage::SetCatalogDir(".");
    struct Case { const char *language, *all, *messages, *lang, *found; };
    const Case cases[] = {
        {"", "", "", "", "-"},
        {"", "", "", "en_US.UTF-8", "en"},
        {"", "", "", "de_AT.UTF-8@euro", "de"},
        {"", "", "", "fr_FR.UTF-8", "-"},              // no catalog
        {"", "", "en_GB.UTF-8", "de_DE.UTF-8", "en"},  // LC_MESSAGES over LANG
        {"", "de_DE.UTF-8", "en_GB.UTF-8", "", "de"},  // LC_ALL over both
        {"fr:en:de", "", "", "de_DE.UTF-8", "en"},     // LANGUAGE first, in its order
        {"fr", "", "", "de_DE.UTF-8", "de"},           // then the locale
        {"en", "", "", "C.UTF-8", "en"},
        {"en", "", "", "C", "-"},  // as for every gettext program, C turns LANGUAGE off
        {"en", "POSIX", "", "", "-"},
        {"en", "", "", "", "-"},
        {"", "", "", "../../etc/x", "-"},
    };
    for (const Case& c : cases) {
        const std::map<std::string, const char*> values = {
            {"LANGUAGE", c.language}, {"LC_ALL", c.all}, {"LC_MESSAGES", c.messages}, {"LANG", c.lang}};
        const auto environment = [&](const char* name) {
            return *values.at(name) ? values.at(name) : nullptr;
        };
        EXPECT_EQ(CLanguage::FromLocale(environment, "-"), c.found)
            << c.language << " | " << c.all << " | " << c.messages << " | " << c.lang;
    }
    CLanguage::SetCatalogDir("locale");
}

TEST(Language, TheEnglishCatalogSwitchesTheTextsWhilePlaying)
{
    CLanguage::SetCatalogDir(VELQ_TEST_CATALOGS);
    EXPECT_EQ(CLanguage::Available(), (std::vector<std::string>{"de", "en"}));
    for (const char* language : {"en", "de", "en", "auto", "de"}) {
        ASSERT_TRUE(CLanguage::Choose(language));
        const bool english = CLanguage::Current() == "en";
        EXPECT_STREQ(Tr("GEWONNEN!"), english ? "YOU WON!" : "GEWONNEN!") << language;
        EXPECT_STREQ(Tr("Velq!"), "Velq!") << "a text without translation stays as written";
    }
    EXPECT_FALSE(CLanguage::Choose("fr"));
    EXPECT_EQ(CLanguage::Choice(), "de");
    CLanguage::SetCatalogDir("locale");
}

}  // namespace
