// What the recovery and the watch on the map's file cost and how soon they act:
// - KeepRecoveryOnTheWindowsThread: what a write of the recovery costs the thread that asks
//   (a copy of the map handed to the writer's thread), beside WriteRecoveryDurably, the whole
//   write with its flushes to disk, which that thread no longer waits for;
// - EditKeptAfter: from a key's change to its map in the recovery file on disk (wall time),
//   the most editing a kill or a power cut can take;
// - ChangeNoticedAfter: from another program's write of the open map's file to the map loaded
//   again (wall time).

#include "core/MapFile.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "core/MapRecovery.h"
#include "editor/FileCommands.h"
#include "editor/MapFileWatcher.h"
#include "editor/RecoveryKeeper.h"
#include "platform/BackgroundWriter.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>

namespace {

void ToggleFire(int x, int y)
{
    const MapCell before = Cell(x, y);
    Cell(x, y).Overlays.Fire ^= 1u;
    RecordCellChange(x, y, 'F', before);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void KeepRecoveryOnTheWindowsThread(benchmark::State& state)
{
    QTemporaryDir dir;
    ClearMap();
    ResetMapHistory();
    RecoveryKeeper keeper(dir.path(), [](const QString&) {});
    ToggleFire(1, 1);
    for ([[maybe_unused]] auto _ : state)
        keeper.KeepNow();
    keeper.WaitForDisk();
}
BENCHMARK(KeepRecoveryOnTheWindowsThread)->Unit(benchmark::kMicrosecond);

void WriteRecoveryDurably(benchmark::State& state)
{
    QTemporaryDir dir;
    ClearMap();
    BackgroundWriter writer(nullptr);
    for ([[maybe_unused]] auto _ : state) {
        writer.Write(dir.filePath("map.recovery"), [] {
            return EncodeMapRecovery(CaptureMapRecovery(QDateTime::currentDateTimeUtc()));
        });
        writer.Wait();
    }
}
BENCHMARK(WriteRecoveryDurably)->Unit(benchmark::kMicrosecond);

// Runs the event loop until done, and returns the wall time since start in seconds; the
// longest of the run is reported as max_ms.
template <typename Done>
double SecondsUntil(benchmark::State& state, const QElapsedTimer& start, Done done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double seconds = static_cast<double>(start.nsecsElapsed()) / 1e9;
    state.counters["max_ms"] = std::max(state.counters["max_ms"].value, seconds * 1000);
    return seconds;
}

void EditKeptAfter(benchmark::State& state)
{
    QTemporaryDir dir;
    ClearMap();
    ResetMapHistory();
    RecoveryKeeper keeper(dir.path(), [](const QString&) {});
    for ([[maybe_unused]] auto _ : state) {
        QElapsedTimer start;
        start.start();
        ToggleFire(2, 2);
        const QByteArray map(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid);
        state.SetIterationTime(SecondsUntil(state, start, [&] {
            const auto kept = DecodeMapRecovery(ReadFile(keeper.OwnFile()));
            return kept && kept->Map == map;
        }));
    }
}
BENCHMARK(EditKeptAfter)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void ChangeNoticedAfter(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("watched.KVX");
    ClearMap();
    WriteMapFile(path);
    ResetMapHistory();
    int noticed = 0;
    MapFileWatcher watcher([&](const QString&) { ++noticed; }, [] {});
    LoadNamedMapCommand(path, [] {});
    for ([[maybe_unused]] auto _ : state) {
        QByteArray bytes(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid);
        bytes[10] = static_cast<char>(bytes[10] ^ 1);
        const int before = noticed;
        QElapsedTimer start;
        start.start();
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        state.SetIterationTime(SecondsUntil(state, start, [&] { return noticed > before; }));
    }
}
BENCHMARK(ChangeNoticedAfter)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
