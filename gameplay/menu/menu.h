// SPDX-License-Identifier: GPL-3.0-or-later
// The game's menu over the pause: its pages and rows, the moves, confirm and back, the
// settings a row changes (through the settings manager, which writes them back into the
// settings file at once), and where each row stands in the frame. Needs no OpenGL: the
// render task draws the layout, and the handle-input task feeds it one frame's input.
#pragma once

#include <string>
#include <vector>

#include "engine/singleton.h"

enum class MenuPage { Main, Options, Sound, Controls, Screen, Graphics, Language, Count };

// What the game does on a row of the main page.
enum class MenuCommand { None, Resume, LeaveLevel, Quit };

// One line of a page.
struct MenuRow {
    enum class Kind {
        Command,  // Resume, Leave level, Quit
        Open,     // another page
        Number,   // a setting stepped between lowest and highest
        Choice,   // a setting taking one of the words listed
        Binding,  // an action's keys or pad inputs, rebound by pressing the new one
        Mute,     // the sound on or off (not kept: the volumes are)
        DefaultKeys,  // every binding back to the layout's own
        Back,     // the page before
    };
    Kind kind = Kind::Command;
    std::string label;  // the game's own words, before the text lookup (a pad row's: its action's)
    MenuCommand command = MenuCommand::None;
    MenuPage page = MenuPage::Main;
    std::string setting;
    int lowest = 0, highest = 0, step = 1;
    const char* unit = "";            // after a number (" %")
    std::vector<std::string> values;  // a choice's words, as the setting takes them
    const char* shown = "";           // and as the menu shows them: German, joined by "|"
    int action = 0, device = 0;       // a binding's
};

// A page: its title and rows, built when it opens (from the settings and bindings tables).
struct MenuPageRows {
    std::string title;
    std::vector<MenuRow> rows;
};
// The rows of the settings the settings table shows on the page, in its order.
std::vector<MenuRow> SettingRows(MenuPage page);
// The row that goes back to the page before.
MenuRow BackRow();
// One builder per page, each in its own file.
MenuPageRows MainPage(bool onLevel);
MenuPageRows OptionsPage();
MenuPageRows SoundPage();
MenuPageRows ControlsPage();
MenuPageRows ScreenPage();
MenuPageRows GraphicsPage();
MenuPageRows LanguagePage();

// One frame's input in the menu's terms.
struct MenuInput {
    bool up = false, down = false, left = false, right = false;
    bool confirm = false, back = false;
    bool escape = false;  // the Escape key itself: it leaves a rebinding, which takes any other
    // The pointer in the frame's pixels from the lower left, whether it moved, and a
    // click of the left button.
    int pointerX = -1, pointerY = -1;
    bool pointerMoved = false, click = false;
    // The input that went down in this frame (CInputTask's numbering), -1 for none: what
    // a binding being rebound takes.
    int pressed = -1;
};

// What the drawing shows: boxes and texts in the frame's pixels from the lower left.
struct MenuItem {
    enum class Kind { Panel, Highlight, Text };
    Kind kind = Kind::Text;
    int x = 0, y = 0, width = 0, height = 0;  // a box's; a text's lower left
    float scale = 1.0f;
    bool bright = true;  // white, or grey for what is not chosen
    std::string text;    // already looked up
};
struct MenuLayout {
    std::vector<MenuItem> items;  // kept, so laying it out again allocates nothing new
};

class CMenu : public CSingleton<CMenu> {
public:
    static constexpr int kRowHeight = 22, kGlyphAdvance = 14;
    static constexpr int kVisibleRows = 14;

    // Opens on the main page, its first row; onLevel decides between Leave level and Quit.
    void Open(bool onLevel);
    void Close() { open = false; }
    bool IsOpen() const { return open; }
    MenuPage Page() const { return page; }
    int Selected() const { return selected; }
    const MenuPageRows& Rows() const { return rows; }
    // A binding waits for its new key.
    bool Capturing() const { return capturing; }
    // The last word the menu has for the player: a conflict, a file it cannot write.
    const std::string& Message() const { return message; }

    // The frame the pointer is read in and the menu is laid out for.
    void SetFrame(int width, int height);
    // One frame of the menu; returns what the game must do. Back on the main page resumes.
    // Says on standard output where it stands whenever that changes ("Menu: Ton / Musik:
    // < 80 % >").
    MenuCommand Step(const MenuInput& in);

    // Where everything stands in a frame of this size, with the texts looked up.
    void Layout(int frameWidth, int frameHeight, MenuLayout& out) const;
    // The row under a point of the frame, or -1; its left or right half for a value.
    int RowAt(int frameWidth, int frameHeight, int x, int y, bool* rightHalf = nullptr) const;
    // A row's value as the menu shows it.
    std::string ValueText(const MenuRow& row) const;

    // Settings the menu changed, written back after every change; false when the file
    // could not be written (the message says so, and standard error).
    bool Save();
    // A replay changes what the recorded player changed, but writes no file.
    void SetSaving(bool on) { saving = on; }

private:
    MenuCommand Steer(const MenuInput& in);
    void Tell();
    void Show(MenuPage p, int row = 0);
    // Back to the page before, on the row that opened the one left.
    void Back(MenuPage before);
    void Move(int by);
    void Change(const MenuRow& row, int direction);
    MenuCommand Activate(const MenuRow& row, bool rightHalf, bool byPointer);
    bool InPanel(int x, int y) const;
    void Rebind(const MenuRow& row, int input);
    void SetSetting(const std::string& name, const std::string& value);
    int FirstShown() const;
    // The panel's box in a frame of this size: x, y, width, height.
    void Panel(int frameWidth, int frameHeight, int box[4]) const;

    bool open = false;
    bool onLevel = false;
    int frameWidth = 800, frameHeight = 600;
    MenuPage page = MenuPage::Main;
    MenuPageRows rows;
    int selected = 0;
    bool capturing = false;
    bool saving = true;
    std::string message;
    std::string told;  // the last line said
    std::vector<std::string> changed;  // every setting the menu set, in the order first set
    std::vector<std::string> dropped;  // settings whose lines go (the bindings after Default keys)
    std::vector<MenuPage> trail;       // the pages back to the main one
};
