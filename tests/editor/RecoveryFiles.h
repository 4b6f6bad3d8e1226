#pragma once
// Recovery files for tests: written as an editor of a given process would, and a process of
// the test's own that runs as long as the object lives, to stand for another running editor.

#include "core/MapRecovery.h"
#include "editor/RecoveryFolder.h"
#include "platform/ProcessIdentity.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QThread>
#include <csignal>

// An editor of an earlier boot of the system, which runs no more.
inline ProcessIdentity DeadEditor(qint64 pid)
{
    return {"00000000-0000-0000-0000-000000000000", pid, 100};
}

// A recovery of map name (and file, where given) at minutes past a fixed hour.
inline MapRecovery RecoveryOf(const QString& name, int minutes, const QString& file = {})
{
    QByteArray map(sizeof(MapGridType), '\0');
    map[8] = static_cast<char>(minutes);
    return {map, name, file,
            2,   3,    QDateTime::fromMSecsSinceEpoch(1796000000000 + minutes * 60000LL, Qt::UTC)};
}

// Writes bytes as the recovery file of owner in folder; returns its path.
inline QString WriteRecoveryFile(const QString& folder, const ProcessIdentity& owner,
                                 const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QString path = QDir(folder).filePath(RecoveryFileName(owner));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return path;
}

inline QString WriteRecoveryFile(const QString& folder, const ProcessIdentity& owner,
                                 const MapRecovery& recovery)
{
    return WriteRecoveryFile(folder, owner, EncodeMapRecovery(recovery));
}

// A child process that waits until the object ends it.
class RunningChild {
public:
    RunningChild() : pid_(::fork())
    {
        if (pid_ == 0)
            for (;;)
                ::pause();
        for (int i = 0; i < 1000 && !RunningProcess(pid_); ++i)
            QThread::msleep(2);
    }
    ~RunningChild()
    {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    RunningChild(const RunningChild&) = delete;
    RunningChild& operator=(const RunningChild&) = delete;

    ProcessIdentity Identity() const { return RunningProcess(pid_).value_or(ProcessIdentity{}); }

private:
    pid_t pid_;
};
