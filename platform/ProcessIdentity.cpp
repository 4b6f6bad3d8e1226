// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "platform/ProcessIdentity.h"

#include <unistd.h>
#include <QFile>
#include <QList>

namespace {

QByteArray ReadProcFile(const QByteArray& path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ThisBoot()
{
    static const QByteArray boot = ReadProcFile("/proc/sys/kernel/random/boot_id").trimmed();
    return boot;
}

}  // namespace

ProcessIdentity ThisProcess()
{
    const qint64 pid = ::getpid();
    return RunningProcess(pid).value_or(ProcessIdentity{ThisBoot(), pid, 0});
}

std::optional<ProcessIdentity> RunningProcess(qint64 pid)
{
    if (pid <= 0)
        return std::nullopt;
    const QByteArray stat = ReadProcFile("/proc/" + QByteArray::number(pid) + "/stat");
    // "pid (name) state ppid ...": the name may hold spaces and parentheses of its own.
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return std::nullopt;
    const QList<QByteArray> fields = stat.mid(nameEnd + 2).split(' ');
    constexpr qsizetype StateField = 0;     // field 3
    constexpr qsizetype StartedField = 19;  // field 22
    if (fields.size() <= StartedField || fields[StateField] == "Z" || fields[StateField] == "X")
        return std::nullopt;
    bool number = false;
    const quint64 started = fields[StartedField].toULongLong(&number);
    if (!number)
        return std::nullopt;
    return ProcessIdentity{ThisBoot(), pid, started};
}

bool IsRunning(const ProcessIdentity& process)
{
    return process.Boot == ThisBoot() && RunningProcess(process.Pid) == process;
}
