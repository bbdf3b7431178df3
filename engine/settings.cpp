// Settings lines, the settings file and the three screen settings.
#include "engine/settings.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "engine/kernel.h"
#include "engine/videotask.h"

namespace {
constexpr std::size_t kMaxLineLength = 1023;
}

CSettingsManager::CSettingsManager() { CreateStandardSettings(); }

CSettingsManager::~CSettingsManager() { DestroyStandardSettings(); }

void CSettingsManager::RegisterVariable(std::string name, CMMPointer<BaseDator> var) { settingMap[name] = var; }

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
    // Looked up, not indexed: an unknown name must not leave an entry behind, or every
    // line of a long file of strange names would grow the table.
    auto it = settingMap.find(name);
    if (it == settingMap.end() || !it->second.isValid())
        return;
    CMMPointer<BaseDator> dator = it->second;
    if (!dator->hasMultipleValues()) {
        *dator = value;
        return;
    }
    // Several values separated by ";", each applied in order with the bias.
    std::size_t start = 0;
    for (;;) {
        std::size_t end = value.find(';', start);
        std::string piece = value.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (bias > 0)
            *dator += piece;
        else if (bias < 0)
            *dator -= piece;
        else
            *dator = piece;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
}

void CSettingsManager::ParseSetting(std::string str)
{
    int bias = 0;
    if (!str.empty() && (str[0] == '+' || str[0] == '-')) {
        bias = str[0] == '+' ? 1 : -1;
        str = str.substr(1);
    }
    std::string name, value;
    std::size_t eq = str.find('=');
    if (eq != std::string::npos) {
        name = str.substr(0, eq);
        value = str.substr(eq + 1);
    } else {
        name = str;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%i", (bias + 1) / 2);
        value = buffer;
    }
    SetVariable(name, value, bias);
}

void CSettingsManager::ParseFile(std::string fileName)
{
    std::ifstream in(fileName, std::ios::in | std::ios::binary);
    if (!in.is_open())
        return;
    // Lines longer than 1023 characters are cut there: the rest of such a line is
    // skipped and reading goes on with the next line.
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kMaxLineLength)
            line.resize(kMaxLineLength);
        ParseSetting(line);
    }
}

void CSettingsManager::CreateStandardSettings()
{
    CVideoTask::screenWidth = new Dator<int>(CVideoTask::scrWidth);
    RegisterVariable("screenX", CMMPointer<BaseDator>(CVideoTask::screenWidth));
    CVideoTask::screenHeight = new Dator<int>(CVideoTask::scrHeight);
    RegisterVariable("screenY", CMMPointer<BaseDator>(CVideoTask::screenHeight));
    CVideoTask::screenBPP = new Dator<int>(CVideoTask::scrBPP);
    RegisterVariable("screenBPP", CMMPointer<BaseDator>(CVideoTask::screenBPP));
    CVideoTask::screenFull = new Dator<int>(CVideoTask::fullscreen);
    RegisterVariable("fullscreen", CMMPointer<BaseDator>(CVideoTask::screenFull));
    maxFps = new Dator<int>(CKernel::maxFps);
    RegisterVariable("maxfps", CMMPointer<BaseDator>(maxFps));
}

void CSettingsManager::DestroyStandardSettings()
{
    CVideoTask::screenWidth = nullptr;
    CVideoTask::screenHeight = nullptr;
    CVideoTask::screenBPP = nullptr;
    CVideoTask::screenFull = nullptr;
    maxFps = nullptr;
}
