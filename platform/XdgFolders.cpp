// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "platform/XdgFolders.h"

#include <QDir>
#include <QFile>

namespace {

QString BaseFolder(const char* variable, const char* underHome)
{
    const QString set = QFile::decodeName(qgetenv(variable));
    if (QDir::isAbsolutePath(set))
        return QDir::cleanPath(set);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + QLatin1String(underHome));
}

}  // namespace

QString XdgDataHome() { return BaseFolder("XDG_DATA_HOME", ".local/share"); }

QString XdgStateHome() { return BaseFolder("XDG_STATE_HOME", ".local/state"); }
