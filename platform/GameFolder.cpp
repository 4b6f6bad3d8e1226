#include "platform/GameFolder.h"

#include "platform/Errors.h"
#include "platform/WinPath.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

bool InGameEditorFolder()
{
    return QFileInfo(NativePath(QStringLiteral("..\\Korvane.INI"))).isFile() ||
           QFileInfo(NativePath(QStringLiteral("..\\Sprites"))).isDir();
}

void EnterGameFolder(const QString& game)
{
    const QString folder = QDir(game).filePath(QStringLiteral("Gridcrafter"));
    // chdir rather than QDir::setCurrent, for the reason it gives.
    if (chdir(QFile::encodeName(folder).constData()) != 0)
        throw GcError(QStringLiteral("Cannot enter %1: %2")
                          .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
}
