// SPDX-License-Identifier: GPL-3.0-or-later
// The menu's model on written input: moves, confirm, back and wrap, the pointer, the
// settings a row changes and their file, rebinding with the conflicts named, and every
// page's words looked up in the catalogs.
#include "gameplay/menu/menu.h"

#include "engine/inputnames.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "gameplay/bindings.h"
#include "gameplay/handleinputtask.h"
#include "support/worldfixture.h"
#include "world/soundmanager.h"

namespace {

class MenuTest : public velqtest::WorldFixture {
protected:
    void SetUp() override
    {
        WorldFixture::SetUp();
        CBindings::Reset();
        settings = new CSettingsManager();
        settings->SetReporter([this](const std::string& r) { reports.push_back(r); });
        CHandleInputTask::RegisterSettings(*settings);
        dir->Write("settings.esf", "# mine\nunknown=3\nvolumeFX=100\n");
        settings->ParseFile("settings.esf");
        menu = new CMenu();
        menu->Open(true);
    }
    void TearDown() override
    {
        delete menu;
        delete settings;
        CBindings::Reset();
        WorldFixture::TearDown();
    }
    // One frame with these moves ("u", "d", "l", "r", "c" confirm, "b" back, "e" Escape).
    MenuCommand Keys(const std::string& moves, int pressed = -1)
    {
        MenuCommand last = MenuCommand::None;
        for (char m : moves.empty() ? std::string(" ") : moves) {
            MenuInput in;
            in.up = m == 'u', in.down = m == 'd', in.left = m == 'l', in.right = m == 'r';
            in.confirm = m == 'c', in.escape = m == 'e', in.back = m == 'b' || m == 'e';
            in.pressed = pressed;
            last = menu->Step(in);
        }
        return last;
    }
    std::string Label() const { return menu->Rows().rows[menu->Selected()].label; }
    // Opens a page of the options by its row.
    void OpenOptions(const std::string& page)
    {
        menu->Open(true);
        Keys("dc");
        while (Label() != page)
            Keys("d");
        Keys("c");
    }

    CSettingsManager* settings = nullptr;
    CMenu* menu = nullptr;
    std::vector<std::string> reports;
};

TEST_F(MenuTest, MovesWrapConfirmOpensAndBackReturnsToTheRowThatOpenedThePageOrPlaysOn)
{
    const struct { const char* moves; MenuPage page; const char* row; MenuCommand command; } cases[] = {
        {"", MenuPage::Main, "Weiter", MenuCommand::None},
        {"u", MenuPage::Main, "Level verlassen", MenuCommand::None},  // wraps to the last
        {"uc", MenuPage::Main, "Level verlassen", MenuCommand::LeaveLevel},
        {"c", MenuPage::Main, "Weiter", MenuCommand::Resume},
        {"dc", MenuPage::Options, "Ton", MenuCommand::None},
        {"dcdddc", MenuPage::Graphics, "Effekte", MenuCommand::None},
        {"dcdddcb", MenuPage::Options, "Grafik", MenuCommand::None},
        {"dcdddce", MenuPage::Options, "Grafik", MenuCommand::None},  // Escape goes back a page
        {"dcdddcbb", MenuPage::Main, "Optionen", MenuCommand::None},
        {"dcdddcbbb", MenuPage::Main, "Optionen", MenuCommand::Resume},  // and from the top plays on
        {"dcuc", MenuPage::Main, "Optionen", MenuCommand::None},          // the Back row
    };
    for (const auto& c : cases) {
        menu->Open(true);
        EXPECT_EQ(Keys(c.moves), c.command) << c.moves;
        EXPECT_EQ(menu->Page(), c.page) << c.moves;
        EXPECT_EQ(Label(), c.row) << c.moves;
    }
    menu->Open(false);
    EXPECT_EQ(Keys("uc"), MenuCommand::Quit) << "on the selection level the last row quits";
}

TEST_F(MenuTest, ThePointerChoosesTheRowUnderItAndAClickBesideThePanelPlaysOn)
{
    menu->SetFrame(800, 600);
    MenuLayout layout;
    menu->Layout(800, 600, layout);
    // The rows' texts stand where the pointer finds them.
    for (const MenuItem& item : layout.items) {
        if (item.kind != MenuItem::Kind::Text || item.text == "PAUSE")
            continue;
        const int row = menu->RowAt(800, 600, item.x + 5, item.y + 5);
        ASSERT_GE(row, 0) << item.text;
        EXPECT_EQ(menu->Rows().rows[row].label, item.text);
    }
    MenuInput in;
    in.pointerX = 400, in.pointerY = 300, in.pointerMoved = true;
    const int under = menu->RowAt(800, 600, 400, 300);
    menu->Step(in);
    EXPECT_EQ(menu->Selected(), under);
    in.pointerX = 5, in.pointerY = 5, in.click = true;
    EXPECT_EQ(menu->Step(in), MenuCommand::Resume);
}

TEST_F(MenuTest, NumbersStepWithinTheirRangeChoicesWrapAndTheFileKeepsItsOtherLines)
{
    OpenOptions("Ton");
    Keys("l");
    EXPECT_EQ(SoundManager::volumeFX, 90);
    Keys("rrrr");
    EXPECT_EQ(SoundManager::volumeFX, 100) << "not past the highest";
    Keys("lll");
    OpenOptions("Steuerung");
    EXPECT_EQ(Label(), "Tastatur");
    Keys("l");
    EXPECT_EQ(settings->GetValue("layout"), "qwertz") << "from the first word back to the last";
    Keys("d");
    settings->ParseSetting("padDeadZone=23");
    Keys("r");
    EXPECT_EQ(settings->GetValue("padDeadZone"), "25") << "a value between the steps goes to the next";
    EXPECT_EQ(velqtest::ReadFile("settings.esf"), "# mine\nunknown=3\nvolumeFX=70\nlayout=qwertz\npadDeadZone=25\n");
}

TEST_F(MenuTest, ABindingTakesTheNextKeyOfItsDeviceNamesItsConflictsAndDefaultsGoBack)
{
    OpenOptions("Steuerung");
    while (!(Label() == CBindings::Words(Action::Fire) && menu->Rows().rows[menu->Selected()].device == 0))
        Keys("d");
    Keys("c");
    ASSERT_TRUE(menu->Capturing());
    Keys("", FindInput("joy3"));  // a pad button for a key row: it waits on
    EXPECT_TRUE(menu->Capturing());
    Keys("", FindInput("tab"));
    EXPECT_FALSE(menu->Capturing());
    EXPECT_EQ(settings->GetValue("key.fire"), "tab");
    EXPECT_EQ(menu->Message(), "tab wirkt auch auf: Waffe wechseln");
    Keys("c");
    Keys("e");  // Escape leaves the rebinding; the key stays
    EXPECT_FALSE(menu->Capturing());
    EXPECT_EQ(settings->GetValue("key.fire"), "tab");
    EXPECT_EQ(menu->Page(), MenuPage::Controls);
    EXPECT_NE(velqtest::ReadFile("settings.esf").find("key.fire=tab\n"), std::string::npos);
    // Back to the layout's own keys: the file holds no binding line any more.
    while (Label() != "Standardbelegung")
        Keys("u");
    Keys("c");
    EXPECT_EQ(settings->GetValue("key.fire"), "space,mouse1");
    EXPECT_EQ(velqtest::ReadFile("settings.esf").find("key."), std::string::npos);
}

TEST_F(MenuTest, ASettingsFileThatCannotBeWrittenGetsAWordAndTheChangeStaysInForce)
{
    settings->ParseFile("no/such/folder/settings.esf");
    velqtest::CaptureCout err(std::cerr);
    OpenOptions("Ton");
    Keys("l");
    EXPECT_EQ(SoundManager::volumeFX, 90);
    EXPECT_EQ(menu->Message().rfind("Kann die Einstellungen nicht speichern: ", 0), 0u) << menu->Message();
    EXPECT_NE(err.Text().find("VELQ: cannot keep the settings: "), std::string::npos);
    menu->SetSaving(false);  // a replay writes nothing
    Keys("l");
    EXPECT_EQ(SoundManager::volumeFX, 80);
}

// In the test language every text of the catalogs' template comes after an "@".
TEST_F(MenuTest, EveryPagesTitleLabelsAndChoicesAreLookedUpInTheCatalogs)
{
    CLanguage::SetCatalogDir(VELQ_PSEUDO_CATALOGS);
    ASSERT_TRUE(CLanguage::Choose("xx"));
    auto check = [this] {
        MenuLayout layout;
        menu->Layout(800, 600, layout);
        std::set<std::string> texts;
        for (const MenuItem& item : layout.items)
            texts.insert(item.text);
        const MenuPageRows& page = menu->Rows();
        EXPECT_EQ(texts.count("@" + page.title), 1u) << page.title;
        for (size_t i = 0; i < page.rows.size() && i < CMenu::kVisibleRows; ++i) {
            const MenuRow& row = page.rows[i];
            EXPECT_EQ(texts.count("@" + row.label), 1u) << row.label;
            // A choice's words (the layouts' are names), where the setting has one of them.
            const auto& values = row.values;
            const bool shown = std::count(values.begin(), values.end(), settings->GetValue(row.setting)) > 0;
            if ((shown && row.setting != "layout") || row.kind == MenuRow::Kind::Mute) {
                EXPECT_NE(menu->ValueText(row).find('@'), std::string::npos) << row.label;
            }
        }
    };
    check();  // the main page, then the options and each of theirs
    Keys("dc");
    check();
    for (const char* page : {"Ton", "Steuerung", "Bildschirm", "Grafik", "Sprache"}) {
        OpenOptions(page);
        check();
    }
    CLanguage::Choose("de");
}

}  // namespace
