#include "platform/SafeFile.h"

#include "platform/Errors.h"
#include "tests/platform/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// Files may grow to at most limit bytes while the object lives; works even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = previous_;
        lowered.rlim_cur = limit;
        applied_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Applied() const { return applied_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool applied_ = false;
};

}  // namespace

TEST(SafeFile, WritesNewAndReplacesExistingFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Korvane.INI";
    WriteFileSafely(path, "first");
    EXPECT_EQ(ReadBytes(path), QByteArray("first"));
    WriteFileSafely(path, "second, longer");
    EXPECT_EQ(ReadBytes(path), QByteArray("second, longer"));
    WriteFileSafely(path, "");
    EXPECT_EQ(ReadBytes(path), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Korvane.INI"});
}

TEST(SafeFile, AWriteThatFailsHalfwayLeavesTheOldFileIntact)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Korvane.INI";
    WriteBytes(path, "[General]\r\nVersion=v2\xDF\r\n");
    {
        FileSizeLimit limit(64);
        ASSERT_TRUE(limit.Applied());
        EXPECT_THROW(WriteFileSafely(path, QByteArray(1 << 20, 'x')), GcError);
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("[General]\r\nVersion=v2\xDF\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Korvane.INI"});
}

TEST(SafeFile, AFolderThatCannotHoldTheFileRaisesWithItsName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteBytes(dir.path() + "/plain", "a file, not a folder");
    const QString path = dir.path() + "/plain/Korvane.INI";
    try {
        WriteFileSafely(path, "x");
        ADD_FAILURE() << "no error raised";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
    }
}

TEST(SafeFile, ReplacingKeepsTheFilePermissions)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/Korvane.INI";
    WriteBytes(path, "old");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadUser |
                             QFile::WriteUser;
    ASSERT_TRUE(QFile::setPermissions(path, permissions));
    WriteFileSafely(path, "new");
    EXPECT_EQ(QFile::permissions(path), permissions);
}

TEST(SafeFile, ALinkedFileIsReplacedAtItsTarget)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.path() + "/Shared.INI";
    const QString link = dir.path() + "/Korvane.INI";
    WriteBytes(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    WriteFileSafely(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(ReadBytes(target), QByteArray("new"));
}
