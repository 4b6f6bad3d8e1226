#pragma once
// Files written and removed on a thread of their own, so that the thread that asks never
// waits for the disk. A write goes into a new file beside its target, is flushed to disk and
// renamed over the target, and the folder is flushed after it: after a crash or a power cut
// the target holds the old bytes or the new ones, whole. Requests run in the order given; a
// request for a file takes the place of one for the same file that has not started yet.

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class BackgroundWriter {
public:
    // Runs on the writer's thread after each request: the file, whether it was written (or
    // removed), and the reason it failed, empty when it succeeded.
    using Report = std::function<void(const QString& path, bool written, const QString& failure)>;

    explicit BackgroundWriter(Report report);
    // Runs the requests given so far, then ends the thread.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Writes to path what bytes returns, called on the writer's thread; path's folder is made
    // where it is missing.
    void Write(const QString& path, std::function<QByteArray()> bytes);
    // Removes path; a file that is not there is no failure.
    void Remove(const QString& path);
    // Returns once every request given so far has run.
    void Wait();

private:
    struct Request {
        QString Path;
        // Empty for a removal.
        std::function<QByteArray()> Bytes;
    };

    void Add(Request request);
    void Run();
    void Carry(const Request& request);

    Report report_;
    std::mutex mutex_;
    // Signals new requests to the thread, and the end of each to Wait.
    std::condition_variable changed_;
    std::deque<Request> requests_;
    // A request has been taken off the queue and is running.
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
