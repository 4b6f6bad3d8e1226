#pragma once
// The facts about the computer that the system information dialog lists, read from the
// host the way the Windows calls of the original read them, and the tables and formats
// that turn them into text.

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QTime>
#include <cstdint>

// Memory figures in bytes. Full 64 bits: a 32-bit field would stop at 4294967295.
struct MemoryStatus {
    std::uint64_t TotalPhys = 0;
    std::uint64_t AvailPhys = 0;
    std::uint64_t TotalPageFile = 0;
    std::uint64_t AvailPageFile = 0;
};

struct ProcessorInfo {
    int NumberOfProcessors = 0;
    int ProcessorType = 0;
    // As the system reports it; empty where it reports none.
    QString ModelName;
};

// Platform identifiers: the three Windows ones keep their numbers; Linux is ours.
enum PlatformId : int { piWin32s = 0, piWindows = 1, piWindowsNT = 2, piLinux = 3 };

struct VersionInfo {
    int PlatformId = piLinux;
    int MajorVersion = 0;
    int MinorVersion = 0;
};

// The figures of a /proc/meminfo text (MemTotal, MemAvailable, SwapTotal, SwapFree);
// a missing line gives 0.
MemoryStatus ParseMemInfo(const QByteArray& text);
MemoryStatus ReadMemoryStatus();

// The host's nearest equivalents of the Windows and system directories.
QString WindowsDirectory();
QString SystemDirectory();

// The processor-type code the original reports for a machine name from uname:
// 586 for the whole x86 family, 0 (outside the table) for anything else.
int ProcessorTypeForMachine(const QString& machine);
ProcessorInfo ReadProcessorInfo();
// The first "model name" of a /proc/cpuinfo text; empty when there is none.
QString ParseCpuModelName(const QByteArray& cpuinfo);
// The model name, or where there is none the name of the processor-type code.
QString ProcessorName(const ProcessorInfo& processor);

// Milliseconds since boot, wrapping at 2^32 like the original's tick count.
std::uint32_t TickCount();

// Empty when the system does not tell.
QString UserName();
QString ComputerName();

// Major and minor number of a kernel release such as "6.1.0-18-amd64".
VersionInfo ParseKernelRelease(const QString& release);
VersionInfo ReadVersionInfo();

// Processor-type code to its name; an unknown code gives an empty text.
QString ProcessorTypeName(int code);
// Platform identifier to its name; an unknown identifier gives an empty text.
QString PlatformName(int id);

// Hours, minutes and seconds with the locale's separator and, in a 12-hour locale,
// a blank and the AM/PM marker; no time zone.
QString LongTimeText(QTime time, const QLocale& locale);
// An uptime shown as a time of day: whole days are dropped.
QString UptimeText(std::uint32_t milliseconds, const QLocale& locale);
