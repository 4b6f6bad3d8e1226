#include "platform/SystemFacts.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <QFile>
#include <QList>
#include <array>
#include <ctime>

namespace {

constexpr std::uint64_t BytesPerKibibyte = 1024;
constexpr std::uint64_t MillisecondsPerDay = 86'400'000;

// The kB figure of one "Name:  123 kB" line, in bytes.
std::uint64_t MemInfoBytes(const QList<QByteArray>& lines, const QByteArray& name)
{
    const QByteArray prefix = name + ':';
    for (const QByteArray& line : lines) {
        if (!line.startsWith(prefix))
            continue;
        const QList<QByteArray> words = line.mid(prefix.size()).simplified().split(' ');
        bool ok = false;
        const qulonglong kibibytes = words.value(0).toULongLong(&ok);
        return ok ? kibibytes * BytesPerKibibyte : 0;
    }
    return 0;
}

utsname KernelNames()
{
    utsname names{};
    if (uname(&names) != 0)
        return utsname{};
    return names;
}

// The locale's long time format without its time zone: padding of the hour, the
// separator between the fields, and whether the clock runs to twelve. Locales that
// write words between the fields (hour and minute names) fall back to ":".
struct TimeLayout {
    bool PaddedHour = false;
    bool TwelveHour = false;
    QString Separator = QStringLiteral(":");
};

TimeLayout LayoutOf(const QString& format)
{
    TimeLayout layout;
    bool quoted = false;
    bool hourSeen = false;
    bool inSeparator = false;
    QString separator;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QChar('\''))
            quoted = !quoted;
        if (quoted || c == QChar('\''))
            continue;
        if (c == QChar('a') || c == QChar('A'))
            layout.TwelveHour = true;
        if (!hourSeen && (c == QChar('h') || c == QChar('H'))) {
            const bool lastOfRun = i + 1 == format.size() || format.at(i + 1) != c;
            layout.PaddedHour = layout.PaddedHour || (i > 0 && format.at(i - 1) == c);
            hourSeen = inSeparator = lastOfRun;
        } else if (inSeparator) {
            if (c == QChar('m'))
                inSeparator = false;
            else if (!c.isLetter() && !c.isSpace())
                separator += c;
        }
    }
    if (!separator.isEmpty())
        layout.Separator = separator;
    return layout;
}

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QChar('0')); }

}  // namespace

MemoryStatus ParseMemInfo(const QByteArray& text)
{
    const QList<QByteArray> lines = text.split('\n');
    MemoryStatus status;
    status.TotalPhys = MemInfoBytes(lines, "MemTotal");
    status.AvailPhys = MemInfoBytes(lines, "MemAvailable");
    status.TotalPageFile = MemInfoBytes(lines, "SwapTotal");
    status.AvailPageFile = MemInfoBytes(lines, "SwapFree");
    return status;
}

MemoryStatus ReadMemoryStatus()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return MemoryStatus{};
    // /proc files report a size of 0, so read until the end rather than by size.
    return ParseMemInfo(file.readAll());
}

QString WindowsDirectory() { return QStringLiteral("/etc"); }

QString SystemDirectory() { return QStringLiteral("/usr/lib"); }

int ProcessorTypeForMachine(const QString& machine)
{
    const bool x86 = machine == QLatin1String("x86_64") || machine == QLatin1String("amd64") ||
                     (machine.size() == 4 && machine.startsWith(QChar('i')) &&
                      machine.endsWith(QLatin1String("86")));
    return x86 ? 586 : 0;
}

ProcessorInfo ReadProcessorInfo()
{
    ProcessorInfo info;
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    info.NumberOfProcessors = online > 0 ? static_cast<int>(online) : 0;
    info.ProcessorType = ProcessorTypeForMachine(QString::fromLocal8Bit(KernelNames().machine));
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly))
        info.ModelName = ParseCpuModelName(cpuinfo.readAll());
    return info;
}

QString ParseCpuModelName(const QByteArray& cpuinfo)
{
    for (const QByteArray& line : cpuinfo.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed() == "model name")
            return QString::fromUtf8(line.mid(colon + 1).simplified());
    }
    return QString();
}

QString ProcessorName(const ProcessorInfo& processor)
{
    return processor.ModelName.isEmpty() ? ProcessorTypeName(processor.ProcessorType)
                                         : processor.ModelName;
}

std::uint32_t TickCount()
{
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return 0;
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
    return static_cast<std::uint32_t>(milliseconds);  // wraps after about 49.7 days
}

QString UserName()
{
    const passwd* entry = getpwuid(geteuid());
    return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QString ComputerName()
{
    std::array<char, 256> buffer{};
    if (gethostname(buffer.data(), buffer.size() - 1) != 0)
        return QString();
    return QString::fromLocal8Bit(buffer.data());
}

VersionInfo ParseKernelRelease(const QString& release)
{
    const QStringList parts = release.section(QChar('-'), 0, 0).split(QChar('.'));
    VersionInfo info;
    info.MajorVersion = parts.value(0).toInt();
    info.MinorVersion = parts.value(1).toInt();
    return info;
}

VersionInfo ReadVersionInfo()
{
    return ParseKernelRelease(QString::fromLocal8Bit(KernelNames().release));
}

QString ProcessorTypeName(int code)
{
    switch (code) {
    case 386: return QStringLiteral("Intel 386");
    case 486: return QStringLiteral("Intel 486");
    case 586: return QStringLiteral("Intel Pentium");
    case 601: return QStringLiteral("PPC 601");
    case 603: return QStringLiteral("PPC 603");
    case 604: return QStringLiteral("PPC 604");
    case 620: return QStringLiteral("PPC 620");
    case 860: return QStringLiteral("Intel 860");
    case 2000: return QStringLiteral("MIPS R2000");
    case 3000: return QStringLiteral("MIPS R3000");
    case 4000: return QStringLiteral("MIPS R4000");
    case 21064: return QStringLiteral("ALPHA 21064");
    default: return QString();
    }
}

QString PlatformName(int id)
{
    switch (id) {
    case piWin32s: return QStringLiteral("Win32s in Windows 3.x");
    case piWindows: return QStringLiteral("Windows 95");
    case piWindowsNT: return QStringLiteral("Windows NT");
    case piLinux: return QStringLiteral("Linux");
    default: return QString();
    }
}

QString LongTimeText(QTime time, const QLocale& locale)
{
    const TimeLayout layout = LayoutOf(locale.timeFormat(QLocale::LongFormat));
    int hour = time.hour();
    if (layout.TwelveHour)
        hour = hour % 12 == 0 ? 12 : hour % 12;
    QString text = layout.PaddedHour ? TwoDigits(hour) : QString::number(hour);
    text +=
        layout.Separator + TwoDigits(time.minute()) + layout.Separator + TwoDigits(time.second());
    if (layout.TwelveHour)
        text += QChar(' ') + (time.hour() < 12 ? locale.amText() : locale.pmText());
    return text;
}

QString UptimeText(std::uint32_t milliseconds, const QLocale& locale)
{
    const auto withinDay = static_cast<int>(milliseconds % MillisecondsPerDay);
    return LongTimeText(QTime::fromMSecsSinceStartOfDay(withinDay), locale);
}
