// Which process runs: this one, a child until it has ended (a zombie has), and no identity
// that differs from a running process in its boot, start or number.

#include "platform/ProcessIdentity.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <csignal>

namespace {

TEST(ProcessIdentity, ThisProcessRunsOnThisBoot)
{
    const ProcessIdentity self = ThisProcess();
    EXPECT_EQ(self.Pid, ::getpid());
    EXPECT_EQ(self.Boot.size(), 36) << self.Boot.toStdString();
    EXPECT_GT(self.Started, 0u);
    EXPECT_EQ(ThisProcess(), self);
    EXPECT_TRUE(IsRunning(self));
}

TEST(ProcessIdentity, AnIdentityThatDiffersInAnyPartIsNoRunningProcess)
{
    const ProcessIdentity self = ThisProcess();
    const struct {
        const char* what;
        ProcessIdentity identity;
    } rows[] = {
        {"an earlier boot", {"00000000-0000-0000-0000-000000000000", self.Pid, self.Started}},
        {"no boot", {"", self.Pid, self.Started}},
        {"a number given again later", {self.Boot, self.Pid, self.Started + 1}},
        {"an earlier process of the number", {self.Boot, self.Pid, self.Started - 1}},
        {"number 0", {self.Boot, 0, self.Started}},
        {"a negative number", {self.Boot, -1, self.Started}},
    };
    for (const auto& row : rows)
        EXPECT_FALSE(IsRunning(row.identity)) << row.what;
    EXPECT_FALSE(RunningProcess(0));
    EXPECT_FALSE(RunningProcess(-5));
}

// Waits up to ten seconds for done.
template <typename Done>
bool Within10Seconds(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 10000)
            return false;
        QThread::msleep(5);
    }
    return true;
}

TEST(ProcessIdentity, AChildRunsUntilItEndsAlsoWithANameOfParenthesesAndSpaces)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::prctl(PR_SET_NAME, "x) 1 2 (y", 0, 0, 0);
        for (;;)
            ::pause();
    }
    // Renamed only once it runs.
    ASSERT_TRUE(Within10Seconds([&] {
        QFile name(QStringLiteral("/proc/%1/comm").arg(child));
        return name.open(QIODevice::ReadOnly) && name.readAll() == "x) 1 2 (y\n";
    }));
    const std::optional<ProcessIdentity> identity = RunningProcess(child);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->Pid, child);
    EXPECT_EQ(identity->Boot, ThisProcess().Boot);
    EXPECT_GE(identity->Started, ThisProcess().Started) << "started after its parent";
    EXPECT_TRUE(IsRunning(*identity));

    ::kill(child, SIGKILL);
    // Not reaped yet: a zombie, which runs no more.
    EXPECT_TRUE(Within10Seconds([&] { return !IsRunning(*identity); }));
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(RunningProcess(child));
}

}  // namespace
