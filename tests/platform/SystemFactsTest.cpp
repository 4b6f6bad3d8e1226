#include "platform/SystemFacts.h"

#include <gtest/gtest.h>
#include <sys/sysinfo.h>
#include <QFile>
#include <QSysInfo>

namespace {

const QByteArray SampleMemInfo =
    "MemTotal:       16384000 kB\n"
    "MemFree:         1234567 kB\n"
    "MemAvailable:    8388608 kB\n"
    "Buffers:          100000 kB\n"
    "SwapCached:            0 kB\n"
    "SwapTotal:       4194304 kB\n"
    "SwapFree:        4194300 kB\n";

}  // namespace

TEST(MemInfo, FiguresAreKibibytesTurnedIntoFullSizeBytes)
{
    const MemoryStatus status = ParseMemInfo(SampleMemInfo);
    EXPECT_EQ(status.TotalPhys, 16384000ull * 1024);  // beyond 32 bits: no 4294967295 cap
    EXPECT_EQ(status.AvailPhys, 8388608ull * 1024);
    EXPECT_EQ(status.TotalPageFile, 4194304ull * 1024);
    EXPECT_EQ(status.AvailPageFile, 4194300ull * 1024);
}

TEST(MemInfo, SimilarNamesAndMissingLinesGiveNoFalseFigures)
{
    // SwapCached must not be taken for SwapTotal, nor MemFree for MemAvailable.
    const MemoryStatus status = ParseMemInfo("MemFree: 5 kB\nSwapCached: 7 kB\nMemTotal: 9 kB\n");
    EXPECT_EQ(status.TotalPhys, 9u * 1024);
    EXPECT_EQ(status.AvailPhys, 0u);
    EXPECT_EQ(status.TotalPageFile, 0u);
    EXPECT_EQ(status.AvailPageFile, 0u);
    EXPECT_EQ(ParseMemInfo("MemTotal: garbage kB\n").TotalPhys, 0u);
}

TEST(MemInfo, TotalsAgreeWithTheKernel)
{
    struct sysinfo kernel {};
    ASSERT_EQ(sysinfo(&kernel), 0);
    const MemoryStatus status = ReadMemoryStatus();
    EXPECT_EQ(status.TotalPhys, static_cast<std::uint64_t>(kernel.totalram) * kernel.mem_unit);
    EXPECT_EQ(status.TotalPageFile, static_cast<std::uint64_t>(kernel.totalswap) * kernel.mem_unit);
    EXPECT_GT(status.AvailPhys, 0u);
    EXPECT_LE(status.AvailPhys, status.TotalPhys);
    EXPECT_LE(status.AvailPageFile, status.TotalPageFile);
}

TEST(Processor, EveryX86MachineIsAPentiumAndOthersFallOutsideTheTable)
{
    for (const char* machine : {"x86_64", "i386", "i486", "i586", "i686", "amd64"})
        EXPECT_EQ(ProcessorTypeName(ProcessorTypeForMachine(QString::fromLatin1(machine))),
                  QStringLiteral("Intel Pentium"))
            << machine;
    for (const char* machine : {"aarch64", "armv7l", "riscv64", "ppc64le", "ia64", ""})
        EXPECT_TRUE(
            ProcessorTypeName(ProcessorTypeForMachine(QString::fromLatin1(machine))).isEmpty())
            << machine;
}

TEST(Processor, TheFirstModelNameOfCpuinfoNamesTheProcessor)
{
    const QByteArray intel =
        "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel\t\t: 26\n"
        "model name\t: Intel(R) Core(TM) i7 CPU       920  @ 2.67GHz\nflags\t\t: fpu\n\n"
        "processor\t: 1\nmodel name\t: Another CPU\n";
    EXPECT_EQ(ParseCpuModelName(intel), "Intel(R) Core(TM) i7 CPU 920 @ 2.67GHz");
    // Many ARM and RISC-V kernels report no model name; "model" alone is no name.
    const QByteArray arm = "processor\t: 0\nBogoMIPS\t: 48.00\nCPU part\t: 0xd08\nmodel\t: 1\n";
    EXPECT_TRUE(ParseCpuModelName(arm).isEmpty());
    EXPECT_TRUE(ParseCpuModelName("").isEmpty());
    EXPECT_TRUE(ParseCpuModelName("model name\t:\n").isEmpty());

    ProcessorInfo processor;
    processor.ProcessorType = 586;
    EXPECT_EQ(ProcessorName(processor), "Intel Pentium") << "the table where no name is reported";
    processor.ModelName = QStringLiteral("AMD Ryzen 7 5800X 8-Core Processor");
    EXPECT_EQ(ProcessorName(processor), processor.ModelName);
}

TEST(Processor, TheHostReportsProcessorsOnline)
{
    const ProcessorInfo info = ReadProcessorInfo();
    EXPECT_GE(info.NumberOfProcessors, 1);
    const QString arch = QSysInfo::currentCpuArchitecture();
    EXPECT_EQ(info.ProcessorType == 586,
              arch == QLatin1String("x86_64") || arch == QLatin1String("i386"));
}

TEST(ProcessorTypeTable, NamesEveryCodeAndNothingElse)
{
    const std::pair<int, const char*> table[] = {
        {386, "Intel 386"},   {486, "Intel 486"},   {586, "Intel Pentium"}, {601, "PPC 601"},
        {603, "PPC 603"},     {604, "PPC 604"},     {620, "PPC 620"},       {860, "Intel 860"},
        {2000, "MIPS R2000"}, {3000, "MIPS R3000"}, {4000, "MIPS R4000"},   {21064, "ALPHA 21064"}};
    for (const auto& [code, name] : table)
        EXPECT_EQ(ProcessorTypeName(code), QString::fromLatin1(name)) << code;
    for (int code : {-1, 0, 385, 387, 585, 602, 21063, 21065, 686})
        EXPECT_TRUE(ProcessorTypeName(code).isEmpty()) << code;
}

TEST(PlatformTable, KeepsTheWindowsRowsAndAddsLinux)
{
    EXPECT_EQ(PlatformName(0), QStringLiteral("Win32s in Windows 3.x"));
    EXPECT_EQ(PlatformName(1), QStringLiteral("Windows 95"));
    EXPECT_EQ(PlatformName(2), QStringLiteral("Windows NT"));
    EXPECT_EQ(PlatformName(piLinux), QStringLiteral("Linux"));
    for (int id : {-1, 4, 99})
        EXPECT_TRUE(PlatformName(id).isEmpty()) << id;
}

TEST(KernelRelease, MajorAndMinorComeFromTheRelease)
{
    const VersionInfo debian = ParseKernelRelease(QStringLiteral("6.1.0-18-amd64"));
    EXPECT_EQ(debian.PlatformId, piLinux);
    EXPECT_EQ(debian.MajorVersion, 6);
    EXPECT_EQ(debian.MinorVersion, 1);
    const VersionInfo plain = ParseKernelRelease(QStringLiteral("5.15"));
    EXPECT_EQ(plain.MajorVersion, 5);
    EXPECT_EQ(plain.MinorVersion, 15);
    const VersionInfo host = ReadVersionInfo();
    EXPECT_EQ(PlatformName(host.PlatformId), QStringLiteral("Linux"));
    EXPECT_EQ(QStringLiteral("%1.%2").arg(host.MajorVersion).arg(host.MinorVersion),
              QSysInfo::kernelVersion().section(QChar('.'), 0, 1));
}

TEST(Names, ComputerNameIsTheHostName)
{
    EXPECT_FALSE(ComputerName().isEmpty());
    EXPECT_EQ(ComputerName(), QSysInfo::machineHostName());
}

TEST(LongTime, TwelveHourLocaleRunsOneToTwelveWithItsMarker)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(LongTimeText(QTime(0, 5, 0), us), QStringLiteral("12:05:00 AM"));
    EXPECT_EQ(LongTimeText(QTime(12, 0, 9), us), QStringLiteral("12:00:09 PM"));
    EXPECT_EQ(LongTimeText(QTime(13, 7, 9), us), QStringLiteral("1:07:09 PM"));
}

TEST(LongTime, TwentyFourHourLocalesKeepTheirPaddingAndSeparator)
{
    EXPECT_EQ(LongTimeText(QTime(0, 5, 0), QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("00:05:00"));
    EXPECT_EQ(LongTimeText(QTime(13, 7, 9), QLocale(QLocale::English, QLocale::UnitedKingdom)),
              QStringLiteral("13:07:09"));
    EXPECT_EQ(LongTimeText(QTime(9, 7, 9), QLocale(QLocale::Finnish, QLocale::Finland)),
              QStringLiteral("9.07.09"));
}

TEST(Uptime, WholeDaysAreDroppedAndTheRestReadsAsATimeOfDay)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(UptimeText(25u * 3'600'000u, us), QStringLiteral("1:00:00 AM"));
    EXPECT_EQ(UptimeText(25u * 3'600'000u, de), QStringLiteral("01:00:00"));
    EXPECT_EQ(UptimeText(5u * 60'000u, us), QStringLiteral("12:05:00 AM"));
    // The largest 32-bit count: 49 days and 17:02:47.295.
    EXPECT_EQ(UptimeText(0xFFFFFFFFu, de), QStringLiteral("17:02:47"));
}

TEST(Uptime, TickCountFollowsTheBootClock)
{
    QFile uptime(QStringLiteral("/proc/uptime"));
    ASSERT_TRUE(uptime.open(QIODevice::ReadOnly));
    const double seconds = uptime.readAll().split(' ').value(0).toDouble();
    const auto expected = static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds * 1000.0));
    // Both read the same clock a moment apart; allow a generous slack for a busy machine.
    EXPECT_LT(static_cast<std::uint32_t>(TickCount() - expected), 60'000u);
}
