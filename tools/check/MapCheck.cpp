#include "tools/check/MapCheck.h"

#include "core/Catalogue.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "platform/Errors.h"
#include "platform/Profile.h"
#include "platform/WinPath.h"
#include "settings/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

namespace {

constexpr std::int32_t HighestHeight = 6;
constexpr unsigned TerrainCount = tcCratered + 1;

QString LengthFinding(qint64 size)
{
    const QString length =
        QStringLiteral("holds %1 bytes, a map file holds %2").arg(size).arg(MapFileRecordSize);
    return size < MapFileRecordSize ? length + QStringLiteral(": the editor and the game refuse it")
                                    : length + QStringLiteral(": the bytes past them are ignored");
}

QString GroundFinding(unsigned code, std::optional<std::int32_t> groundSprites)
{
    if (code >= TerrainCount)
        return QStringLiteral("ground code %1 is past %2").arg(code).arg(TerrainCount - 1);
    if (groundSprites && static_cast<std::int64_t>(code) >= *groundSprites)
        return QStringLiteral("ground code %1 is at or past GroundSprites=%2 of %3")
            .arg(code)
            .arg(*groundSprites)
            .arg(SettingsFileName);
    return {};
}

// The editor's keys flip only the lowest bit, so any other value can never be cleared.
void AddFlagFindings(const MapOverlays& overlays, QStringList& found)
{
    const std::pair<const char*, std::uint8_t> flags[] = {{"Fire", overlays.Fire},
                                                          {"Smoke", overlays.Smoke},
                                                          {"Swamp", overlays.Swamp},
                                                          {"Road", overlays.Road},
                                                          {"River", overlays.River}};
    for (const auto& [name, value] : flags)
        if (value > 1)
            found << QStringLiteral("%1 flag is %2, not 0 or 1: the editor cannot clear it")
                         .arg(QLatin1String(name))
                         .arg(value);
}

QStringList CellFindings(int x, int y, std::optional<std::int32_t> groundSprites)
{
    const MapCell& cell = Cell(x, y);
    QStringList found;
    if (cell.X != x || cell.Y != y)
        found << QStringLiteral("X and Y bytes name (%1,%2), not the cell's own place")
                     .arg(cell.X)
                     .arg(cell.Y);
    if (cell.Height < 0 || cell.Height > HighestHeight)
        found << QStringLiteral("height %1 is outside 0 to %2").arg(cell.Height).arg(HighestHeight);
    const QString ground = GroundFinding(cell.Ground, groundSprites);
    if (!ground.isEmpty())
        found << ground;
    AddFlagFindings(cell.Overlays, found);
    return found;
}

QStringList GridFindings(std::optional<std::int32_t> groundSprites)
{
    QStringList found;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            for (const QString& what : CellFindings(x, y, groundSprites))
                found << QStringLiteral("(%1,%2): %3").arg(x).arg(y).arg(what);
    return found;
}

// A file too short to be a map is a finding, not a read failure, as long as it can be opened.
bool IsShortReadableFile(const QString& path)
{
    const QFileInfo info(path);
    QFile file(path);
    return info.isFile() && info.size() < MapFileRecordSize && file.open(QIODevice::ReadOnly);
}

}  // namespace

std::optional<std::int32_t> SettingsGroundSprites()
{
    if (!QFileInfo(NativePath(SettingsFileName)).isFile())
        return std::nullopt;
    return ParseSettingsInteger(GetPrivateProfileString(QByteArrayLiteral("SpriteAmount"),
                                                        QByteArrayLiteral("GroundSprites"),
                                                        QByteArray(), SettingsFileName));
}

MapFileReport CheckMapFile(const QString& path, std::optional<std::int32_t> groundSprites)
{
    try {
        ReadMapFile(path);
    } catch (const GcError& error) {
        if (IsShortReadableFile(path))
            return {std::nullopt, {LengthFinding(QFileInfo(path).size())}};
        return {error.Text(), {}};
    }
    MapFileReport report;
    const qint64 size = QFileInfo(path).size();
    if (size != MapFileRecordSize)
        report.findings << LengthFinding(size);
    report.findings << GridFindings(groundSprites);
    return report;
}
