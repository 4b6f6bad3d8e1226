// gc-fuzz-seeds DIR: writes the seed corpora of the fuzz targets into DIR/<target>/, each a
// few valid inputs made by the program's own writers: settings from WriteDefaultSettings and
// the profile writer, maps from WriteMapFile, sheets from the default sprite art, cut down
// and written in several bit depths so that the seeds stay small.

#include "core/MapCreation.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/SheetBundle.h"
#include "platform/Cp1252.h"
#include "platform/Profile.h"
#include "settings/Settings.h"
#include "tools/sprites/SpriteSheets.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QList>
#include <cstdio>

namespace {

QDir Target(const QDir& out, const QString& name)
{
    FuzzCheck(out.mkpath(name), "cannot make a corpus folder");
    return QDir(out.filePath(name));
}

void Write(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    WriteFuzzFile(dir.filePath(name), reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size()));
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    FuzzCheck(file.open(QIODevice::ReadOnly), "cannot read back a written file");
    return file.readAll();
}

void SettingsSeeds(const QDir& out)
{
    const QString ini = FuzzGameRoot() + QStringLiteral("/Korvane.INI");
    SilentPrompts prompts;
    InstallPrompts(&prompts);
    QFile::remove(ini);
    LoadSettings();
    Write(out, QStringLiteral("default.ini"), ReadAll(ini));
    WritePrivateProfileString("General", "Version", "v2", SettingsFileName);
    WritePrivateProfileString("SpriteAmount", "EffectSprites", "0x10", SettingsFileName);
    WritePrivateProfileString("SpriteAmount", "MechSprites", " -1", SettingsFileName);
    WritePrivateProfileString("SpriteAmount", "GroundSprites", "$7FFFFFFF", SettingsFileName);
    WritePrivateProfileString("Directories", "Sprites",
                              "\"..\\Spr\xEF"
                              "tes\"",
                              SettingsFileName);
    Write(out, QStringLiteral("changed.ini"), ReadAll(ini));
    Write(out, QStringLiteral("lower-case.ini"), ReadAll(ini).toLower());
    InstallPrompts(nullptr);
}

void MapSeeds(const QDir& out)
{
    const QString path = FuzzGameRoot() + QStringLiteral("/Gridcrafter/seed.KVX");
    ClearMap();
    WriteMapFile(path);
    Write(out, QStringLiteral("cleared.KVX"), ReadAll(path));
    Randomize(7);
    RandomMap();
    for (int x = 1; x <= MapSize; x += 3)
        for (int y = 1; y <= MapSize; y += 2) {
            MapCell& cell = Cell(x, y);
            cell.Mines = static_cast<std::uint8_t>(x * y);
            cell.Overlays = {std::uint8_t(x % 2), std::uint8_t(y % 3 == 0),
                             std::uint8_t(x % 5 == 0), 1, std::uint8_t(y % 2)};
        }
    WriteMapFile(path);
    const QByteArray busy = ReadAll(path);
    Write(out, QStringLiteral("busy.KVX"), busy);
    // A longer file, whose tail is ignored.
    Write(out, QStringLiteral("long.KVX"), busy + QByteArray(100, '\xAB'));
}

// A small palette: the art's dark outlines, the mask's white, a few ground colours.
QList<QRgb> SixteenColours()
{
    QList<QRgb> colours;
    for (int i = 0; i < 16; ++i)
        colours.append(
            qRgb((i & 1) * 255, ((i >> 1) & 1) * 160 + (i >> 3) * 95, ((i >> 2) & 1) * 255));
    colours[15] = qRgb(255, 255, 255);
    return colours;
}

QByteArray BmpBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    FuzzCheck(writer.write(image), "cannot write a seed sheet");
    return bytes;
}

// The default sheets with the pair sheets cut to their first `pairs` sprites, in a format.
SheetBundle DefaultBundle(int pairs, QImage::Format format)
{
    SheetBundle bundle;
    bundle.EffectSprites = pairs;
    bundle.MechSprites = pairs;
    bundle.GroundSprites = pairs;
    const std::vector<SheetFile> sheets = DefaultSheets();
    for (int i = 0; i < SheetCount; ++i) {
        QImage sheet = sheets[static_cast<std::size_t>(i)].Sheet;
        if (i > 0)
            sheet = sheet.copy(0, 0, 134 * pairs, 38);
        if (format == QImage::Format_Indexed8)
            sheet = sheet.convertToFormat(format, SixteenColours(), Qt::ThresholdDither);
        else
            sheet = sheet.convertToFormat(format, Qt::ThresholdDither);
        bundle.Sheets[static_cast<std::size_t>(i)] = BmpBytes(sheet);
    }
    return bundle;
}

void SpriteSeeds(const QDir& out)
{
    Write(out, QStringLiteral("mono-1.bundle"), PackSheets(DefaultBundle(1, QImage::Format_Mono)));
    Write(out, QStringLiteral("16-colours-2.bundle"),
          PackSheets(DefaultBundle(2, QImage::Format_Indexed8)));
    SheetBundle huge = DefaultBundle(1, QImage::Format_Mono);
    huge.EffectSprites = 2147483647;
    huge.MechSprites = -1;
    huge.GroundSprites = 0;
    Write(out, QStringLiteral("counts.bundle"), PackSheets(huge));
}

void PathSeeds(const QDir& out)
{
    const QList<QPair<QString, QByteArray>> names{
        {QStringLiteral("settings"), '\0' + ToCp1252(QStringLiteral("..\\Korvane.INI"))},
        {QStringLiteral("sheet"), '\0' + ToCp1252(QStringLiteral("SPRITES\\effects.BMP"))},
        {QStringLiteral("map"), '\1' + QStringLiteral("maps/OLD/one.kvx").toUtf8()},
        {QStringLiteral("umlaut"), '\1' + QStringLiteral("\u00fcMLAUT\\\u00df.TXT").toUtf8()},
        {QStringLiteral("loop"), '\0' + QByteArray("Loop\\loop\\LOOP\\Dangling\\x")},
        {QStringLiteral("utf16"),
         '\2' + QByteArray(reinterpret_cast<const char*>(QStringLiteral("MAPS\\New").utf16()), 16)},
    };
    for (const auto& [file, bytes] : names)
        Write(out, file, bytes);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: gc-fuzz-seeds DIR\n", stderr);
        return 2;
    }
    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    FuzzGameRoot();
    SettingsSeeds(Target(out, QStringLiteral("settings")));
    MapSeeds(Target(out, QStringLiteral("mapfile")));
    SpriteSeeds(Target(out, QStringLiteral("sprites")));
    PathSeeds(Target(out, QStringLiteral("path")));
    return 0;
}
