// SPDX-License-Identifier: GPL-3.0-or-later
// One table of names for every input number, made once; looked up both ways.
#include "engine/inputnames.h"

#include <array>
#include <cctype>
#include <string>

#include "engine/inputtask.h"

namespace {

// The keys SDL names by a word; the printable characters, the keypad's digits, the
// function keys and the "world" keys follow a pattern and are made below.
struct KeyWord {
    int key;
    const char* name;
};
// clang-format off
constexpr KeyWord kKeyWords[] = {
    {8, "backspace"},    {9, "tab"},          {12, "clear"},        {13, "return"},      {19, "pause"},
    {27, "escape"},      {32, "space"},       {127, "delete"},      {266, "[.]"},        {267, "[/]"},
    {268, "[*]"},        {269, "[-]"},        {270, "[+]"},         {271, "enter"},      {272, "equals"},
    {273, "up"},         {274, "down"},       {275, "right"},       {276, "left"},       {277, "insert"},
    {278, "home"},       {279, "end"},        {280, "page up"},     {281, "page down"},  {300, "numlock"},
    {301, "caps lock"},  {302, "scroll lock"},{303, "right shift"}, {304, "left shift"}, {305, "right ctrl"},
    {306, "left ctrl"},  {307, "right alt"},  {308, "left alt"},    {309, "right meta"}, {310, "left meta"},
    {311, "left super"}, {312, "right super"},{313, "alt gr"},      {314, "compose"},    {315, "help"},
    {316, "print screen"},{317, "sys req"},   {318, "break"},       {319, "menu"},       {320, "power"},
    {321, "euro"},       {322, "undo"},
};
// clang-format on
static_assert(sizeof kKeyWords / sizeof kKeyWords[0] == 47, "every key SDL names by a word");

constexpr int kFirstWorldKey = 160, kLastWorldKey = 255;
constexpr int kKeypadDigits = 256, kFunctionKeys = 282, kFunctionKeyCount = 15;
constexpr const char* kHatNames[CInputTask::kPadHatBits] = {"hatup", "hatright", "hatdown", "hatleft"};

const std::array<std::string, CInputTask::kInputCount>& Names()
{
    static const std::array<std::string, CInputTask::kInputCount> names = [] {
        std::array<std::string, CInputTask::kInputCount> n;
        // Printable ASCII names itself, but for "%", the capitals and "{|}~", which no
        // key gives.
        for (int c = 33; c < 127; ++c) {
            if (c != '%' && !(c >= 'A' && c <= 'Z') && c < '{')
                n[c] = std::string(1, static_cast<char>(c));
        }
        for (int k = kFirstWorldKey; k <= kLastWorldKey; ++k)
            n[k] = "world " + std::to_string(k - kFirstWorldKey);
        for (int d = 0; d < 10; ++d)
            n[kKeypadDigits + d] = "[" + std::to_string(d) + "]";
        for (int f = 0; f < kFunctionKeyCount; ++f)
            n[kFunctionKeys + f] = "f" + std::to_string(f + 1);
        for (const KeyWord& w : kKeyWords)
            n[w.key] = w.name;
        for (int b = 0; b < CInputTask::kMouseButtons; ++b)
            n[CInputTask::kMouseInput + b] = "mouse" + std::to_string(b + 1);
        for (int b = 0; b < CInputTask::kPadButtons; ++b)
            n[CInputTask::kPadButtonInput + b] = "joy" + std::to_string(b);
        for (int h = 0; h < CInputTask::kPadHatBits; ++h)
            n[CInputTask::kPadHatInput + h] = kHatNames[h];
        for (int a = 0; a < CInputTask::kPadAxes; ++a) {
            n[CInputTask::kPadAxisInput + 2 * a] = "axis" + std::to_string(a) + "+";
            n[CInputTask::kPadAxisInput + 2 * a + 1] = "axis" + std::to_string(a) + "-";
        }
        return n;
    }();
    return names;
}

bool SameLetters(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string InputName(int input)
{
    return input >= 0 && input < CInputTask::kInputCount ? Names()[input] : std::string();
}

int FindInput(const std::string& name)
{
    if (name.empty())
        return -1;
    const auto& names = Names();
    for (int i = 0; i < CInputTask::kInputCount; ++i) {
        if (!names[i].empty() && SameLetters(names[i], name))
            return i;
    }
    // A Latin-1 letter in UTF-8: two bytes, 110000xx 10xxxxxx, for U+00A0 to U+00FF.
    const unsigned char lead = static_cast<unsigned char>(name[0]);
    if (name.size() == 2 && (lead == 0xC2 || lead == 0xC3) && (static_cast<unsigned char>(name[1]) & 0xC0) == 0x80) {
        const int code = (lead & 0x03) << 6 | (static_cast<unsigned char>(name[1]) & 0x3F);
        if (code >= kFirstWorldKey)
            return code;
    }
    return -1;
}
