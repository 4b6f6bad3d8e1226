// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "platform/FileUri.h"

#include <QUrl>

std::optional<QString> LocalPathOf(const QString& argument)
{
    if (!argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive))
        return argument;
    const QUrl url(argument);
    if (!url.isValid() || !url.isLocalFile() ||
        !(url.host().isEmpty() || url.host() == QStringLiteral("localhost")))
        return std::nullopt;
    return url.toLocalFile();
}
