#include "fuzz/FuzzGame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

void SilentPrompts::Warning(const QString&) { ++Warnings; }
void SilentPrompts::Information(const QString&) { ++Informations; }
bool SilentPrompts::AskYesNo(const QString&) { return true; }

namespace {

QString TemporaryBase()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
}

}  // namespace

const QString& FuzzGameRoot()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        auto made = std::make_unique<QTemporaryDir>(TemporaryBase() +
                                                    QStringLiteral("/gridcrafter-fuzz-XXXXXX"));
        const QDir root(made->path());
        FuzzCheck(made->isValid() && root.mkpath(QStringLiteral("Gridcrafter")) &&
                      root.mkpath(QStringLiteral("Sprites")) &&
                      QDir::setCurrent(root.filePath(QStringLiteral("Gridcrafter"))),
                  "cannot lay out the temporary game folder");
        return made;
    }();
    static const QString root = dir->path();
    return root;
}

void WriteFuzzFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    QFile file(path);
    const auto length = static_cast<qint64>(size);
    FuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(reinterpret_cast<const char*>(data), length) == length,
              "cannot write the input file");
}

void FuzzCheck(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
