// SPDX-License-Identifier: GPL-3.0-or-later
// The settings table.
#include "gameplay/settingstable.h"

#include "gameplay/menu/menu.h"

namespace {
constexpr bool kNo = false, kMenu = true;
constexpr MenuPage kNone = MenuPage::Main;
using P = MenuPage;
}  // namespace

// clang-format off
const SettingInfo kSettingsTable[] = {
    // name             default   meaning                                                                     menu?  page           label                          lo  hi   step unit   values                  shown
    {"screenX",        "800",    "Fensterbreite in Pixeln",                                                   kNo,   kNone,         "",                            0,  0,   0,   "",    "",                     ""},
    {"screenY",        "600",    "Fensterhöhe in Pixeln",                                                     kNo,   kNone,         "",                            0,  0,   0,   "",    "",                     ""},
    {"screenBPP",      "16",     "Farbtiefe in Bit pro Pixel",                                                kNo,   kNone,         "",                            0,  0,   0,   "",    "",                     ""},
    {"fullscreen",     "1",      "in der Größe des Desktops; -fullscreen öffnet ein Fenster",                 kMenu, P::Screen,     "Vollbild",                    0,  0,   0,   "",    "0|1",                  "aus|an"},
    {"fullResolution", "0",      "1 zeichnet in der Größe des Bildschirms, nicht hochskaliert",               kMenu, P::Screen,     "Volle Auflösung",             0,  0,   0,   "",    "0|1",                  "aus|an"},
    {"maxfps",         "0",      "höchstens so viele Bilder pro Sekunde; 0 zeichnet, so schnell es geht",     kMenu, P::Screen,     "Bilder pro Sekunde",          0,  0,   0,   "",    "0|30|60|120",          "ohne Grenze|30|60|120"},
    {"effects",        "full",   "light: ohne Schatten, mit weniger Durchgängen und weicherem Leuchten, schneller ohne Grafikkarte", kMenu, P::Graphics, "Effekte", 0, 0, 0, "", "full|light", "voll|leicht"},
    {"reflections",    "1",      "das Wasser spiegelt das Level (F4 schaltet es für das Spiel um)",          kMenu, P::Graphics,   "Reflexionen",                 0,  0,   0,   "",    "0|1",                  "aus|an"},
    {"fps",            "1",      "die Bildrate in der Ecke (F3 schaltet sie für das Spiel um)",              kMenu, P::Graphics,   "Bildrate zeigen",             0,  0,   0,   "",    "0|1",                  "aus|an"},
    {"skybox",         "0",      "die Skybox (F5 schaltet sie für das Spiel um)",                            kMenu, P::Graphics,   "Skybox",                      0,  0,   0,   "",    "0|1",                  "aus|an"},
    {"sound",          "1",      "-sound spielt stumm, ohne Audiogerät",                                      kNo,   kNone,         "",                            0,  0,   0,   "",    "",                     ""},
    {"volumeFX",       "100",    "Lautstärke der Effekte in Prozent",                                         kMenu, P::Sound,      "Effekte",                     0,  100, 10,  " %",  "",                     ""},
    {"volumeMusic",    "100",    "Lautstärke der Musik in Prozent",                                           kMenu, P::Sound,      "Musik",                       0,  100, 10,  " %",  "",                     ""},
    {"layout",         "qwerty", "Tasten, wo eine qwerty-, azerty- oder qwertz-Tastatur sie hat",             kMenu, P::Controls,   "Tastatur",                    0,  0,   0,   "",    "qwerty|azerty|qwertz", "qwerty|azerty|qwertz"},
    {"pad",            "1",      "-pad lässt einen Controller in Ruhe",                                       kNo,   kNone,         "",                            0,  0,   0,   "",    "",                     ""},
    {"padDeadZone",    "20",     "wie weit ein Stick ausschlagen muss, in Prozent, damit er zählt",           kMenu, P::Controls,   "Totzone der Sticks",          0,  90,  5,   " %",  "",                     ""},
};
// clang-format on
const std::size_t kSettingsCount = sizeof kSettingsTable / sizeof kSettingsTable[0];
