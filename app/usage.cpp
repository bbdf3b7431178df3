// What --help prints: the options, the settings with their defaults and the keys.
#include "app/usage.h"

std::string UsageText()
{
    return
        "Usage: velq [OPTION]... [SETTING]...\n"
        "Velq! - defend your flag against the enemies, with three weapons and towers.\n"
        "\n"
        "Options:\n"
        "  --help            this text\n"
        "  --version         name and version\n"
        "  --record FILE     write the game you play to FILE\n"
        "  --replay FILE     play FILE back and check that it ends as recorded\n"
        "  --timedemo FILE   play FILE back as fast as it draws, print the frame rate\n"
        "\n"
        "Settings (read from settings.esf, then the command line; name=value,\n"
        "+name sets 1, -name sets 0):\n"
        "  screenX=800       window width in pixels\n"
        "  screenY=600       window height in pixels\n"
        "  screenBPP=16      colour depth in bits per pixel\n"
        "  fullscreen=1      -fullscreen opens a window; Alt+Enter switches\n"
        "  sound=1           -sound plays silently, without an audio device\n"
        "  maxfps=0          frames per second at most; 0 draws as fast as it can\n"
        "\n"
        "Tasten:\n"
        "  w a s d, Pfeile: laufen        Maus: zielen\n"
        "  Leertaste, linke Maustaste: feuern\n"
        "  rechte Maustaste: Turm         z: Turmring\n"
        "  Tab: Waffe wechseln            c, mittlere Maustaste: Kamera drehen\n"
        "  1 2 o i, Bild auf/ab: Kamera   5 6 7 8: Level 1 bis 4\n"
        "  Esc: zur Auswahl, dort beenden\n"
        "  F1: Hilfe                      F2: Scenegraph ein/aus\n"
        "  F3: FPS ein/aus                F4: Reflexionen ein/aus\n"
        "  F6: Bounding Boxes ein/aus     F7: Wireframe ein/aus\n"
        "  F8: Displaylists ein/aus       y: Shadowmap ein/aus\n"
        "  p: Gegnerpfade ein/aus         m: Musik/FX ein/aus\n"
        "  F12: Bildschirmfoto            Alt+Enter: Fenster/Vollbild\n";
}
