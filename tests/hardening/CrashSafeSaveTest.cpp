// Killing the editor in the middle of a save must never leave a broken map file. A child
// process saves two maps in turn over the same file, as fast as it can; the test kills it
// with SIGKILL after a random short time, over and over, and after every kill the file must
// hold one of the two maps whole. A flag in shared memory tells whether the kill landed
// inside a save, so the test also shows that it hit saves in progress, not only the gaps.

#include "core/MapFile.h"
#include "core/MapModel.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <cstring>
#include <new>
#include <random>

namespace {

constexpr int Kills = 300;

struct SaveProgress {
    std::atomic<int> insideSave;
    std::atomic<int> savesFinished;
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void FillGrid(const QByteArray& bytes) { std::memcpy(&MapGrid, bytes.constData(), sizeof MapGrid); }

QByteArray MapBytes(int seed)
{
    QByteArray bytes(MapFileRecordSize, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 13 + i / 251 + seed) & 0xFF);
    return bytes;
}

[[noreturn]] void SaveForEver(const QString& path, const QByteArray& first,
                              const QByteArray& second, SaveProgress* progress)
{
    for (int turn = 0;; ++turn) {
        FillGrid(turn % 2 == 0 ? first : second);
        progress->insideSave = 1;
        try {
            WriteMapFile(path);
        } catch (...) {
            ::_exit(3);
        }
        progress->insideSave = 0;
        ++progress->savesFinished;
    }
}

TEST(CrashSafeSave, AKilledSaveLeavesTheWholeOldMapOrTheWholeNewOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Battle.KVX");
    const QByteArray oldMap = MapBytes(1);
    const QByteArray newMap = MapBytes(2);
    FillGrid(oldMap);
    WriteMapFile(path);

    void* shared = ::mmap(nullptr, sizeof(SaveProgress), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* progress = new (shared) SaveProgress{};

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> delayMicroseconds(0, 8000);
    int killedInsideSave = 0;
    int sawOld = 0;
    int sawNew = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        progress->insideSave = 0;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            SaveForEver(path, newMap, oldMap, progress);
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself, status " << status;
        killedInsideSave += progress->insideSave.load();

        const QByteArray onDisk = ReadAll(path);
        ASSERT_TRUE(onDisk == oldMap || onDisk == newMap)
            << "after kill " << kill << " the file holds " << onDisk.size()
            << " bytes of neither map";
        (onDisk == oldMap ? sawOld : sawNew) += 1;
    }
    const int savesFinished = progress->savesFinished.load();
    ::munmap(shared, sizeof(SaveProgress));

    EXPECT_GT(killedInsideSave, Kills / 4) << "too few kills landed inside a save";
    EXPECT_GT(savesFinished, 0);
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    // The temporary file gets a name of its own just before it replaces the map, so a kill
    // between the two steps may leave it beside the map; nothing else may appear.
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
        EXPECT_TRUE(name == "Battle.KVX" || name.startsWith("Battle.KVX.")) << name.toStdString();
    RecordProperty("KillsInsideASave", killedInsideSave);
}

}  // namespace
