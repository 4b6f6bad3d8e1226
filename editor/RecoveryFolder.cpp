// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/RecoveryFolder.h"

#include "platform/Errors.h"
#include "platform/FileIdentity.h"
#include "platform/XdgFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString Suffix = QStringLiteral(".recovery");

// Far more than a recovery holds with the longest texts; a larger file is not read whole.
constexpr qint64 LargestRecovery = 1 << 20;

std::optional<MapRecovery> ReadRecovery(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(LargestRecovery + 1);
    if (bytes.size() > LargestRecovery)
        return std::nullopt;
    return DecodeMapRecovery(bytes);
}

bool OwnerRuns(const QString& fileName)
{
    const std::optional<ProcessIdentity> owner = RecoveryFileOwner(fileName);
    return owner && IsRunning(*owner);
}

}  // namespace

QString RecoveryFolder() { return XdgStateHome() + QStringLiteral("/gridcrafter/recovery"); }

QString RecoveryFileName(const ProcessIdentity& process)
{
    return QStringLiteral("%1-%2-%3")
               .arg(process.Pid)
               .arg(process.Started)
               .arg(QString::fromLatin1(process.Boot)) +
           Suffix;
}

std::optional<ProcessIdentity> RecoveryFileOwner(const QString& fileName)
{
    static const QRegularExpression shape(
        QStringLiteral("^([1-9][0-9]{0,18})-([0-9]{1,20})-([0-9a-f-]{1,64})\\.recovery$"));
    const QRegularExpressionMatch match = shape.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    bool pid = false;
    bool started = false;
    ProcessIdentity owner{match.captured(3).toLatin1(), match.captured(1).toLongLong(&pid),
                          match.captured(2).toULongLong(&started)};
    if (!pid || !started)
        return std::nullopt;
    return owner;
}

RecoveryFolderContents ReadRecoveryFolder(const QString& folder)
{
    RecoveryFolderContents contents;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QLatin1Char('*') + Suffix}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& info : files) {
        const bool running = OwnerRuns(info.fileName());
        const std::optional<MapRecovery> recovery = ReadRecovery(info.filePath());
        if (recovery)
            (running ? contents.Running : contents.Abandoned)
                .push_back({info.filePath(), *recovery});
        else if (!running)
            contents.Unreadable << info.filePath();
    }
    std::stable_sort(contents.Abandoned.begin(), contents.Abandoned.end(),
                     [](const FoundRecovery& a, const FoundRecovery& b) {
                         return a.Recovery.Time > b.Recovery.Time;
                     });
    return contents;
}

QString MoveRecoveryAside(const QString& path)
{
    QString aside = path + QStringLiteral(".unreadable");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = path + QStringLiteral(".unreadable-%1").arg(n);
    QFile file(path);
    if (!file.rename(aside))
        throw GcError(
            QStringLiteral("Cannot move %1 to %2: %3").arg(path, aside, file.errorString()));
    return aside;
}

std::vector<qint64> EditorsWithUnsavedChangesTo(const QString& folder, const QString& file)
{
    std::vector<qint64> editors;
    const ProcessIdentity self = ThisProcess();
    for (const FoundRecovery& found : ReadRecoveryFolder(folder).Running) {
        const std::optional<ProcessIdentity> owner =
            RecoveryFileOwner(QFileInfo(found.Path).fileName());
        if (owner && *owner != self && !found.Recovery.File.isEmpty() &&
            SameFile(found.Recovery.File, file))
            editors.push_back(owner->Pid);
    }
    std::sort(editors.begin(), editors.end());
    return editors;
}
