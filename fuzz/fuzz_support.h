// SPDX-License-Identifier: GPL-3.0-or-later
// What every fuzz target shares: a private scratch directory for the files the
// readers open, a silenced console, and a check that stops on a broken promise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/filenotes.h"

namespace velqfuzz {

// Made on first use under $TMPDIR (or /tmp), removed when the process exits normally.
const std::string& ScratchDir();

// Writes the input as ScratchDir()/relative (directories made as needed) and returns
// the absolute path.
std::string WriteInput(const std::string& relative, const uint8_t* data, size_t size);

// Makes the scratch directory the working directory while it lives, for readers that
// take a path below Resources/.
class InScratch {
public:
    InScratch();
    ~InScratch();
    InScratch(const InScratch&) = delete;
    InScratch& operator=(const InScratch&) = delete;
};

// Sends std::cout and std::cerr nowhere, unless VELQ_FUZZ_VERBOSE is set: the readers
// print a line per file, and the fuzzer reads hundreds of thousands of files. No log
// file is opened (the engine's log is never initialised here).
void SilenceConsole();

// A reader broke its contract on this input: says what, then aborts so that the
// fuzzer keeps the input.
[[noreturn]] void Fail(const char* what);
inline void Check(bool ok, const char* what)
{
    if (!ok)
        Fail(what);
}

// Listens to what the readers say about one input, and checks what velq --check
// counts on: a reader says at least one error about a file it refuses, and none about a
// file it takes.
class VerdictNotes {
public:
    void Check(bool accepted) const;

private:
    CFileNotes listen;
};

// The settings targets' promises after a file or a line was read: the standard settings
// are registered and no name beyond the `names` registered entered the table, each
// holds a value of its range, and every report was one line of printable text (kept
// names are reported, so nothing waits into the next input).
void CheckSettings(size_t names);

}  // namespace velqfuzz
