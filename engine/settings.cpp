// SPDX-License-Identifier: GPL-3.0-or-later
// Settings lines, the settings file, the reports on lines that mean nothing, and the
// standard settings with the values they take.
#include "engine/settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

#include "engine/filenotes.h"
#include "engine/inputtask.h"
#include "engine/kernel.h"
#include "engine/screen.h"
#include "engine/settingsfile.h"
#include "engine/text.h"
#include "engine/videotask.h"

namespace {
constexpr std::size_t kMaxLineLength = 1023;
constexpr int kMaxScreenSide = 16384;
}  // namespace

CSettingsManager::CSettingsManager() { CreateStandardSettings(); }

CSettingsManager::~CSettingsManager() { DestroyStandardSettings(); }

void CSettingsManager::RegisterVariable(std::string name, CMMPointer<BaseDator> var)
{
    settingMap[name] = var;
    if (!var.isValid())
        return;
    // Lines read before this registration, in the order they came.
    std::vector<Line> waiting;
    for (auto it = unknown.begin(); it != unknown.end();) {
        if (it->name == name) {
            waiting.push_back(*it);
            it = unknown.erase(it);
        } else {
            ++it;
        }
    }
    for (const Line& line : waiting)
        Apply(line, *var);
}

std::string ChoiceDator::Refuse(std::string& s, int)
{
    for (const std::string& w : words)
        if (s == w)
            return "";
    std::string why = "must be ";
    for (size_t i = 0; i < words.size(); ++i)
        why += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    return why;
}

BaseDator& ChoiceDator::Set(const std::string& s)
{
    for (size_t i = 0; i < words.size(); ++i)
        if (s == words[i])
            *target = static_cast<int>(i);
    return *this;
}

std::string ChoiceDator::Get()
{
    return *target >= 0 && *target < static_cast<int>(words.size()) ? words[*target] : std::string();
}

std::string CSettingsManager::GetValue(const std::string& name) const
{
    const auto it = settingMap.find(name);
    return it != settingMap.end() && it->second.isValid() ? static_cast<std::string>(*it->second) : std::string();
}

bool CSettingsManager::IsRegistered(const std::string& name) const
{
    auto it = settingMap.find(name);
    return it != settingMap.end() && it->second.isValid();
}

std::map<std::string, std::string> CSettingsManager::Values() const
{
    std::map<std::string, std::string> values;
    for (const auto& setting : settingMap) {
        if (setting.second.isValid())
            values[setting.first] = static_cast<std::string>(*setting.second);
    }
    return values;
}

void CSettingsManager::SetVariable(std::string& name, std::string& value, int bias)
{
    Set(Line{"", name + "=" + value, name, value, bias, 0});
}

void CSettingsManager::Set(const Line& line)
{
    // Looked up, not indexed: an unknown name must not leave an entry behind, or every
    // line of a long file of strange names would grow the table.
    auto it = settingMap.find(line.name);
    if (it != settingMap.end() && it->second.isValid()) {
        Apply(line, *it->second);
        return;
    }
    // Empty and blank lines say nothing; anything else is judged once every part of the
    // program has registered its settings.
    if (line.text.find_first_not_of(" \t") != std::string::npos)
        unknown.push_back(line);
}

void CSettingsManager::Apply(const Line& line, BaseDator& dator)
{
    std::string value = line.value;
    if (!dator.hasMultipleValues()) {
        const std::string why = dator.Refuse(value, 0);
        if (why.empty())
            dator = value;
        else
            Report(line, why + "; " + line.name + " stays " + static_cast<std::string>(dator));
        return;
    }
    // Several values separated by ";", each applied in order with the bias.
    std::size_t start = 0;
    for (int number = 1;; ++number) {
        std::size_t end = value.find(';', start);
        std::string piece = value.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string why = dator.Refuse(piece, line.bias);
        if (!why.empty())
            Report(line, "value " + std::to_string(number) + ": " + why + "; skipped");
        else if (line.bias > 0)
            dator += piece;
        else if (line.bias < 0)
            dator -= piece;
        else
            dator = piece;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

std::string Printable(const std::string& text, std::size_t most)
{
    std::string shown;
    for (std::size_t i = 0; i < text.size() && i < most; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f) {
            shown += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        }
    }
    return text.size() > most ? shown + "..." : shown;
}

void CSettingsManager::Report(const Line& line, const std::string& what)
{
    // Quoted and cut short: a line of a strange file cannot garble the terminal it is
    // reported on.
    constexpr std::size_t kShown = 60;
    const std::string said = "\"" + Printable(line.text, kShown) + "\": " + what;
    CFileNotes::Error(said, line.number);
    Warn((line.source.empty() ? "" : line.source + ": ") + said);
}

void CSettingsManager::Warn(const std::string& message)
{
    if (reporter)
        reporter(message);
    else
        std::cerr << message << "\n";
}

void CSettingsManager::ReportUnknown()
{
    for (const Line& line : unknown) {
        // A registered name that differs only in case or in blanks around it is named.
        std::string hint;
        const std::size_t first = line.name.find_first_not_of(' ');
        const std::string trimmed =
            first == std::string::npos ? "" : line.name.substr(first, line.name.find_last_not_of(' ') - first + 1);
        for (const auto& [name, dator] : settingMap) {
            if (dator.isValid() && name.size() == trimmed.size() &&
                std::equal(name.begin(), name.end(), trimmed.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                }))
                hint = " (did you mean " + name + "?)";
        }
        Report(line, "no such setting" + hint + "; ignored");
    }
    unknown.clear();
}

void CSettingsManager::ParseSetting(std::string str, const std::string& source, int number)
{
    Line line{source, str, "", "", 0, number};
    if (!str.empty() && (str[0] == '+' || str[0] == '-')) {
        line.bias = str[0] == '+' ? 1 : -1;
        str = str.substr(1);
    }
    std::size_t eq = str.find('=');
    if (eq != std::string::npos) {
        line.name = str.substr(0, eq);
        line.value = str.substr(eq + 1);
    } else {
        line.name = str;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%i", (line.bias + 1) / 2);
        line.value = buffer;
    }
    Set(line);
}

void CSettingsManager::ParseFile(std::string name)
{
    fileName = name;
    std::ifstream in(fileName, std::ios::in | std::ios::binary);
    if (!in.is_open())
        return;
    // Lines longer than 1023 characters are cut there: the rest of such a line is
    // skipped and reading goes on with the next line.
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.size() > kMaxLineLength)
            text.resize(kMaxLineLength);
        if (text.compare(0, 1, "#") == 0)
            continue;
        ParseSetting(text, fileName + ":" + std::to_string(number), number);
    }
}

bool CSettingsManager::Save(const std::vector<std::string>& names, const std::vector<std::string>& dropped,
                            std::string& why)
{
    std::vector<std::pair<std::string, std::string>> owned;
    for (const std::string& name : names) {
        const auto it = settingMap.find(name);
        if (it != settingMap.end() && it->second.isValid())
            owned.emplace_back(name, static_cast<std::string>(*it->second));
    }
    return SettingsFile::Write(fileName, owned, dropped, why);
}

void CSettingsManager::CreateStandardSettings()
{
    // A window side beyond 16384 is more than any GL viewport of the game's drivers; the
    // depths are those an OpenGL window is made with.
    CVideoTask::screenWidth = new Dator<int>(CVideoTask::scrWidth, 1, kMaxScreenSide);
    RegisterVariable("screenX", CMMPointer<BaseDator>(CVideoTask::screenWidth));
    CVideoTask::screenHeight = new Dator<int>(CVideoTask::scrHeight, 1, kMaxScreenSide);
    RegisterVariable("screenY", CMMPointer<BaseDator>(CVideoTask::screenHeight));
    CVideoTask::screenBPP = new Dator<int>(CVideoTask::scrBPP, {16, 24, 32});
    RegisterVariable("screenBPP", CMMPointer<BaseDator>(CVideoTask::screenBPP));
    CVideoTask::screenFull = new Dator<int>(CVideoTask::fullscreen, 0, 1);
    RegisterVariable("fullscreen", CMMPointer<BaseDator>(CVideoTask::screenFull));
    maxFps = new Dator<int>(CKernel::maxFps, 0, std::numeric_limits<int>::max());
    RegisterVariable("maxfps", CMMPointer<BaseDator>(maxFps));
    pad = new Dator<int>(CInputTask::padOn, 0, 1);
    RegisterVariable("pad", CMMPointer<BaseDator>(pad));
    widescreen = new Dator<int>(CScreen::widescreen, 0, 1);
    RegisterVariable("widescreen", CMMPointer<BaseDator>(widescreen));
    CLanguage::Register(*this);
}

void CSettingsManager::DestroyStandardSettings()
{
    CVideoTask::screenWidth = nullptr;
    CVideoTask::screenHeight = nullptr;
    CVideoTask::screenBPP = nullptr;
    CVideoTask::screenFull = nullptr;
    maxFps = nullptr;
    pad = nullptr;
    widescreen = nullptr;
}
