// SPDX-License-Identifier: GPL-3.0-or-later
// The settings table.
#include "gameplay/settingstable.h"

#include "engine/text.h"
#include "gameplay/menu/menu.h"

namespace {
constexpr bool kNo = false, kMenu = true;
constexpr MenuPage kNone = MenuPage::Main;
using P = MenuPage;
// The words choices show, separated by "|".
// TRANSLATORS: words separated by |: keep their number and order.
constexpr const char* kOffOn = N_("aus|an");
constexpr const char* kAutoOffOn = N_("automatisch|aus|an");
// TRANSLATORS: words separated by |: keep their number and order.
constexpr const char* kFrameCaps = N_("ohne Grenze|30|60|120");
// TRANSLATORS: words separated by |: keep their number and order.
constexpr const char* kQualities = N_("voll|leicht");
// TRANSLATORS: words separated by |: keep their number and order; the languages' own names.
constexpr const char* kLanguages = N_("Deutsch|English|nach dem Gebietsschema");
}  // namespace

// clang-format off
const SettingInfo kSettingsTable[] = {
    // name              default   meaning                                                                                                 menu?  page         label                     lo hi   step unit  values                  shown
    {"screenX",        "800",    N_("Fensterbreite in Pixeln"),                                                                          kNo,   kNone,       "",                       0, 0,   0,   "",   "",                     ""},
    {"screenY",        "600",    N_("Fensterhöhe in Pixeln"),                                                                            kNo,   kNone,       "",                       0, 0,   0,   "",   "",                     ""},
    {"screenBPP",      "16",     N_("Farbtiefe in Bit pro Pixel"),                                                                       kNo,   kNone,       "",                       0, 0,   0,   "",   "",                     ""},
    {"fullscreen",     "1",      N_("in der Größe des Desktops; -fullscreen öffnet ein Fenster"),                                        kMenu, P::Screen,   N_("Vollbild"),           0, 0,   0,   "",   "0|1",                  kOffOn},
    {"fullResolution", "-1",     N_("1 scharf in der Größe des Bildschirms, 0 hochskaliert; -1 nach dem Renderer"),                      kMenu, P::Screen,   N_("Volle Auflösung"),    0, 0,   0,   "",   "-1|0|1",               kAutoOffOn},
    {"widescreen",     "1",      N_("das Bild wird so breit wie ein breiter Bildschirm; -widescreen bleibt bei 4:3"),                    kMenu, P::Screen,   N_("Breitbild"),          0, 0,   0,   "",   "0|1",                  kOffOn},
    {"maxfps",         "0",      N_("höchstens so viele Bilder pro Sekunde; 0 zeichnet, so schnell es geht"),                            kMenu, P::Screen,   N_("Bilder pro Sekunde"), 0, 0,   0,   "",   "0|30|60|120",          kFrameCaps},
    {"effects",        "full",   N_("light: ohne Schatten, mit weniger Durchgängen und weicherem Leuchten, schneller ohne Grafikkarte"), kMenu, P::Graphics, N_("Effekte"),            0, 0,   0,   "",   "full|light",           kQualities},
    {"reflections",    "1",      N_("das Wasser spiegelt das Level (F4 schaltet es für das Spiel um)"),                                  kMenu, P::Graphics, N_("Reflexionen"),        0, 0,   0,   "",   "0|1",                  kOffOn},
    {"fps",            "1",      N_("die Bildrate in der Ecke (F3 schaltet sie für das Spiel um)"),                                      kMenu, P::Graphics, N_("Bildrate zeigen"),    0, 0,   0,   "",   "0|1",                  kOffOn},
    {"skybox",         "0",      N_("die Skybox (F5 schaltet sie für das Spiel um)"),                                                    kMenu, P::Graphics, N_("Skybox"),             0, 0,   0,   "",   "0|1",                  kOffOn},
    {"sound",          "1",      N_("-sound spielt stumm, ohne Audiogerät"),                                                             kNo,   kNone,       "",                       0, 0,   0,   "",   "",                     ""},
    {"volumeFX",       "100",    N_("Lautstärke der Effekte in Prozent"),                                                                kMenu, P::Sound,    N_("Effekte"),            0, 100, 10,  " %", "",                     ""},
    {"volumeMusic",    "100",    N_("Lautstärke der Musik in Prozent"),                                                                  kMenu, P::Sound,    N_("Musik"),              0, 100, 10,  " %", "",                     ""},
    {"layout",         "qwerty", N_("Tasten, wo eine qwerty-, azerty- oder qwertz-Tastatur sie hat"),                                    kMenu, P::Controls, N_("Tastatur"),           0, 0,   0,   "",   "qwerty|azerty|qwertz", "qwerty|azerty|qwertz"},
    {"pad",            "1",      N_("-pad lässt einen Controller in Ruhe"),                                                              kNo,   kNone,       "",                       0, 0,   0,   "",   "",                     ""},
    {"padDeadZone",    "20",     N_("wie weit ein Stick ausschlagen muss, in Prozent, damit er zählt"),                                  kMenu, P::Controls, N_("Totzone der Sticks"), 0, 90,  5,   " %", "",                     ""},
    {"language",       "de",     N_("Sprache der Texte: de, en oder auto (die des Gebietsschemas)"),                                     kMenu, P::Language, N_("Sprache"),            0, 0,   0,   "",   "de|en|auto",           kLanguages},
};
// clang-format on
const std::size_t kSettingsCount = sizeof kSettingsTable / sizeof kSettingsTable[0];
