// SPDX-License-Identifier: GPL-3.0-or-later
// How a UTF-8 text maps onto the font's glyphs and how wide it is drawn, and every text
// of every catalog against the font.
#include "render/glyphs.h"

#include "support/testutil.h"

namespace {

TEST(Glyphs, TextMapsOntoTheFontsCodesAndAnythingElseShowsAsAQuestionMark)
{
    struct Case { const char* text; std::vector<int> codes; size_t missing; int width; };
    const Case cases[] = {
        {"", {}, 0, 0},
        {"Aa ~", {'A', 'a', ' ', '~'}, 0, 58},
        {"Größe", {'G', 'r', 148, 158, 'e'}, 0, 72},
        {"é €", {130, ' ', '?'}, 1, 44},       // the euro sign has no glyph
        {"\t\x7f", {'?', '?'}, 2, 30},         // nor have control characters
        {"\xc3", {'?'}, 1, 16},                // cut short at the end
        {"\xc0\xaf!", {'?', '!'}, 1, 30},      // a slash spelt too long
        {"\xed\xa0\x80x", {'?', 'x'}, 1, 30},  // half of a surrogate pair
        {"\xff\xc3\xbc", {'?', 129}, 1, 30},
    };
    for (const Case& c : cases) {
        unsigned char codes[16];
        size_t missing = 99;
        const size_t count = ToGlyphCodes(c.text, codes, sizeof codes, &missing);
        EXPECT_EQ(std::vector<int>(codes, codes + count), c.codes) << c.text;
        EXPECT_EQ(codes[count], 0) << c.text;
        EXPECT_EQ(missing, c.missing) << c.text;
        EXPECT_EQ(TextWidth(c.text, 1.0f), c.width) << c.text;
    }
    unsigned char three[3];
    EXPECT_EQ(ToGlyphCodes("abcd", three, sizeof three), 2u);
    EXPECT_STREQ(reinterpret_cast<char*>(three), "ab");
    EXPECT_EQ(TextWidth("GEWONNEN!", 1.5f), 192) << "eight advances of 21 and a glyph of 24";
}

// The template's German texts and every catalog's translations, line by line as they
// would be drawn, read with gettext's own tools.
TEST(Glyphs, EveryTextOfEveryCatalogHasItsGlyphs)
{
    std::vector<std::string> catalogs = {"msgen " VELQ_POT};
    for (const auto& entry : std::filesystem::directory_iterator(VELQ_PO_DIR))
        if (entry.path().extension() == ".po")
            catalogs.push_back("cat " + entry.path().string());
    for (const std::string& catalog : catalogs) {
        FILE* pipe = popen((catalog + " | msgexec -i - 0").c_str(), "r");
        ASSERT_TRUE(pipe);
        std::string texts;
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) texts.append(buffer, n);
        ASSERT_EQ(pclose(pipe), 0) << catalog;
        std::istringstream each(texts);
        std::string text, line;
        std::getline(each, text, '\0');  // the header
        int count = 0;
        for (; std::getline(each, text, '\0'); ++count) {
            for (std::istringstream lines(text); std::getline(lines, line);) {
                std::vector<unsigned char> codes(line.size() + 1);
                size_t missing = 0;
                ToGlyphCodes(line.c_str(), codes.data(), codes.size(), &missing);
                EXPECT_EQ(missing, 0u) << catalog << ": \"" << line << "\"";
            }
        }
        EXPECT_GT(count, 50) << catalog;
    }
}

}  // namespace
