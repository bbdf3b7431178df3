// The command line: "--" arguments are options, all others settings lines as given.
#include "engine/options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

Options Parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "velq");
    return ParseOptions(static_cast<int>(args.size()), args.data());
}

TEST(Options, KnownOptionsInBothSpellingsAndSettingsLinesPassUntouchedAndInOrderAroundThem)
{
    const Options o = Parse({"-fullscreen", "--record", "a.rec", "screenX = 1024", "+sound", "-", ""});
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(o.record, "a.rec");
    EXPECT_EQ(o.settingsLines, (std::vector<std::string>{"-fullscreen", "screenX = 1024", "+sound", "-", ""}));
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_TRUE(Parse({"screenX=640", "--version"}).version);
    EXPECT_EQ(Parse({"--replay=x.rec"}).replay, "x.rec");
    EXPECT_EQ(Parse({"--timedemo", "--odd name"}).timedemo, "--odd name");
}

TEST(Options, RefusedWithOneLineNamingHelp)
{
    struct Case {
        std::vector<const char*> args;
        const char* names;
    };
    const Case cases[] = {
        {{"--fullscreen"}, "--fullscreen"},
        {{"--"}, "--"},
        {{"--helpme"}, "--helpme"},
        {{"--record"}, "--record"},
        {{"--replay="}, "--replay"},
        {{"--record", "a", "--replay", "b"}, "one at a time"},
    };
    for (const Case& c : cases) {
        const Options o = Parse(c.args);
        EXPECT_NE(o.error.find(c.names), std::string::npos) << o.error;
        EXPECT_NE(o.error.find("--help"), std::string::npos) << o.error;
        EXPECT_EQ(o.error.find('\n'), std::string::npos);
    }
}

}  // namespace
