#include "tests/support/GameFolder.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

GameFolder::GameFolder() : previousDir_(QDir::currentPath())
{
    if (!dir_.isValid() || !QDir(dir_.path()).mkpath("Gridcrafter") ||
        !QDir(dir_.path()).mkpath("Sprites") || !QDir::setCurrent(EditorDir()))
        throw std::runtime_error("cannot lay out a temporary game folder");
}

GameFolder::~GameFolder() { QDir::setCurrent(previousDir_); }

QString GameFolder::Root() const { return dir_.path(); }
QString GameFolder::EditorDir() const { return dir_.path() + "/Gridcrafter"; }
QString GameFolder::SettingsPath() const { return dir_.path() + "/Korvane.INI"; }
QString GameFolder::SpritesDir() const { return dir_.path() + "/Sprites"; }

void GameFolder::WriteSettings(const QByteArray& bytes) const
{
    QFile file(SettingsPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the test settings file");
}

QByteArray GameFolder::ReadSettings() const
{
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
