// SPDX-License-Identifier: GPL-3.0-or-later
// The manual page velq(6), filled from the tables that --help prints.
#pragma once

#include <string>

// The page template with each line ".\" velq: options", ".\" velq: settings" and
// ".\" velq: keys" replaced by that table in troff, in the language in force. Returns false and names the
// missing line in error when the template lacks one.
bool FillManualPage(const std::string& page, std::string& filled, std::string& error);

// Text made safe for a troff line: backslashes and minus signs escaped, and a line
// that would start with a request (. or ') made plain.
std::string TroffText(const std::string& text);
