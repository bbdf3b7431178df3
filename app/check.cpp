// SPDX-License-Identifier: GPL-3.0-or-later
// velq --check: finds the files, hands each to the reader the game reads it with, and
// prints what the reader said. An error is what the game refuses or cannot show; a
// warning what it takes but a modder most likely did not mean.
#include "app/check.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <streambuf>

#include "app/application.h"
#include "engine/filenotes.h"
#include "engine/recording.h"
#include "engine/settings.h"
#include "gameplay/bindings.h"
#include "render/terrain.h"
#include "render/tga.h"
#include "world/maploader.h"
#include "world/md2loader.h"
#include "world/md2model.h"
#include "world/soundmanager.h"

namespace fs = std::filesystem;

namespace {

enum class Kind { kMap, kHeightField, kModel, kTexture, kSound, kSettings, kRecording, kNone };

// clang-format off
const struct {
    const char* ending;
    Kind kind;
} kEndings[] = {
    {".map", Kind::kMap},
    {".raw", Kind::kHeightField},
    {".md2", Kind::kModel},
    {".tga", Kind::kTexture},
    {".ogg", Kind::kSound},
    {".esf", Kind::kSettings},
    {".rec", Kind::kRecording},
};
// clang-format on

Kind KindOf(const std::string& path)
{
    for (const auto& e : kEndings) {
        const std::string ending = e.ending;
        if (path.size() > ending.size() && path.compare(path.size() - ending.size(), ending.size(), ending) == 0)
            return e.kind;
    }
    return Kind::kNone;
}

// A note longer than this is cut: no reader says that much, a file's bytes might.
constexpr std::size_t kLongestNote = 300;

// The readers' console lines are the game's, not the check's: they go nowhere while it runs.
class Quiet {
public:
    Quiet() : out(std::cout.rdbuf(&nowhere)), err(std::cerr.rdbuf(&nowhere)) {}
    ~Quiet()
    {
        std::cout.rdbuf(out);
        std::cerr.rdbuf(err);
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    struct Nowhere : std::streambuf {
        int overflow(int c) override { return traits_type::not_eof(c); }
    } nowhere;
    std::streambuf* out;
    std::streambuf* err;
};

class Checker {
public:
    explicit Checker(std::ostream& out) : report(out.rdbuf()) {}
    ~Checker()
    {
        if (sound) {
            sound->Close();
            delete sound;
        }
    }
    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;

    // A file of a kind the game reads, or a folder to walk; missing says why it is not there.
    void Check(const std::string& path, const char* missing = "no such file or folder")
    {
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        if (!fs::exists(status)) {
            Say(path, {true, 0, missing});
        } else if (fs::is_directory(status)) {
            std::vector<std::string> files;
            std::set<fs::path> walked;
            Collect(path, files, walked);
            std::sort(files.begin(), files.end());
            for (const std::string& file : files)
                CheckFile(file, KindOf(file));
        } else if (KindOf(path) != Kind::kNone) {
            CheckFile(path, KindOf(path));
        } else {
            Say(path, {true, 0, "no file the game reads; velq --check knows .map, .raw, .md2, .tga, .ogg, .esf "
                                "and .rec"});
        }
    }

    int Finish()
    {
        report << "checked " << Count(files, "file") << ": " << Count(errors, "error") << ", "
               << Count(warnings, "warning") << "\n";
        report.flush();
        return errors > 0 ? 1 : 0;
    }

private:
    static std::string Count(int n, const char* what)
    {
        return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
    }

    // Every file of a known kind below dir, each folder walked once however it is linked.
    void Collect(const fs::path& dir, std::vector<std::string>& files, std::set<fs::path>& walked)
    {
        std::error_code ec;
        if (!walked.insert(fs::canonical(dir, ec)).second)
            return;
        fs::directory_iterator it(dir, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            const std::string path = it->path().string();
            std::error_code type;
            if (it->is_directory(type))
                Collect(it->path(), files, walked);
            else if (KindOf(path) != Kind::kNone)
                files.push_back(path);
        }
        if (ec)
            Say(dir.string(), {true, 0, "the folder cannot be read: " + ec.message()});
    }

    void CheckFile(const std::string& path, Kind kind)
    {
        if (!checked.insert(fs::absolute(path).lexically_normal()).second)
            return;
        ++files;
        std::vector<FileNote> notes;
        std::error_code ec;
        if (fs::exists(path, ec) && !fs::is_regular_file(path, ec)) {
            // A pipe or a device could keep a reader waiting for ever.
            notes.push_back({true, 0, "no regular file; not read"});
        } else {
            CFileNotes listen;
            Read(path, kind);
            notes = listen.Notes();
        }
        // By line, as an editor walks them; what is about the whole file last.
        std::stable_sort(notes.begin(), notes.end(), [](const FileNote& a, const FileNote& b) {
            return unsigned(a.line - 1) < unsigned(b.line - 1);
        });
        for (const FileNote& note : notes)
            Say(path, note);
        // A level is its cell map and its height field.
        if (kind == Kind::kMap)
            CheckFile(path + ".raw", Kind::kHeightField);
    }

    void Read(const std::string& path, Kind kind)
    {
        switch (kind) {
        case Kind::kMap: {
            std::string cells;
            MapLoader::ReadCells(path, cells);
            break;
        }
        case Kind::kHeightField:
            heights.resize(std::size_t(TerrainGeometry::kSamples) * TerrainGeometry::kSamples);
            MapLoader::LoadRawFile(path, heights.size(), heights.data());
            break;
        case Kind::kModel: {
            MD2Model model;
            MD2Loader().LoadFile(model, path);
            break;
        }
        case Kind::kTexture: {
            TextureImage image;
            LoadTgaFile(image, path);
            break;
        }
        case Kind::kSound:
            ReadSound(path);
            break;
        case Kind::kSettings:
            ReadSettings(path);
            break;
        case Kind::kRecording: {
            Recording recording;
            CGameRecording::Read(path, recording);
            break;
        }
        case Kind::kNone:
            break;
        }
    }

    // Decoded by the mixer as the game decodes an effect, on SDL's silent driver: the
    // check needs no sound card and plays nothing.
    void ReadSound(const std::string& path)
    {
        if (!sound) {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            sound = new SoundManager(false);
            noMixer = sound->Open();
        }
        if (noMixer.empty())
            sound->Decodes(path);
        else
            CFileNotes::Warning("not decoded: SDL_mixer does not open (" + noMixer + ")");
    }

    // Read as the game reads its settings at start, from its own bindings; then the
    // program's settings are as they were, and the bindings the game's own again.
    static void ReadSettings(const std::string& path)
    {
        CBindings::Reset();
        auto* settings = new CSettingsManager();
        CApplication::RegisterSettings(*settings);
        const std::map<std::string, std::string> before = settings->Values();
        settings->ParseFile(path);
        settings->ReportUnknown();
        for (const std::string& clash : CBindings::Clashes())
            CFileNotes::Warning(clash);
        for (const auto& [name, value] : before)
            settings->ParseSetting(name + "=" + value);
        CBindings::Reset();
        delete settings;
        IMMObject::CollectGarbage();
    }

    void Say(const std::string& path, const FileNote& note)
    {
        report << path << (note.line > 0 ? ":" + std::to_string(note.line) : "")
               << (note.error ? ": error: " : ": warning: ") << Printable(note.text, kLongestNote) << "\n";
        ++(note.error ? errors : warnings);
    }

    std::ostream report;
    Quiet quiet;
    std::set<fs::path> checked;
    std::vector<unsigned char> heights;
    SoundManager* sound = nullptr;
    std::string noMixer;  // why the mixer did not open, once it was asked to
    int files = 0, errors = 0, warnings = 0;
};

}  // namespace

int RunCheck(const std::vector<std::string>& paths, const std::string& settingsFile, std::ostream& out)
{
    Checker checker(out);
    if (paths.empty()) {
        checker.Check("Resources", "no such folder here, where the game would read it (or name what to check)");
        // The settings the game would read; without the file it reads none.
        std::error_code ec;
        if (fs::exists(settingsFile, ec))
            checker.Check(settingsFile);
    }
    for (const std::string& path : paths)
        checker.Check(path);
    return checker.Finish();
}
