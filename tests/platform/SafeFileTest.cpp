#include "platform/SafeFile.h"

#include "platform/Errors.h"
#include "tests/platform/TempFiles.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <stdexcept>

namespace {

// Both ways of replacing a file keep the same promises; the unsynced one gets its bytes from a
// writer function.
using FileWriter = void (*)(const QString&, const QByteArray&);

void WriteUnsynced(const QString& path, const QByteArray& bytes)
{
    WriteFileUnsynced(path,
                      [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); });
}

class SafeFile : public ::testing::TestWithParam<FileWriter> {
protected:
    static void Write(const QString& path, const QByteArray& bytes) { GetParam()(path, bytes); }
};

INSTANTIATE_TEST_SUITE_P(Writers, SafeFile, ::testing::Values(&WriteFileSafely, &WriteUnsynced),
                         [](const ::testing::TestParamInfo<FileWriter>& writer) {
                             return writer.param == &WriteFileSafely ? "Synced" : "Unsynced";
                         });

}  // namespace

TEST_P(SafeFile, WritesNewAndReplacesExistingFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Korvane.INI";
    Write(path, "first");
    EXPECT_EQ(ReadBytes(path), QByteArray("first"));
    Write(path, "second, longer");
    EXPECT_EQ(ReadBytes(path), QByteArray("second, longer"));
    Write(path, "");
    EXPECT_EQ(ReadBytes(path), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Korvane.INI"});
}

TEST_P(SafeFile, AWriteThatFailsHalfwayLeavesTheOldFileIntact)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Korvane.INI";
    WriteBytes(path, "[General]\r\nVersion=v2\xDF\r\n");
    {
        FileSizeLimit limit(64);
        ASSERT_TRUE(limit.Applied());
        EXPECT_THROW(Write(path, QByteArray(1 << 20, 'x')), GcError);
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("[General]\r\nVersion=v2\xDF\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Korvane.INI"});
}

// The file stops growing part of the way through a write, and only a later write learns why:
// the system's reason still reaches the text.
TEST_P(SafeFile, AWriteCutShortNamesTheSystemsReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/map.KVX";
    QString text;
    {
        FileSizeLimit limit(5000);
        ASSERT_TRUE(limit.Applied());
        try {
            Write(path, QByteArray(1 << 20, 'x'));
        } catch (const GcError& error) {
            text = error.Text();
        }
    }
    EXPECT_EQ(text.toStdString(),
              ("Cannot write file " + path + ": " + qt_error_string(EFBIG)).toStdString());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_P(SafeFile, AFolderThatCannotHoldTheFileRaisesWithItsName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteBytes(dir.path() + "/plain", "a file, not a folder");
    const QString path = dir.path() + "/plain/Korvane.INI";
    try {
        Write(path, "x");
        ADD_FAILURE() << "no error raised";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
    }
}

TEST_P(SafeFile, AFolderInPlaceOfTheFileIsReportedAndKept)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/taken.BMP";
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.BMP"));
    try {
        Write(path, "x");
        ADD_FAILURE() << "no error raised";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
    }
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"taken.BMP"});
}

TEST_P(SafeFile, ReplacingKeepsTheFilePermissions)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Korvane.INI";
    WriteBytes(path, "old");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                             QFile::ReadUser | QFile::WriteUser;
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
    Write(path, "new");
    EXPECT_EQ(QFile::permissions(path), permissions);
}

TEST_P(SafeFile, ALinkedFileIsReplacedAtItsTarget)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.path() + "/Shared.INI";
    const QString link = dir.path() + "/Korvane.INI";
    WriteBytes(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    Write(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(target), QByteArray("new"));
}

TEST(UnsyncedFile, ANewFileGetsThePermissionsTheUmaskLeavesAndAFailedWriteLeavesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/map.BMP";
    const mode_t mask = ::umask(027);
    WriteUnsynced(path, "picture");
    ::umask(mask);
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640U);
    EXPECT_EQ(ReadBytes(path), QByteArray("picture"));

    EXPECT_THROW(WriteFileUnsynced(path, [](QIODevice&) { return false; }), GcError);
    EXPECT_THROW(
        WriteFileUnsynced(path, [](QIODevice&) -> bool { throw std::runtime_error("no"); }),
        std::runtime_error);
    EXPECT_EQ(ReadBytes(path), QByteArray("picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.BMP"});
}

TEST(UnsyncedFile, AFileThatMayNotBeWrittenIsNotReplaced)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/map.BMP";
    WriteBytes(path, "old");
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
    try {
        WriteUnsynced(path, "new");
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"map.BMP"});
}

TEST(UnsyncedFile, TheExpectedSizeIsOnlyAHint)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/map.BMP";
    const QByteArray bytes(70000, 'x');
    for (const qint64 expected : {qint64{0}, qint64{10}, qint64{70000}, qint64{1} << 20}) {
        WriteFileUnsynced(
            path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size(); },
            expected);
        ASSERT_EQ(ReadBytes(path), bytes) << expected;
        ASSERT_EQ(QFileInfo(path).size(), bytes.size()) << expected;
    }
    // Room the file system cannot give is not the writer's failure.
    WriteFileUnsynced(
        path, [](QIODevice& file) { return file.write("small") == 5; }, qint64{1} << 60);
    EXPECT_EQ(ReadBytes(path), QByteArray("small"));
}

// A writer that goes on after the file stopped growing is not told; the first failure is the
// one reported, once the writer is done.
TEST(UnsyncedFile, AWriterOfSmallPiecesLearnsNothingAndTheFirstFailureIsReported)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/map.png";
    const QByteArray piece(1000, 'x');
    int pieces = 0;
    QString text;
    {
        FileSizeLimit limit(5000);
        ASSERT_TRUE(limit.Applied());
        try {
            WriteFileUnsynced(path, [&](QIODevice& file) {
                for (; pieces < 100; ++pieces)
                    if (file.write(piece) != piece.size())
                        return false;
                return true;
            });
        } catch (const GcError& error) {
            text = error.Text();
        }
    }
    EXPECT_EQ(pieces, 100);
    EXPECT_EQ(text.toStdString(),
              ("Cannot write file " + path + ": " + qt_error_string(EFBIG)).toStdString());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}
