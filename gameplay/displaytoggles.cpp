// SPDX-License-Identifier: GPL-3.0-or-later
// The kept display toggles and the settings that carry them.
#include "gameplay/displaytoggles.h"

#include "engine/settings.h"
#include "world/gameworld.h"

namespace {

struct Kept {
    Toggle toggle;
    const char* setting;
};
constexpr Kept kKept[] = {
    {Toggle::Reflections, "reflections"},
    {Toggle::Fps, "fps"},
    {Toggle::Skybox, "skybox"},
};

bool Initial(Toggle t) { return kToggleTable[static_cast<int>(t)].initial; }

// A toggle as a setting of 0 or 1: the game world's state once there is one, before it
// the value read, which the world then starts with.
class ToggleDator : public Dator<int> {
public:
    explicit ToggleDator(Toggle t) : Dator<int>(value, 0, 1), toggle(t), value(Initial(t) ? 1 : 0) {}
    unsigned size() override { return sizeof(*this); }
    BaseDator& operator=(std::string& s) override
    {
        Dator<int>::operator=(s);
        if (GameWorld::Exists())
            GameWorld::GetSingleton().SetToggle(toggle, value != 0);
        return *this;
    }
    operator std::string() override
    {
        if (GameWorld::Exists())
            value = GameWorld::GetSingleton().IsOn(toggle) ? 1 : 0;
        return Dator<int>::operator std::string();
    }

private:
    Toggle toggle;
    int value;
};

}  // namespace

namespace DisplayToggles {

void Register(CSettingsManager& settings)
{
    for (const Kept& k : kKept)
        settings.RegisterVariable(k.setting, CMMPointer<BaseDator>(new ToggleDator(k.toggle)));
}

void Reset()
{
    if (!GameWorld::Exists() || !CSettingsManager::Exists())
        return;
    for (const Kept& k : kKept) {
        std::string name = k.setting, value = Initial(k.toggle) ? "1" : "0";
        CSettingsManager::GetSingleton().SetVariable(name, value);
    }
}

std::vector<std::string> SettingsLines()
{
    std::vector<std::string> lines;
    for (const Kept& k : kKept) {
        const bool on = GameWorld::Exists() ? GameWorld::GetSingleton().IsOn(k.toggle) : Initial(k.toggle);
        lines.push_back(std::string(k.setting) + "=" + (on ? "1" : "0"));
    }
    return lines;
}

}  // namespace DisplayToggles
