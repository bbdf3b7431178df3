// SPDX-License-Identifier: GPL-3.0-or-later
// The menu's moves, the changes its rows make and where they stand in the frame.
#include "gameplay/menu/menu.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "engine/inputnames.h"
#include "engine/inputtask.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "gameplay/bindings.h"
#include "world/soundmanager.h"

namespace {

constexpr int kPanelWidth = 600;
constexpr int kTitleHeight = 48, kMessageHeight = 36, kMargin = 16;
constexpr int kValueColumn = 330;  // from the panel's left edge

// The glyphs a text takes: a letter of several bytes is one.
int Glyphs(const std::string& text)
{
    int n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

std::string Lookup(const std::string& german) { return Tr(german.c_str()); }

// The words joined by "|", one of them.
std::string Word(const std::string& joined, std::ptrdiff_t index)
{
    std::size_t start = 0;
    while (index-- > 0 && start != std::string::npos) {
        start = joined.find('|', start);
        if (start != std::string::npos)
            ++start;
    }
    return start == std::string::npos ? "" : joined.substr(start, joined.find('|', start) - start);
}

}  // namespace

void CMenu::Open(bool level)
{
    open = true;
    onLevel = level;
    capturing = false;
    told.clear();
    message.clear();
    trail.clear();
    Show(MenuPage::Main);
}

void CMenu::Show(MenuPage p, int row)
{
    page = p;
    switch (p) {
    case MenuPage::Main: rows = MainPage(onLevel); break;
    case MenuPage::Options: rows = OptionsPage(); break;
    case MenuPage::Sound: rows = SoundPage(); break;
    case MenuPage::Controls: rows = ControlsPage(); break;
    case MenuPage::Screen: rows = ScreenPage(); break;
    case MenuPage::Graphics: rows = GraphicsPage(); break;
    case MenuPage::Language: rows = LanguagePage(); break;
    case MenuPage::Count: break;
    }
    selected = std::clamp(row, 0, std::max(0, static_cast<int>(rows.rows.size()) - 1));
}

void CMenu::Move(int by)
{
    const int n = static_cast<int>(rows.rows.size());
    if (n > 0)
        selected = ((selected + by) % n + n) % n;
}

MenuCommand CMenu::Step(const MenuInput& in)
{
    if (!open || rows.rows.empty())
        return MenuCommand::None;
    const MenuCommand command = Steer(in);
    if (command == MenuCommand::None)
        Tell();
    return command;
}

void CMenu::Tell()
{
    const MenuRow& row = rows.rows[selected];
    const std::string value = ValueText(row);
    std::string line = "Menu: " + rows.title + " / " + row.label + (value.empty() ? "" : ": " + value);
    if (line != told) {
        std::cout << line << std::endl;  // at once: a player or a test waits for it
        told = std::move(line);
    }
}

MenuCommand CMenu::Steer(const MenuInput& in)
{
    if (capturing) {
        // Escape leaves the rebinding; any other key (or button) is the new one.
        if (in.escape) {
            capturing = false;
            message.clear();
        } else if (in.pressed >= 0) {
            Rebind(rows.rows[selected], in.pressed);
        }
        return MenuCommand::None;
    }
    bool rightHalf = false;
    const int pointed = in.pointerX < 0 ? -1 : RowAt(frameWidth, frameHeight, in.pointerX, in.pointerY, &rightHalf);
    if (in.pointerMoved && pointed >= 0)
        selected = pointed;
    if (in.click) {
        // A click beside the panel plays on, as a click into the paused game always did.
        if (pointed < 0 && !InPanel(in.pointerX, in.pointerY))
            return MenuCommand::Resume;
        if (pointed >= 0) {
            selected = pointed;
            return Activate(rows.rows[selected], rightHalf, true);
        }
        return MenuCommand::None;
    }
    if (in.up)
        Move(-1);
    if (in.down)
        Move(1);
    const MenuRow& row = rows.rows[selected];
    if (in.left || in.right) {
        if (row.kind == MenuRow::Kind::Number || row.kind == MenuRow::Kind::Choice)
            Change(row, in.right ? 1 : -1);
    }
    if (in.confirm)
        return Activate(row, true, false);
    if (in.back) {
        if (trail.empty())
            return MenuCommand::Resume;
        const MenuPage before = trail.back();
        trail.pop_back();
        Back(before);
    }
    return MenuCommand::None;
}

void CMenu::Back(MenuPage before)
{
    // Back on the row that opened the page left.
    const MenuPage left = page;
    Show(before);
    for (size_t i = 0; i < rows.rows.size(); ++i)
        if (rows.rows[i].kind == MenuRow::Kind::Open && rows.rows[i].page == left)
            selected = static_cast<int>(i);
    message.clear();
}

MenuCommand CMenu::Activate(const MenuRow& row, bool rightHalf, bool byPointer)
{
    message.clear();
    switch (row.kind) {
    case MenuRow::Kind::Command:
        return row.command;
    case MenuRow::Kind::Open:
        trail.push_back(page);
        Show(row.page);
        break;
    case MenuRow::Kind::Back:
        if (!trail.empty()) {
            const MenuPage before = trail.back();
            trail.pop_back();
            Back(before);
        }
        break;
    case MenuRow::Kind::Number:
    case MenuRow::Kind::Choice:
        // The pointer on the value's left half steps down, anywhere else up.
        Change(row, byPointer && !rightHalf ? -1 : 1);
        break;
    case MenuRow::Kind::Binding:
        capturing = true;
        message = Lookup("Neue Taste drücken (Escape: zurück)");
        break;
    case MenuRow::Kind::Mute:
        if (SoundManager::Exists())
            SoundManager::GetSingleton().SwitchSound();
        break;
    case MenuRow::Kind::DefaultKeys:
        CBindings::ResetKeys();
        for (const std::string& name : CBindings::SettingNames()) {
            changed.erase(std::remove(changed.begin(), changed.end(), name), changed.end());
            if (std::find(dropped.begin(), dropped.end(), name) == dropped.end())
                dropped.push_back(name);
        }
        Save();
        break;
    }
    return MenuCommand::None;
}

void CMenu::Change(const MenuRow& row, int direction)
{
    if (!CSettingsManager::Exists())
        return;
    const std::string now = CSettingsManager::GetSingleton().GetValue(row.setting);
    if (row.kind == MenuRow::Kind::Number) {
        const int value = std::atoi(now.c_str());
        // A value between the steps goes to the next step in that direction.
        int next = direction > 0 ? (value / row.step + 1) * row.step : ((value + row.step - 1) / row.step - 1) * row.step;
        next = std::clamp(next, row.lowest, row.highest);
        SetSetting(row.setting, std::to_string(next));
        return;
    }
    const int count = static_cast<int>(row.values.size());
    if (count == 0)
        return;
    const auto at = std::find(row.values.begin(), row.values.end(), now);
    const int index = at == row.values.end() ? (direction > 0 ? -1 : 0) : static_cast<int>(at - row.values.begin());
    SetSetting(row.setting, row.values[((index + direction) % count + count) % count]);
}

void CMenu::Rebind(const MenuRow& row, int input)
{
    const bool padRow = row.device == CBindings::kPad;
    const bool padInput = input >= CInputTask::kPadButtonInput;
    if (padRow != padInput)
        return;  // a key for a pad row, or the other way round: waits on
    capturing = false;
    message.clear();
    const Action action = static_cast<Action>(row.action);
    const auto device = static_cast<CBindings::Device>(row.device);
    SetSetting(CBindings::SettingName(action, device), InputName(input));
    // The other actions on the same input, named on the spot.
    for (int a = 0; a < CBindings::kActions; ++a) {
        const Action other = static_cast<Action>(a);
        if (other != action && CBindings::IsBound(other, device, input)) {
            message += (message.empty() ? InputName(input) + Lookup(" wirkt auch auf: ") : std::string(", ")) +
                       Lookup(CBindings::Words(other));
        }
    }
}

void CMenu::SetSetting(const std::string& name, const std::string& value)
{
    std::string n = name, v = value;
    CSettingsManager::GetSingleton().SetVariable(n, v);
    if (std::find(changed.begin(), changed.end(), name) == changed.end())
        changed.push_back(name);
    dropped.erase(std::remove(dropped.begin(), dropped.end(), name), dropped.end());
    Save();
}

bool CMenu::Save()
{
    if (!saving || !CSettingsManager::Exists())
        return true;
    std::string why;
    if (CSettingsManager::GetSingleton().Save(changed, dropped, why))
        return true;
    std::cerr << "VELQ: cannot keep the settings: " << why << "; playing on with them as they are\n";
    message = Lookup("Kann die Einstellungen nicht speichern: ") + why;
    return false;
}

std::string CMenu::ValueText(const MenuRow& row) const
{
    const std::string now =
        CSettingsManager::Exists() ? CSettingsManager::GetSingleton().GetValue(row.setting) : std::string();
    switch (row.kind) {
    case MenuRow::Kind::Number:
        return "< " + now + row.unit + " >";
    case MenuRow::Kind::Choice: {
        const auto at = std::find(row.values.begin(), row.values.end(), now);
        return "< " + (at == row.values.end() ? now : Word(Lookup(row.shown), at - row.values.begin())) + " >";
    }
    case MenuRow::Kind::Binding:
        if (capturing && &row == &rows.rows[selected])
            return "...";
        return CBindings::Names(static_cast<Action>(row.action), static_cast<CBindings::Device>(row.device));
    case MenuRow::Kind::Mute:
        return Lookup(SoundManager::Exists() && SoundManager::GetSingleton().IsMuted() ? N_("an") : N_("aus"));
    default:
        return "";
    }
}

int CMenu::FirstShown() const
{
    const int n = static_cast<int>(rows.rows.size());
    return std::clamp(selected - kVisibleRows / 2, 0, std::max(0, n - kVisibleRows));
}

void CMenu::Panel(int w, int h, int box[4]) const
{
    const int shown = std::min(kVisibleRows, static_cast<int>(rows.rows.size()));
    box[2] = kPanelWidth;
    box[3] = kTitleHeight + shown * kRowHeight + kMessageHeight;
    box[0] = (w - box[2]) / 2;
    box[1] = (h - box[3]) / 2;
}

bool CMenu::InPanel(int x, int y) const
{
    int box[4];
    Panel(frameWidth, frameHeight, box);
    return x >= box[0] && x < box[0] + box[2] && y >= box[1] && y < box[1] + box[3];
}

int CMenu::RowAt(int w, int h, int x, int y, bool* rightHalf) const
{
    int box[4];
    Panel(w, h, box);
    if (x < box[0] || x >= box[0] + box[2])
        return -1;
    const int top = box[1] + box[3] - kTitleHeight;
    if (y >= top)
        return -1;
    const int index = FirstShown() + (top - 1 - y) / kRowHeight;
    const int shown = std::min(kVisibleRows, static_cast<int>(rows.rows.size()));
    if ((top - 1 - y) / kRowHeight >= shown || index >= static_cast<int>(rows.rows.size()))
        return -1;
    if (rightHalf) {
        // The value's own middle: left of it steps down, right of it up.
        const std::string value = ValueText(rows.rows[index]);
        const int middle = box[0] + kValueColumn + Glyphs(value) * kGlyphAdvance / 2;
        *rightHalf = x >= middle;
    }
    return index;
}

void CMenu::SetFrame(int w, int h)
{
    frameWidth = w;
    frameHeight = h;
}

void CMenu::Layout(int w, int h, MenuLayout& out) const
{
    out.items.clear();
    int box[4];
    Panel(w, h, box);
    auto add = [&out](MenuItem::Kind kind, int x, int y, int width, int height, std::string text, bool bright,
                      float scale) {
        MenuItem item;
        item.kind = kind;
        item.x = x, item.y = y, item.width = width, item.height = height;
        item.text = std::move(text);
        item.bright = bright;
        item.scale = scale;
        out.items.push_back(std::move(item));
    };
    add(MenuItem::Kind::Panel, box[0], box[1], box[2], box[3], "", true, 1.0f);
    const int top = box[1] + box[3];
    const std::string title = Lookup(rows.title);
    const float titleScale = 2.0f;
    add(MenuItem::Kind::Text, (w - static_cast<int>(Glyphs(title) * kGlyphAdvance * titleScale)) / 2,
        top - kTitleHeight + 8, 0, 0, title, true, titleScale);
    const int first = FirstShown();
    const int shown = std::min(kVisibleRows, static_cast<int>(rows.rows.size()));
    for (int i = 0; i < shown; ++i) {
        const int index = first + i;
        const MenuRow& row = rows.rows[index];
        const int y = top - kTitleHeight - (i + 1) * kRowHeight;
        const bool chosen = index == selected;
        if (chosen)
            add(MenuItem::Kind::Highlight, box[0] + 4, y, box[2] - 8, kRowHeight, "", true, 1.0f);
        const bool pad = row.kind == MenuRow::Kind::Binding && row.device == CBindings::kPad;
        const std::string label = Lookup(row.label) + (pad ? " (Pad)" : "");
        add(MenuItem::Kind::Text, box[0] + kMargin, y + 3, 0, 0, label, chosen, 1.0f);
        const std::string value = ValueText(row);
        if (!value.empty())
            add(MenuItem::Kind::Text, box[0] + kValueColumn, y + 3, 0, 0, value, chosen, 1.0f);
    }
    // More rows above or below the ones shown.
    if (first > 0)
        add(MenuItem::Kind::Text, box[0] + box[2] - kMargin - kGlyphAdvance, top - kTitleHeight, 0, 0, "^", false, 1.0f);
    if (first + shown < static_cast<int>(rows.rows.size()))
        add(MenuItem::Kind::Text, box[0] + box[2] - kMargin - kGlyphAdvance, box[1] + kMessageHeight, 0, 0, "v",
            false, 1.0f);
    if (!message.empty())
        add(MenuItem::Kind::Text, box[0] + kMargin, box[1] + 10, 0, 0, message, true, 1.0f);
}
