// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's refusals. --help, --version, an unknown option and settings lines
// around the options are checked on the real program by the options and start-up
// end-to-end tests, --record, --replay and --timedemo by the replay test.
#include "engine/options.h"

#include "support/testutil.h"

namespace {

Options Parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "velq");
    return ParseOptions(static_cast<int>(args.size()), args.data());
}

TEST(Options, RefusedWithOneLineNamingHelp)
{
    struct Case {
        std::vector<const char*> args;
        const char* names;
    };
    const Case cases[] = {
        {{"--"}, "--"},
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
