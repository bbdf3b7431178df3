// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file written back: the lines it owns replaced, every other line kept in
// its place, and the file whole, old or new, however the write ends.
#include "engine/settingsfile.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include "support/testutil.h"

namespace {

using Owned = std::vector<std::pair<std::string, std::string>>;

TEST(SettingsFile, OwnedLinesAreReplacedInPlaceAndEveryOtherLineIsKeptInItsOrder)
{
    const Owned owned = {{"volumeFX", "40"}, {"key.fire", "f"}};
    const struct { const char* was; const char* now; } cases[] = {
        {"", "volumeFX=40\nkey.fire=f\n"},
        {"# mine\nfoo=1\nvolumeFX=100\nbar", "# mine\nfoo=1\nvolumeFX=40\nbar\nkey.fire=f\n"},
        // Every way of setting it is a line of it; only its first place is kept.
        {"+volumeFX=5\nscreenX=1024\n-volumeFX\nvolumeFX", "volumeFX=40\nscreenX=1024\n"
                                                            "key.fire=f\n"},
        {"key.fire=space\r\nvolumeFX = 3\r\n", "key.fire=f\r\nvolumeFX = 3\r\nvolumeFX=40\r\n"},  // blanks: another name
        {"\n\n\xff\x01junk\n", "\n\n\xff\x01junk\nvolumeFX=40\nkey.fire=f\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsFile::Merge(c.was, owned), c.now) << c.was;
    // Dropped: every line of it goes, and it is not added.
    EXPECT_EQ(SettingsFile::Merge("key.fire=f\nx=1\n+key.fire\n", {}, {"key.fire", "key.tower"}), "x=1\n");
    EXPECT_EQ(SettingsFile::NameOf("-pad"), "pad");
    EXPECT_EQ(SettingsFile::NameOf("  # no comment"), "  # no comment");
}

// Runs body in a process of its own and returns what it exits with.
int InChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SettingsFile, AFolderThatCannotBeWrittenGetsItsReasonAndTheFileStaysAsItWas)
{
    velqtest::TempDir dir;
    dir.Write("ro/settings.esf", "volumeFX=100\n");
    chmod(dir.Path().c_str(), 0755);
    chmod("ro", 0555);
    const int result = InChild([] {
        // Root writes anywhere: the folder is read-only to whoever is not.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 3;
        std::string why;
        if (SettingsFile::Write("ro/settings.esf", {{"volumeFX", "5"}}, {}, why))
            return 1;
        return why.find("ro/settings.esf: Permission denied") != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(result, 0) << "1: written, 2: another reason, 3: no other user";
    EXPECT_EQ(velqtest::ReadFile("ro/settings.esf"), "volumeFX=100\n");
    chmod("ro", 0755);
}

TEST(SettingsFile, AWriteEndedAtAnyStepLeavesTheOldFileOrTheNewOneWhole)
{
    velqtest::TempDir dir;
    const std::string old = "# kept\nvolumeFX=100\nmine=1\n", fresh = "# kept\nvolumeFX=7\nmine=1\n";
    for (int step = 1; step <= 6; ++step) {
        dir.Write("settings.esf", old);
        chmod("settings.esf", 0640);
        // The process ends at the step, as a game killed there would.
        static int at;
        at = step;
        InChild([] {
            SettingsFile::stepTaken = [](int s) {
                if (s == at)
                    _exit(0);
            };
            std::string why;
            SettingsFile::Write("settings.esf", {{"volumeFX", "7"}}, {}, why);
            return 0;
        });
        const std::string now = velqtest::ReadFile("settings.esf");
        EXPECT_EQ(now, step <= 4 ? old : fresh) << "ended at step " << step;
        struct stat st;
        ASSERT_EQ(stat("settings.esf", &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0640u) << "the permissions go with it";
    }
    // A link is followed: the file it names gets the text, the link stays.
    dir.Write("real.esf", old);
    std::filesystem::remove("settings.esf");
    std::filesystem::create_symlink("real.esf", "settings.esf");
    std::string why;
    ASSERT_TRUE(SettingsFile::Write("settings.esf", {{"volumeFX", "7"}}, {}, why)) << why;
    EXPECT_TRUE(std::filesystem::is_symlink("settings.esf"));
    EXPECT_EQ(velqtest::ReadFile("real.esf"), fresh);
}

}  // namespace
