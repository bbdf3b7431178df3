// SPDX-License-Identifier: GPL-3.0-or-later
// The one lookup of every text a player reads, and the choice of its language. The
// game's own German text is the key; a gettext catalog (LANG/LC_MESSAGES/velq.mo below
// the catalog folder, made from po/LANG.po) gives another language. German needs no
// catalog: it is the text itself, so without catalogs every text stays as written.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CSettingsManager;

// Marks a text in a table for the catalogs' template; the lookup is where it is shown.
constexpr const char* N_(const char* german) { return german; }

// The text in the language in force: the German text itself when that is German, or
// when the catalog does not translate it. Allocates nothing for a text looked up before,
// so the head-up display may call it every frame.
const char* Tr(const char* german);

class CLanguage {
public:
    static constexpr const char* kOwn = "de";  // the game's own language, without catalog

    // The folder that holds LANG/LC_MESSAGES/velq.mo; set before a language is chosen.
    static void SetCatalogDir(const std::string& dir);
    static bool HasCatalog(const std::string& language);
    // The game's own language and every language with a catalog, sorted.
    static std::vector<std::string> Available();

    // "auto", "de" or a language with a catalog ("en"); takes effect with the next text
    // looked up, so the next frame shows it. Returns false, and keeps the language in
    // force, for a language without catalog.
    static bool Choose(const std::string& choice);
    static const std::string& Choice();   // as chosen ("auto")
    static const std::string& Current();  // in force ("en")

    // The first language the player's locale names that the game has (its own or one
    // with a catalog), or the fallback: LANGUAGE's list in its order (unless the locale
    // is C or POSIX, which turns it off as it does for every gettext program), then the
    // locale of LC_ALL, else LC_MESSAGES, else LANG. "de_AT.UTF-8" is de_AT, else de.
    using Environment = std::function<const char*(const char*)>;
    static std::string FromLocale(const Environment& environment, const std::string& fallback);
    // The same for the environment the program started with.
    static std::string FromLocale(const std::string& fallback);

    // The setting language=auto|de|LANG (default de).
    static void Register(CSettingsManager& settings);
};
