// SPDX-License-Identifier: GPL-3.0-or-later
// Log targets, numbered messages, overlong texts and files complete at exit.
#include "engine/log.h"

#include "support/testutil.h"

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.Write("applog.txt", "old contents\n");
        log = new CLog();
        log->Init();
    }
    void TearDown() override { delete log; }
    std::string File(const char* name)
    {
        log->Flush();
        return velqtest::ReadFile(dir.Path() / name);
    }
    velqtest::TempDir dir;
    CLog* log = nullptr;
    velqtest::CaptureCout out;
};

TEST_F(LogTest, EachTargetGetsItsCopyTheFilesStartEmptyAndUserMessagesGoToStandardErrorOnly)
{
    velqtest::CaptureCerr err;
    EXPECT_EQ(log->Write(LOG_APP | LOG_SERVER, "both %d", 1), 0);
    log->Write(LOG_CLIENT, "client only");
    EXPECT_EQ(log->Write(LOG_USER, "disk full"), 1);
    EXPECT_EQ(out.Text(), "both 1\n");
    EXPECT_NE(err.Text().find("disk full"), std::string::npos);
    EXPECT_EQ(File("applog.txt"), "both 1\n");
    EXPECT_EQ(File("srvrlog.txt"), "both 1\n");
    EXPECT_EQ(File("clntlog.txt"), "client only\n");
}

TEST_F(LogTest, NumberedMessagesTakeTheirArgumentsUnformattedAndOverlongTextsAreCutAt1023)
{
    log->Write(LOG_CLIENT, 9, 800, 600, 16, "mode %s not available");
    const std::string client = File("clntlog.txt");
    for (const char* part : {"800x600 at 16", "mode %s not available"})  // % stays as it is
        EXPECT_NE(client.find(part), std::string::npos) << part;
    for (int unknown : {200, -1})  // numbers without a text write empty lines
        log->Write(LOG_APP, unknown);
    EXPECT_EQ(out.Text(), "\n\n");
    const std::string big(5000, 'a');
    log->Write(LOG_SERVER, "%s", big.c_str());
    log->Write(LOG_SERVER, 8, big.c_str(), big.c_str());
    const std::string text = File("srvrlog.txt");
    EXPECT_EQ(std::make_tuple(text.find('\n'), text.size()), std::make_tuple(1023u, 1024u * 2));
}

}  // namespace

TEST(LogDeathTest, FilesAreCompleteWhenTheProcessExitsWithoutDeletingTheLog)
{
    velqtest::TempDir dir;
    EXPECT_EXIT(
        {
            new CLog();
            CLog::GetSingleton().Init();
            CLog::GetSingleton().Write(LOG_SERVER, "last words");
            std::exit(1);
        },
        testing::ExitedWithCode(1), "");
    EXPECT_EQ(velqtest::ReadFile(dir.Path() / "srvrlog.txt"), "last words\n");
}
