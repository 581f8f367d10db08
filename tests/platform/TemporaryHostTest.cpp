// Temporary files of saves carry the host's name: a dead save of this host is swept at once,
// one of another host sharing the folder only after a quiet minute.
#include "platform/core/SafeFile.h"
#include "platform/core/StaleTemporaries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempHome.h"

namespace fs = std::filesystem;

TEST(TemporaryHost, OwnHostDeadSavesGoAtOnceOtherHostsWaitAMinute) {
    const std::string host = StaleTemporaries::hostName();
    ASSERT_FALSE(host.empty());
    const std::string pid = std::to_string(::getpid());
    EXPECT_NE(SafeFile::temporaryPathFor("/f/a.csv").find("/f/.a.csv.vexil-" + host + "-" + pid + "-"),
              std::string::npos);
    const StaleTemporaries::Owner parts = StaleTemporaries::ownerParts(".a.csv.vexil-my-box.lan-123-4.tmp");
    EXPECT_EQ(parts.pid, 123);
    EXPECT_EQ(parts.host, "my-box.lan");
    EXPECT_EQ(StaleTemporaries::ownerParts(".a.csv.vexil--123-4.tmp").pid, 0);   // empty host

    TempHome home;
    const pid_t child = ::fork();   // a process that surely ended
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = home.write(".o.csv.vexil-" + host + "-" + std::to_string(child) + "-1.tmp", "x");
    const std::string mine = home.write(".o.csv.vexil-" + host + "-" + pid + "-999.tmp", "x");
    const std::string live = home.write(".o.csv.vexil-" + host + "-" + std::to_string(::getppid()) + "-1.tmp", "x");
    const std::string elsewhere = home.write(".o.csv.vexil-" + host + "x-" + std::to_string(child) + "-1.tmp", "x");
    EXPECT_EQ(StaleTemporaries::sweep(home.path()), 2);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_FALSE(fs::exists(mine));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(elsewhere));
    fs::last_write_time(elsewhere, fs::last_write_time(elsewhere) - std::chrono::seconds(120));
    EXPECT_EQ(StaleTemporaries::sweep(home.path()), 1);
    EXPECT_FALSE(fs::exists(elsewhere));
}
