// SPDX-License-Identifier: GPL-3.0-or-later
// The manual page velq(6), filled from the tables that --help prints.
#include "app/manpage.h"

#include "app/usage.h"
#include "engine/text.h"

std::string TroffText(const std::string& text)
{
    std::string out;
    if (!text.empty() && (text[0] == '.' || text[0] == '\''))
        out = "\\&";
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

namespace {
// A tagged paragraph: the term in bold, the rest of it (an argument, a value) in
// italics, the meaning below.
std::string Item(const std::string& term, const std::string& rest, const std::string& meaning)
{
    std::string out = ".TP\n\\fB" + TroffText(term) + "\\fR";
    if (!rest.empty())
        out += "\\fI" + TroffText(rest) + "\\fR";
    return out + "\n" + TroffText(meaning) + "\n";
}

std::string Options()
{
    std::string out;
    for (const UsageOption& o : UsageOptions())
        out += Item(o.name, *o.argument ? std::string(" ") + o.argument : "", Tr(o.meaning));
    return out;
}

std::string Settings()
{
    std::string out;
    for (const UsageSetting& s : UsageSettings())
        out += Item(std::string(s.name) + "=", s.value, Tr(s.meaning));
    return out;
}

std::string Keys()
{
    std::string out;
    for (const UsageKey& k : UsageKeys())
        out += Item(k.keys, "", k.action);
    return out;
}

struct Section {
    const char* marker;
    std::string (*troff)();
};
const Section kSections[] = {
    {".\\\" velq: options", Options},
    {".\\\" velq: settings", Settings},
    {".\\\" velq: keys", Keys},
};
}  // namespace

bool FillManualPage(const std::string& page, std::string& filled, std::string& error)
{
    filled = page;
    for (const Section& s : kSections) {
        const std::string marker = std::string(s.marker) + "\n";
        const size_t at = filled.find(marker);
        if (at == std::string::npos || (at > 0 && filled[at - 1] != '\n')) {
            error = std::string("the page has no line ") + s.marker;
            return false;
        }
        filled.replace(at, marker.size(), s.troff());
    }
    return true;
}
