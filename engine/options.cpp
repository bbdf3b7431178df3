// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's options.
#include "engine/options.h"

#include <cstring>

const char* const kVersionText = "Velq! " VELQ_VERSION;

namespace {
struct FileOption {
    const char* name;
    std::string Options::*field;
    const char* what;  // what the option needs after it
};
const FileOption kFileOptions[] = {
    {"--record",   &Options::record,   "a file name"},
    {"--replay",   &Options::replay,   "a file name"},
    {"--timedemo", &Options::timedemo, "a file name"},
    {"--settings", &Options::settings, "a file name"},
    {"--log-dir",  &Options::logDir,   "a folder name"},
};
}  // namespace

Options ParseOptions(int argc, const char* const argv[])
{
    Options o;
    for (int i = 1; i < argc && o.error.empty(); ++i) {
        const std::string arg = argv[i];
        if (arg.compare(0, 2, "--") != 0) {
            o.settingsLines.push_back(arg);
            continue;
        }
        if (arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--version") {
            o.version = true;
            continue;
        }
        if (arg == "--check") {
            o.check = true;
            continue;
        }
        const FileOption* known = nullptr;
        std::string value;
        bool hasValue = false;
        for (const FileOption& f : kFileOptions) {
            const size_t n = std::strlen(f.name);
            if (arg == f.name) {
                known = &f;
                if (i + 1 < argc) {
                    value = argv[++i];
                    hasValue = true;
                }
            } else if (arg.compare(0, n, f.name) == 0 && arg[n] == '=') {
                known = &f;
                value = arg.substr(n + 1);
                hasValue = true;
            }
            if (known)
                break;
        }
        if (!known)
            o.error = "velq: unknown option " + arg + " (velq --help lists them)";
        else if (!hasValue || value.empty())
            o.error = std::string("velq: ") + known->name + " needs " + known->what + " (velq --help)";
        else
            o.*(known->field) = value;
    }
    const int replays = !o.record.empty() + !o.replay.empty() + !o.timedemo.empty();
    if (o.error.empty() && replays > 1)
        o.error = "velq: --record, --replay and --timedemo go one at a time (velq --help)";
    // With --check every other argument names a file or folder to check.
    if (o.check)
        o.checkPaths.swap(o.settingsLines);
    if (o.error.empty() && o.check && replays > 0)
        o.error = "velq: --check plays nothing; it goes without --record, --replay and --timedemo (velq --help)";
    return o;
}
