// Map files of every awkward length and kind, loaded and saved through the menu commands.
// Each case checks the message the user reads (it names the file), that the map, its name
// and its unsaved-edits flag are as they were after a refusal, and that no file on disk was
// lost, changed or left behind. The missing, directory and FIFO cases are in tests/core.

#include "ChildProcess.h"
#include "SmallDisk.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "editor/FileCommands.h"
#include "platform/Errors.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>

namespace {

QByteArray GridBytes() { return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid}; }

// Differs in every position, so a byte out of place shows.
QByteArray Pattern(qsizetype size, int seed = 0)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256 + seed) & 0xFF);
    return bytes;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

class HostileMapFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    int redraws = 0;

    void SetUp() override
    {
        MapGrid = MapGridType{};
        ClearMap();
        Cell(7, 7).Ground = 10;
        MapName = "Kept";
        MapModified = true;
    }

    QString PathOf(const QString& name) const { return dir.filePath(name); }

    // Load through the menu command; the error text, or empty.
    QString Load(const QString& path)
    {
        prompts.AnswerYesNo(true);
        prompts.AnswerFileDialog(path);
        try {
            LoadMapCommand([this] { ++redraws; });
        } catch (const GcError& error) {
            return error.Text();
        }
        return {};
    }

    QString Save(const QString& path)
    {
        prompts.AnswerFileDialog(path);
        try {
            SaveMapCommand();
        } catch (const GcError& error) {
            return error.Text();
        }
        return {};
    }

    // After a refused load or save: the message names the file, and the editor is unchanged.
    QString Unchanged(const QString& error, const QString& path, const QByteArray& grid) const
    {
        QStringList faults;
        if (!error.contains(path))
            faults << "message does not name the file: " + error;
        if (GridBytes() != grid)
            faults << "the map changed";
        if (MapName != "Kept" || !MapModified)
            faults << "name or unsaved-edits flag changed";
        if (redraws != 0 || !prompts.Informations.isEmpty())
            faults << "the map was redrawn or a success was reported";
        return faults.join("; ");
    }

    QStringList Entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(HostileMapFiles, EveryLengthIsReadAsAWholeRecordOrRefused)
{
    const qsizetype sizes[] = {
        0, 1, MapFileRecordSize - 1, MapFileRecordSize, MapFileRecordSize + 1, 10LL * 1024 * 1024};
    for (const qsizetype size : sizes) {
        SCOPED_TRACE(size);
        const QString path = PathOf(QStringLiteral("%1.KVX").arg(size));
        const QByteArray bytes = Pattern(size, static_cast<int>(size));
        ASSERT_TRUE(WriteAll(path, bytes));
        SetUp();
        redraws = 0;
        const QByteArray before = GridBytes();
        const QString error = Load(path);
        if (size < MapFileRecordSize) {
            EXPECT_EQ(Unchanged(error, path, before), "");
            EXPECT_TRUE(error.contains(QStringLiteral("holds %1 bytes").arg(size)))
                << error.toStdString();
        } else {
            EXPECT_EQ(error, "");
            EXPECT_EQ(GridBytes(), bytes.left(MapFileRecordSize));
            EXPECT_EQ(MapName, path);
            EXPECT_FALSE(MapModified);
            EXPECT_EQ(redraws, 1);
        }
        EXPECT_EQ(ReadAll(path), bytes) << "loading changed the file";
    }
}

TEST_F(HostileMapFiles, AFileWithoutReadPermissionIsRefused)
{
    const QString path = PathOf("Locked.KVX");
    ASSERT_TRUE(WriteAll(path, Pattern(MapFileRecordSize)));
    ASSERT_TRUE(QFile::setPermissions(path, {}));
    OpenToEveryone(dir.path());
    const QByteArray before = GridBytes();
    EXPECT_EQ(RunWithoutPrivileges([&] { return Unchanged(Load(path), path, before); }), "");
}

TEST_F(HostileMapFiles, SavingIntoAReadOnlyFolderKeepsWhatWasThere)
{
    const QString old = PathOf("Old.KVX");
    const QByteArray oldBytes = Pattern(MapFileRecordSize, 1);
    ASSERT_TRUE(WriteAll(old, oldBytes));
    OpenToEveryone(old);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                      QFileDevice::ReadOther |
                                                      QFileDevice::ExeOther));
    const QByteArray grid = GridBytes();
    const QString fault = RunWithoutPrivileges([&] {
        const QString over = Unchanged(Save(old), old, grid);
        const QString beside = Unchanged(Save(PathOf("New.KVX")), PathOf("New.KVX"), grid);
        return over + beside;
    });
    OpenToEveryone(dir.path());
    EXPECT_EQ(fault, "");
    EXPECT_EQ(ReadAll(old), oldBytes);
    EXPECT_EQ(Entries(), QStringList{"Old.KVX"});
}

TEST_F(HostileMapFiles, SavingOverAReadOnlyFileKeepsIt)
{
    const QString path = PathOf("ReadOnly.KVX");
    const QByteArray oldBytes = Pattern(MapFileRecordSize, 2);
    ASSERT_TRUE(WriteAll(path, oldBytes));
    ASSERT_TRUE(QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    OpenToEveryone(dir.path());
    const QByteArray grid = GridBytes();
    EXPECT_EQ(RunWithoutPrivileges([&] { return Unchanged(Save(path), path, grid); }), "");
    EXPECT_EQ(ReadAll(path), oldBytes);
    EXPECT_EQ(Entries(), QStringList{"ReadOnly.KVX"});
}

TEST_F(HostileMapFiles, SavingOntoAFolderIsRefused)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("Folder.KVX"));
    const QByteArray grid = GridBytes();
    EXPECT_EQ(Unchanged(Save(PathOf("Folder.KVX")), PathOf("Folder.KVX"), grid), "");
    EXPECT_TRUE(QFileInfo(PathOf("Folder.KVX")).isDir());
    EXPECT_EQ(Entries(), QStringList{"Folder.KVX"});
}

// Where no disk can be mounted, the file size limit makes the write fail the same way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*handler_)(int) = nullptr;
};

TEST_F(HostileMapFiles, SavingOntoAFullDiskKeepsTheOldMap)
{
    const QString folder = PathOf("disk");
    const SmallDisk disk(folder);
    const QString old = folder + "/Old.KVX";
    const QByteArray oldBytes = Pattern(MapFileRecordSize, 3);
    ASSERT_TRUE(WriteAll(old, oldBytes));
    const QByteArray grid = GridBytes();
    QString overOld;
    QString beside;
    if (disk.Mounted()) {
        ASSERT_TRUE(FillUp(folder));
        overOld = Save(old);
        beside = Save(folder + "/New.KVX");
    } else {
        std::fprintf(stderr,
                     "no tmpfs could be mounted; a file size limit stands in for a full disk\n");
        const FileSizeLimit limit(4096);
        overOld = Save(old);
        beside = Save(folder + "/New.KVX");
    }
    EXPECT_EQ(Unchanged(overOld, old, grid), "");
    EXPECT_EQ(Unchanged(beside, folder + "/New.KVX", grid), "");
    EXPECT_EQ(ReadAll(old), oldBytes);
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    left.removeAll("filler");
    EXPECT_EQ(left, QStringList{"Old.KVX"});
}

}  // namespace
