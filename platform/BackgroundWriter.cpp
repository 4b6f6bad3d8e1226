// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "platform/BackgroundWriter.h"

#include "platform/Errors.h"
#include "platform/SafeFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

// A rename or a removal lasts through a power cut only once the folder that holds the name
// is on disk too. File systems that cannot flush a folder need not.
void SyncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void WriteDurably(const QString& path, const QByteArray& bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw GcError(QStringLiteral("Cannot create the folder %1").arg(folder));
    WriteFileSafely(path, bytes);
    SyncFolder(folder);
}

void RemoveDurably(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0) {
        if (errno == ENOENT)
            return;
        throw GcError(
            QStringLiteral("Cannot remove file %1: %2").arg(path, qt_error_string(errno)));
    }
    SyncFolder(QFileInfo(path).absolutePath());
}

}  // namespace

BackgroundWriter::BackgroundWriter(Report report)
    : report_(std::move(report)), thread_([this] { Run(); })
{
}

BackgroundWriter::~BackgroundWriter()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWriter::Write(const QString& path, std::function<QByteArray()> bytes)
{
    Add({path, std::move(bytes)});
}

void BackgroundWriter::Remove(const QString& path) { Add({path, nullptr}); }

void BackgroundWriter::Wait()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return requests_.empty() && !running_; });
}

void BackgroundWriter::Add(Request request)
{
    {
        const std::lock_guard lock(mutex_);
        // In the place of the one it replaces, so that what was to follow it still does.
        const auto queued = std::find_if(requests_.begin(), requests_.end(),
                                         [&](const Request& r) { return r.Path == request.Path; });
        if (queued != requests_.end())
            *queued = std::move(request);
        else
            requests_.push_back(std::move(request));
    }
    changed_.notify_all();
}

void BackgroundWriter::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !requests_.empty(); });
        if (requests_.empty())
            return;
        const Request request = std::move(requests_.front());
        requests_.pop_front();
        running_ = true;
        lock.unlock();
        Carry(request);
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

void BackgroundWriter::Carry(const Request& request)
{
    QString failure;
    try {
        if (request.Bytes)
            WriteDurably(request.Path, request.Bytes());
        else
            RemoveDurably(request.Path);
    } catch (const GcError& error) {
        failure = error.Text();
    }
    if (report_)
        report_(request.Path, static_cast<bool>(request.Bytes), failure);
}
