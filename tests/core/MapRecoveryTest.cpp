// The recovery record: what goes in comes out, and nothing but a whole record is taken for
// one; taking the editor's state and putting it back.

#include "core/MapRecovery.h"

#include "FreshMap.h"
#include "core/MapFile.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QtEndian>

namespace {

QByteArray Pattern()
{
    QByteArray bytes(sizeof(MapGridType), '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 13 + i / 251) & 0xFF);
    return bytes;
}

MapRecovery Sample()
{
    return {Pattern(),
            "/maps/canyon.KVX",
            "/maps/canyon.KVX",
            7,
            32,
            QDateTime::fromMSecsSinceEpoch(1796000000123, Qt::UTC)};
}

// The record with its checksum made anew, as a writer that meant it would.
QByteArray Resealed(QByteArray bytes)
{
    bytes.chop(32);
    return bytes + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

TEST(MapRecoveryFormat, WhatIsWrittenIsReadBack)
{
    const struct {
        const char* what;
        MapRecovery recovery;
    } rows[] = {
        {"a map of a file", Sample()},
        {"a new map, no file",
         {Pattern(), "NewMap", "", 1, 1, QDateTime::fromMSecsSinceEpoch(0, Qt::UTC)}},
        {"names beyond Latin-1 and outside the basic plane",
         {Pattern(), QString::fromUtf8("/k\xc3\xa4rten/\xe2\x82\xac \xf0\x9f\x98\x80.KVX"),
          QString::fromUtf8("/k\xc3\xa4rten/\xe2\x82\xac \xf0\x9f\x98\x80.KVX"), 32, 1,
          QDateTime::fromMSecsSinceEpoch(-5, Qt::UTC)}},
        {"the longest name",
         {Pattern(), QString(MaxRecoveryText, QChar(u'n')), QString(), 16, 16,
          QDateTime::fromMSecsSinceEpoch(1, Qt::UTC)}},
    };
    for (const auto& row : rows) {
        const std::optional<MapRecovery> read = DecodeMapRecovery(EncodeMapRecovery(row.recovery));
        ASSERT_TRUE(read) << row.what;
        EXPECT_EQ(*read, row.recovery) << row.what;
    }
}

TEST(MapRecoveryFormat, ALongerNameIsCut)
{
    MapRecovery recovery = Sample();
    recovery.Name = QString(MaxRecoveryText + 5, QChar(u'x'));
    EXPECT_EQ(DecodeMapRecovery(EncodeMapRecovery(recovery))->Name.size(), MaxRecoveryText);
}

TEST(MapRecoveryFormat, JunkAndWrongLengthsAreNoRecovery)
{
    const QByteArray good = EncodeMapRecovery(Sample());
    QByteArray flippedMap = good;
    flippedMap[100] = static_cast<char>(flippedMap[100] ^ 1);
    QByteArray flippedChecksum = good;
    flippedChecksum[good.size() - 1] = static_cast<char>(flippedChecksum[good.size() - 1] ^ 0x80);
    QByteArray hugeName = good;
    qToLittleEndian<quint32>(0xFFFFFFF0u, hugeName.data() + 8 + sizeof(MapGridType) + 16);
    MapRecovery offTheMap = Sample();
    offTheMap.CursorX = 33;
    MapRecovery zeroRow = Sample();
    zeroRow.CursorY = 0;

    const struct {
        const char* what;
        QByteArray bytes;
    } rows[] = {
        {"nothing", QByteArray()},
        {"the start alone", QByteArray("GCRECOV1")},
        {"a map file", Pattern()},
        {"text", QByteArray("Gridcrafter was here\n").repeated(1100)},
        {"another start", QByteArray("GCRECOV2") + good.mid(8)},
        {"one byte short", good.chopped(1)},
        {"one byte more", good + 'x'},
        {"cut after the map", good.left(8 + sizeof(MapGridType))},
        {"a changed map byte", flippedMap},
        {"a changed checksum", flippedChecksum},
        {"a name longer than any", Resealed(hugeName)},
        {"a name longer than any, cut", hugeName.left(8 + sizeof(MapGridType) + 40)},
        {"a cursor off the map", EncodeMapRecovery(offTheMap)},
        {"a row 0", EncodeMapRecovery(zeroRow)},
    };
    for (const auto& row : rows)
        EXPECT_FALSE(DecodeMapRecovery(row.bytes)) << row.what;
}

class MapRecoveryState : public FreshMap {};

TEST_F(MapRecoveryState, TakesTheMapItsNameFileAndCursor)
{
    Cell(3, 4).Ground = 9;
    Cell(3, 4).Padding2 = 0x5A;
    MapName = "/maps/a.KVX";
    CursorX = 3;
    CursorY = 4;
    const QDateTime now = QDateTime::currentDateTimeUtc();

    const MapRecovery taken = CaptureMapRecovery(now);
    EXPECT_EQ(taken.Map, GridBytes());
    EXPECT_EQ(taken.Name, "/maps/a.KVX");
    EXPECT_EQ(taken.File, "/maps/a.KVX");
    EXPECT_EQ(taken.CursorX, 3);
    EXPECT_EQ(taken.CursorY, 4);
    EXPECT_EQ(taken.Time, now);

    MapName = "Random";
    CursorX = 0;
    CursorY = 40;
    const MapRecovery odd = CaptureMapRecovery(now);
    EXPECT_EQ(odd.File, "");
    EXPECT_EQ(odd.CursorX, 1);
    EXPECT_EQ(odd.CursorY, 32);
    EXPECT_TRUE(DecodeMapRecovery(EncodeMapRecovery(odd)))
        << "a cursor off the map never makes junk";
}

TEST_F(MapRecoveryState, PutsItBackUnsavedWithANewHistory)
{
    QStringList captions;
    SetCaptionSink([&](const QString& caption) { captions << caption; });
    ChangeWholeMap(MapStep::New, [] {});
    const MapRecovery recovery = Sample();

    RestoreMapRecovery(recovery);
    EXPECT_EQ(GridBytes(), recovery.Map);
    EXPECT_EQ(MapName, "/maps/canyon.KVX");
    EXPECT_EQ(OpenMapFile(), "/maps/canyon.KVX");
    EXPECT_EQ(CursorX, 7);
    EXPECT_EQ(CursorY, 32);
    EXPECT_TRUE(MapModified);
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_EQ(captions.last(), "Korvane Gridcrafter : /maps/canyon.KVX");
}

}  // namespace
