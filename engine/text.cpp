// SPDX-License-Identifier: GPL-3.0-or-later
// Texts through glibc's gettext, and the language setting.
#include "engine/text.h"

#include <libintl.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "engine/settings.h"

namespace {

constexpr const char* kDomain = "velq";
constexpr const char* kAuto = "auto";

struct State {
    std::string catalogDir = "locale";
    std::string choice = CLanguage::kOwn;
    std::string current = CLanguage::kOwn;
    bool translating = false;  // false: every text is its own German
};
State state;

// The locale variables as the program found them, before it sets LANGUAGE itself.
const CLanguage::Environment& StartingEnvironment()
{
    static const auto kept = [] {
        std::vector<std::pair<const char*, std::string>> values;
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = std::getenv(name);
            if (value)
                values.emplace_back(name, value);
        }
        return values;
    }();
    static const CLanguage::Environment environment = [](const char* name) -> const char* {
        for (const auto& [key, value] : kept)
            if (std::strcmp(key, name) == 0)
                return value.c_str();
        return nullptr;
    };
    return environment;
}

// Only names a catalog folder can have: no path of any other file is ever built.
bool IsLanguageName(const std::string& name)
{
    return !name.empty() && name.size() <= 32 && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '@' || c == '-';
    });
}

bool Activate(const std::string& language)
{
    if (language == CLanguage::kOwn) {
        state.translating = false;
        state.current = language;
        return true;
    }
    if (!CLanguage::HasCatalog(language))
        return false;
    StartingEnvironment();  // kept before LANGUAGE changes
    // gettext reads LANGUAGE only when the messages' locale is not plain C. C.UTF-8 is
    // built into glibc, so no locale need be generated for it; the catalogs' texts come
    // in UTF-8 whatever the locale's character set.
    static const bool messagesLocale = [] {
        const char* set = std::setlocale(LC_MESSAGES, "C.UTF-8");
        if (!set)
            set = std::setlocale(LC_MESSAGES, "");
        if (set && std::strcmp(set, "C") != 0 && std::strcmp(set, "POSIX") != 0)
            return true;
        std::cerr << "VELQ: no locale lets gettext load a catalog (not even C.UTF-8); the texts stay German\n";
        return false;
    }();
    if (!messagesLocale)
        return false;
    bindtextdomain(kDomain, state.catalogDir.c_str());
    bind_textdomain_codeset(kDomain, "UTF-8");
    setenv("LANGUAGE", language.c_str(), 1);
    // Setting the text domain again tells gettext that the texts it keeps are stale.
    textdomain(textdomain(nullptr));
    state.translating = true;
    state.current = language;
    return true;
}

// A setting that takes a language's name.
class LanguageDator : public BaseDator {
public:
    BaseDator& operator=(std::string& s) override
    {
        CLanguage::Choose(s);
        return *this;
    }
    BaseDator& operator+=(std::string& s) override { return operator=(s); }
    BaseDator& operator-=(std::string& s) override { return operator=(s); }
    bool operator==(std::string& s) override { return s == CLanguage::Choice(); }
    bool operator!=(std::string& s) override { return s != CLanguage::Choice(); }
    bool hasMultipleValues() override { return false; }
    operator std::string() override { return CLanguage::Choice(); }
    unsigned size() override { return sizeof(*this); }
    std::string Refuse(std::string& s, int) override
    {
        std::vector<std::string> choices = CLanguage::Available();
        if (s == kAuto || std::find(choices.begin(), choices.end(), s) != choices.end())
            return "";
        choices.insert(choices.begin(), kAuto);
        std::string why = "no catalog for that language; must be ";
        for (size_t i = 0; i < choices.size(); ++i)
            why += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i];
        return why;
    }
};

}  // namespace

const char* Tr(const char* german)
{
    // The empty text is the catalog's header, never a player's text.
    if (!state.translating || !german || !*german)
        return german;
    return dgettext(kDomain, german);
}

void CLanguage::SetCatalogDir(const std::string& dir) { state.catalogDir = dir; }

bool CLanguage::HasCatalog(const std::string& language)
{
    if (!IsLanguageName(language))
        return false;
    std::ifstream catalog(state.catalogDir + "/" + language + "/LC_MESSAGES/" + kDomain + ".mo");
    return catalog.is_open();
}

std::vector<std::string> CLanguage::Available()
{
    std::vector<std::string> languages = {kOwn};
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(state.catalogDir, error)) {
        const std::string name = entry.path().filename().string();
        if (name != kOwn && HasCatalog(name))
            languages.push_back(name);
    }
    std::sort(languages.begin(), languages.end());
    return languages;
}

bool CLanguage::Choose(const std::string& choice)
{
    if (choice == kAuto) {
        // What the locale names is the game's own or has a catalog.
        if (!Activate(FromLocale(kOwn)))
            Activate(kOwn);
    } else if (!Activate(choice)) {
        return false;
    }
    state.choice = choice;
    return true;
}

const std::string& CLanguage::Choice() { return state.choice; }

const std::string& CLanguage::Current() { return state.current; }

std::string CLanguage::FromLocale(const Environment& environment, const std::string& fallback)
{
    auto value = [&](const char* name) {
        const char* v = environment(name);
        return std::string(v ? v : "");
    };
    std::string locale = value("LC_ALL");
    if (locale.empty())
        locale = value("LC_MESSAGES");
    if (locale.empty())
        locale = value("LANG");
    if (locale.empty() || locale == "C" || locale == "POSIX")
        return fallback;
    std::vector<std::string> wanted;
    const std::string list = value("LANGUAGE");
    for (size_t start = 0; start < list.size();) {
        const size_t colon = std::min(list.find(':', start), list.size());
        wanted.push_back(list.substr(start, colon - start));
        start = colon + 1;
    }
    wanted.push_back(locale);
    for (const std::string& entry : wanted) {
        const std::string name = entry.substr(0, entry.find_first_of(".@"));
        for (const std::string& language : {name, name.substr(0, name.find('_'))})
            if (language == kOwn || HasCatalog(language))
                return language;
    }
    return fallback;
}

std::string CLanguage::FromLocale(const std::string& fallback)
{
    return FromLocale(StartingEnvironment(), fallback);
}

void CLanguage::Register(CSettingsManager& settings)
{
    settings.RegisterVariable("language", CMMPointer<BaseDator>(new LanguageDator()));
}
