// SPDX-License-Identifier: GPL-3.0-or-later
// --help and the manual page against the program: the settings listed are the ones the
// program registers, with the defaults they really have (a binding as its key row),
// every key row reaches the page, and every line is looked up in the catalogs.
#include "app/usage.h"

#include "app/application.h"
#include "app/manpage.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "gameplay/bindings.h"
#include "support/testutil.h"

namespace {

TEST(Usage, ListsTheSettingsTheProgramRegistersWithTheirDefaultsAndNoOthers)
{
    std::map<std::string, std::string> listed;
    for (const UsageSetting& s : UsageSettings())
        EXPECT_TRUE(listed.emplace(s.name, s.value).second) << s.name << " is listed twice";
    for (const UsageKey& k : UsageKeys()) {
        const size_t equals = k.keys.find('=');
        if (equals != std::string::npos) {
            EXPECT_TRUE(listed.emplace(k.keys.substr(0, equals), k.keys.substr(equals + 1)).second) << k.keys;
        }
    }
    // Registered as --help registers them, with no settings file to read.
    velqtest::TempDir dir;
    auto* manager = new CSettingsManager();
    CApplication::ReadSettings(Options());
    std::map<std::string, std::string> registered = manager->Values();
    for (int a = 0; a < CBindings::kActions; ++a) {
        const std::string pad = std::string("pad.") + CBindings::Name(static_cast<Action>(a));
        if (registered[pad] == "none")
            registered.erase(pad);  // a controller input of none is not listed
    }
    velqtest::CaptureCout quiet;
    delete manager;
    IMMObject::CollectGarbage();
    ASSERT_FALSE(registered.empty());
    for (const auto& [name, value] : registered)
        EXPECT_EQ(listed.count(name) ? listed[name] : "not listed", value) << "--help on the setting " << name;
    for (const auto& [name, value] : listed)
        EXPECT_EQ(registered.count(name), 1u) << "--help lists " << name << ", which the program does not know";
}

TEST(Usage, EveryLineOfHelpIsLookedUpInTheCatalogs)
{
    CLanguage::SetCatalogDir(VELQ_PSEUDO_CATALOGS);
    ASSERT_TRUE(CLanguage::Choose("xx"));
    std::istringstream help(UsageText());
    for (std::string line; std::getline(help, line);)
        EXPECT_TRUE(line.empty() || line.find('@') != std::string::npos) << line;
    CLanguage::Choose("de");
}

TEST(Usage, ManualPageTakesEveryTableAndRefusesATemplateWithoutItsPlace)
{
    const std::string page = ".TH VELQ 6\n.SH OPTIONS\n.\\\" velq: options\n.SH SETTINGS\n"
                             ".\\\" velq: settings\n.SH KEYS\n.\\\" velq: keys\n";
    std::string filled, error;
    ASSERT_TRUE(FillManualPage(page, filled, error)) << error;
    EXPECT_EQ(filled.find("velq:"), std::string::npos) << filled;
    size_t items = 0;
    for (size_t at = filled.find(".TP\n"); at != std::string::npos; at = filled.find(".TP\n", at + 1))
        ++items;
    EXPECT_EQ(items, UsageOptions().size() + UsageSettings().size() + UsageKeys().size());

    const std::string withoutKeys = page.substr(0, page.find(".\\\" velq: keys"));
    EXPECT_FALSE(FillManualPage(withoutKeys, filled, error));
    EXPECT_NE(error.find("velq: keys"), std::string::npos) << error;
}

}  // namespace
