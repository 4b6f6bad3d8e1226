// gridcrafter-check MAP.KVX...: reports every way each map file is not one the editor or the
// game would read cleanly.

#include "tools/check/MapCheck.h"
#include "tools/check/SymmetryCheck.h"

#include "platform/CommandLine.h"
#include "platform/Errors.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <cstdio>

namespace {

const CommandLineDescription Tool{
    QStringLiteral("gridcrafter-check"),
    QStringLiteral(
        "Usage: gridcrafter-check [--help] [--version] [--symmetry] MAP.KVX...\n"
        "\n"
        "Checks map files and prints one line per finding, FILE: (x,y): what:\n"
        "a length other than 20480 bytes, a height outside 0 to 6, a ground code past 15\n"
        "(or at or past GroundSprites of ..\\Korvane.INI when started in a game's editor\n"
        "folder), an overlay flag other than 0 or 1, and X and Y bytes that do not name the\n"
        "cell's own place. A summary line follows. Nothing is ever written.\n"
        "\n"
        "With --symmetry it reports instead how fair each map is to two sides: every hex\n"
        "whose height, ground, mines or overlays differ from those of its point mirror\n"
        "(33-x,33-y), with both hexes and the fields that differ, then the counts of each\n"
        "ground and overlay, the mines and the sum of heights of the west half (columns 1 to\n"
        "16) and the east half (17 to 32) side by side.\n"
        "\n"
        "Exit status: 0 when every file is clean (with --symmetry: point-symmetric), 1 when\n"
        "anything was found (not symmetric), 2 when a file could not be read or the\n"
        "arguments are wrong.\n"),
    1,
    AnyNumberOfArguments,
    {},
    {QStringLiteral("symmetry")}};

enum ExitStatus { Clean = 0, Found = 1, Trouble = 2 };

QString Counted(qsizetype count, const char* noun)
{
    return QStringLiteral("%1 %2%3")
        .arg(count)
        .arg(QLatin1String(noun))
        .arg(QLatin1String(count == 1 ? "" : "s"));
}

int CheckSymmetryOfFiles(const QStringList& paths)
{
    qsizetype asymmetric = 0;
    qsizetype unreadable = 0;
    for (const QString& path : paths) {
        const SymmetryReport report = CheckSymmetry(path);
        if (report.unreadable) {
            std::fprintf(stderr, "gridcrafter-check: %s\n", qPrintable(*report.unreadable));
            ++unreadable;
            continue;
        }
        for (const QString& line : report.differences + report.halves)
            std::printf("%s: %s\n", qPrintable(path), qPrintable(line));
        asymmetric += report.differences.isEmpty() ? 0 : 1;
    }
    std::printf("%s checked: %lld not point-symmetric, %s not read\n",
                qPrintable(Counted(paths.size(), "file")), static_cast<long long>(asymmetric),
                qPrintable(Counted(unreadable, "file")));
    if (unreadable > 0)
        return Trouble;
    return asymmetric > 0 ? Found : Clean;
}

int CheckFiles(const QStringList& paths)
{
    const auto groundSprites = SettingsGroundSprites();
    qsizetype findings = 0;
    qsizetype unreadable = 0;
    for (const QString& path : paths) {
        const MapFileReport report = CheckMapFile(path, groundSprites);
        if (report.unreadable) {
            std::fprintf(stderr, "gridcrafter-check: %s\n", qPrintable(*report.unreadable));
            ++unreadable;
        }
        for (const QString& finding : report.findings)
            std::printf("%s: %s\n", qPrintable(path), qPrintable(finding));
        findings += report.findings.size();
    }
    std::printf("%s checked: %s, %s not read\n", qPrintable(Counted(paths.size(), "file")),
                qPrintable(Counted(findings, "finding")), qPrintable(Counted(unreadable, "file")));
    if (unreadable > 0)
        return Trouble;
    return findings > 0 ? Found : Clean;
}

}  // namespace

int main(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    const ParsedCommandLine line = ParseCommandLine(QCoreApplication::arguments().mid(1), Tool);
    if (line.ExitStatus)
        return EndRun(line);
    try {
        return line.Flags.contains(QStringLiteral("symmetry"))
                   ? CheckSymmetryOfFiles(line.Arguments)
                   : CheckFiles(line.Arguments);
    } catch (const GcError& error) {
        std::fprintf(stderr, "gridcrafter-check: %s\n", qPrintable(error.Text()));
        return Trouble;
    }
}
