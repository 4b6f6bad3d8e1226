// The writer's thread: requests in the order given, a later request for a file in the place
// of a queued one, failures reported with their reason, nothing dropped at the end.

#include "platform/BackgroundWriter.h"

#include "tests/platform/TempFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <future>
#include <mutex>

namespace {

class BackgroundWriterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::mutex mutex;
    // "path written|removed failure" for each report, in order.
    QStringList reports;

    BackgroundWriter::Report Recorder()
    {
        return [this](const QString& path, bool written, const QString& failure) {
            const std::lock_guard lock(mutex);
            reports << QDir(dir.path()).relativeFilePath(path) +
                           (written ? " written" : " removed") +
                           (failure.isEmpty() ? QString() : " failed");
        };
    }
    QString PathOf(const QString& name) const { return dir.filePath(name); }
    static std::function<QByteArray()> Bytes(const QByteArray& bytes)
    {
        return [bytes] { return bytes; };
    }
};

TEST_F(BackgroundWriterTest, WritesAndRemovesInTheOrderAsked)
{
    WriteBytes(PathOf("old"), "old");
    BackgroundWriter writer(Recorder());
    writer.Write(PathOf("a"), Bytes("one"));
    writer.Remove(PathOf("old"));
    writer.Write(PathOf("new/folder/b"), Bytes("two"));
    writer.Remove(PathOf("never there"));
    writer.Wait();

    EXPECT_EQ(reports, (QStringList{"a written", "old removed", "new/folder/b written",
                                    "never there removed"}));
    EXPECT_EQ(ReadBytes(PathOf("a")), "one");
    EXPECT_EQ(ReadBytes(PathOf("new/folder/b")), "two");
    EXPECT_FALSE(QFileInfo::exists(PathOf("old")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"a"})) << "no file left over";
}

TEST_F(BackgroundWriterTest, ALaterRequestForAFileTakesThePlaceOfOneNotStarted)
{
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int stale = 0;
    BackgroundWriter writer(Recorder());
    writer.Write(PathOf("busy"), [released] {
        released.wait();
        return QByteArray("busy");
    });
    writer.Write(PathOf("x"), [&stale] {
        ++stale;
        return QByteArray("first");
    });
    writer.Remove(PathOf("y"));
    writer.Write(PathOf("x"), Bytes("second"));
    writer.Write(PathOf("z"), Bytes("z"));
    writer.Remove(PathOf("z"));
    release.set_value();
    writer.Wait();

    EXPECT_EQ(reports, (QStringList{"busy written", "x written", "y removed", "z removed"}));
    EXPECT_EQ(ReadBytes(PathOf("x")), "second");
    EXPECT_EQ(stale, 0);
    EXPECT_FALSE(QFileInfo::exists(PathOf("z")));
}

TEST_F(BackgroundWriterTest, FailuresAreReportedWithTheirReasonAndTheRestGoesOn)
{
    WriteBytes(PathOf("plain"), "plain");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    QStringList failures;
    BackgroundWriter writer([&](const QString& path, bool, const QString& failure) {
        if (!failure.isEmpty())
            failures << failure;
        else
            failures << "ok " + QFileInfo(path).fileName();
    });
    writer.Write(PathOf("plain/under a file"), Bytes("x"));
    writer.Write(PathOf("folder"), Bytes("x"));
    writer.Write(PathOf("fine"), Bytes("x"));
    writer.Wait();

    ASSERT_EQ(failures.size(), 3);
    EXPECT_TRUE(failures[0].contains(PathOf("plain"))) << failures[0].toStdString();
    EXPECT_TRUE(failures[1].startsWith("Cannot create file " + PathOf("folder")))
        << failures[1].toStdString();
    EXPECT_EQ(failures[2], "ok fine");
    EXPECT_EQ(ReadBytes(PathOf("plain")), "plain");
}

TEST_F(BackgroundWriterTest, EndingRunsEveryRequestGiven)
{
    {
        BackgroundWriter writer(nullptr);
        for (int i = 0; i < 20; ++i)
            writer.Write(PathOf(QString::number(i)), Bytes(QByteArray::number(i)));
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(ReadBytes(PathOf(QString::number(i))), QByteArray::number(i));
}

}  // namespace
