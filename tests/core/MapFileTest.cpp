#include "core/MapFile.h"

#include "FreshMap.h"
#include "core/Catalogue.h"
#include "core/MapModel.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>
#include <cstring>

namespace {

class MapFile : public FreshMap {
protected:
    QTemporaryDir dir;

    QString PathOf(const QString& name) const { return dir.filePath(name); }

    // Bytes that differ in every position, so any misplaced byte shows.
    static QByteArray Pattern(qsizetype size)
    {
        QByteArray bytes(size, '\0');
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
        return bytes;
    }

    // Expects path to be refused with its name in the message, and MapGrid untouched.
    void ExpectRefused(const QString& path)
    {
        Cell(9, 9).Ground = tcLava;
        const QByteArray before = GridBytes();
        try {
            ReadMapFile(path);
            ADD_FAILURE() << "loaded " << path.toStdString();
        } catch (const GcError& error) {
            EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
        }
        EXPECT_EQ(GridBytes(), before);
    }
};

TEST_F(MapFile, FreshMapHoldsOnlyEachCellsPosition)
{
    const QString path = PathOf("Fresh.KVX");
    WriteMapFile(path);
    const QByteArray bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), MapFileRecordSize);
    for (qsizetype n = 0; n < 1024; ++n) {
        const QByteArray record = bytes.mid(n * 20, 20);
        EXPECT_EQ(record[0], n / 32 + 1) << "record " << n;
        EXPECT_EQ(record[1], n % 32 + 1) << "record " << n;
        EXPECT_EQ(record.mid(2), QByteArray(18, '\0')) << "record " << n;
    }
}

TEST_F(MapFile, CellFieldsLieAtTheirByteOffsets)
{
    MapCell& cell = Cell(2, 1);
    cell.Height = 3;
    cell.Ground = tcMud;
    cell.Mines = 10;
    cell.Overlays.Fire = 1;
    cell.Overlays.Road = 1;
    Cell(32, 32).Height = -2;
    Cell(32, 32).Overlays.River = 1;
    const QString path = PathOf("Mud.KVX");
    WriteMapFile(path);
    const QByteArray bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), MapFileRecordSize);
    EXPECT_EQ(bytes.mid(640, 20), QByteArray::fromHex("02010000"
                                                      "03000000"
                                                      "0a0a0100000100"
                                                      "00"
                                                      "00000000"));
    EXPECT_EQ(bytes.mid(20460, 20), QByteArray::fromHex("20200000"
                                                        "feffffff"
                                                        "00000000000001"
                                                        "00"
                                                        "00000000"));
}

TEST_F(MapFile, EveryByteSurvivesLoadAndSave)
{
    const QByteArray original = Pattern(MapFileRecordSize);
    const QString source = PathOf("Source.KVX");
    const QString copy = PathOf("Copy.KVX");
    WriteAll(source, original);
    ReadMapFile(source);
    EXPECT_EQ(GridBytes(), original);
    ClearMap();
    ReadMapFile(source);
    WriteMapFile(copy);
    EXPECT_EQ(ReadAll(copy), original);
}

TEST_F(MapFile, SavingReplacesAnExistingFile)
{
    const QString path = PathOf("Map.KVX");
    WriteAll(path, Pattern(MapFileRecordSize + 500));
    WriteMapFile(path);
    EXPECT_EQ(ReadAll(path), GridBytes());
}

TEST_F(MapFile, LongerFileGivesItsFirstRecord)
{
    const QByteArray bytes = Pattern(MapFileRecordSize + 333);
    const QString path = PathOf("Long.KVX");
    WriteAll(path, bytes);
    ReadMapFile(path);
    EXPECT_EQ(GridBytes(), bytes.left(MapFileRecordSize));
}

TEST_F(MapFile, ReadOnlyFileLoads)
{
    const QByteArray bytes = Pattern(MapFileRecordSize);
    const QString path = PathOf("ReadOnly.KVX");
    WriteAll(path, bytes);
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ReadMapFile(path);
    EXPECT_EQ(GridBytes(), bytes);
}

TEST_F(MapFile, ShortFilesAreRefused)
{
    const qsizetype sizes[] = {0, 100, MapFileRecordSize - 1};
    for (const qsizetype size : sizes) {
        const QString path = PathOf(QStringLiteral("Short%1.KVX").arg(size));
        WriteAll(path, Pattern(size));
        SCOPED_TRACE(size);
        ExpectRefused(path);
    }
}

TEST_F(MapFile, MissingFileIsRefused) { ExpectRefused(PathOf("Missing.KVX")); }

TEST_F(MapFile, DirectoryIsRefused)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("Folder.KVX"));
    ExpectRefused(PathOf("Folder.KVX"));
}

// A FIFO without a writer would block an open for reading.
TEST_F(MapFile, FifoIsRefusedWithoutBlocking)
{
    const QString path = PathOf("Pipe.KVX");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    ExpectRefused(path);
}

TEST_F(MapFile, FailedWriteKeepsTheOldFile)
{
    const QString path = PathOf("Kept.KVX");
    const QByteArray old = Pattern(MapFileRecordSize);
    WriteAll(path, old);
    Cell(1, 1).Ground = tcVolcano;

    // Files may grow no further than 1000 bytes while the map is written.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool refused = false;
    try {
        WriteMapFile(path);
    } catch (const GcError& error) {
        refused = true;
        EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(refused);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Kept.KVX"});
}

TEST_F(MapFile, WriteIntoAMissingFolderIsRefused)
{
    const QString path = PathOf("NoSuchFolder/Map.KVX");
    try {
        WriteMapFile(path);
        ADD_FAILURE() << "wrote " << path.toStdString();
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
    }
}

TEST(MapDirectoryPart, FollowsTheWindowsRuleWithBothSeparators)
{
    const struct {
        const char* name;
        const char* folder;
    } cases[] = {
        {"C:\\Games\\Korvane\\Maps\\desert.KVX", "C:\\Games\\Korvane\\Maps"},
        {"C:\\desert.KVX", "C:\\"},
        {"C:desert.KVX", "C:"},
        {"NewMap", ""},
        {"Random", ""},
        {"", ""},
        {"/home/pilot/maps/desert.KVX", "/home/pilot/maps"},
        {"/desert.KVX", "/"},
        {"\\desert.KVX", "\\"},
        {"\\\\server\\desert.KVX", "\\\\server"},
        {"maps\\\\desert.KVX", "maps\\\\"},
        {"C:\\Maps/desert.KVX", "C:\\Maps"},
        {"maps/", "maps"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapDirectoryPart(QString::fromLatin1(c.name)), QString::fromLatin1(c.folder))
            << c.name;
}

}  // namespace
