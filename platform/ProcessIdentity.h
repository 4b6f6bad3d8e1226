#pragma once
// Which process is which, also after its number was given to another: a process is known by
// the boot of the system it runs on, its number and the moment it started, so a file that
// names its process can tell whether that process still runs.

#include <QByteArray>
#include <QtGlobal>
#include <optional>

struct ProcessIdentity {
    // The kernel's identifier of this boot (/proc/sys/kernel/random/boot_id); after a restart
    // of the system no process of an earlier boot runs.
    QByteArray Boot;
    qint64 Pid = 0;
    // When it started, in clock ticks after the boot (field 22 of /proc/PID/stat).
    quint64 Started = 0;

    friend bool operator==(const ProcessIdentity&, const ProcessIdentity&) = default;
};

// Identifies this process.
ProcessIdentity ThisProcess();

// Identifies the process pid of this boot; none when no such process runs (a zombie, which
// has ended and waits to be reaped, runs no more).
std::optional<ProcessIdentity> RunningProcess(qint64 pid);

// Whether process runs now: same boot, and its number still belongs to the process that
// started at that moment.
bool IsRunning(const ProcessIdentity& process);
