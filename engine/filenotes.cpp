// SPDX-License-Identifier: GPL-3.0-or-later
// The readers' notes on a file, for the one who listens.
#include "engine/filenotes.h"

CFileNotes* CFileNotes::listening = nullptr;

CFileNotes::CFileNotes() : outer(listening) { listening = this; }

CFileNotes::~CFileNotes() { listening = outer; }

void CFileNotes::Error(const std::string& text, int line)
{
    if (listening)
        listening->notes.push_back({true, line, text});
}

void CFileNotes::Warning(const std::string& text, int line)
{
    if (listening)
        listening->notes.push_back({false, line, text});
}
