// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the manual page velq(6) from its template and the --help tables, in English
// from the catalogs in CATALOGS (the build's LANG/LC_MESSAGES/velq.mo):
//   velq_manpage TEMPLATE OUTPUT CATALOGS
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/manpage.h"
#include "engine/text.h"

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::cerr << "usage: velq_manpage TEMPLATE OUTPUT CATALOGS\n";
        return 2;
    }
    CLanguage::SetCatalogDir(argv[3]);
    if (!CLanguage::Choose("en")) {
        std::cerr << "velq_manpage: no English catalog in " << argv[3] << "\n";
        return 1;
    }
    std::ifstream in(argv[1]);
    std::stringstream page;
    page << in.rdbuf();
    if (!in) {
        std::cerr << "velq_manpage: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::string filled, error;
    if (!FillManualPage(page.str(), filled, error)) {
        std::cerr << "velq_manpage: " << argv[1] << ": " << error << "\n";
        return 1;
    }
    std::ofstream out(argv[2]);
    out << filled;
    out.close();
    if (!out) {
        std::cerr << "velq_manpage: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
