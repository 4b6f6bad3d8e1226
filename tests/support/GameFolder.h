#pragma once
// A throw-away game installation: <tmp>/Korvane.INI, <tmp>/Sprites/, and <tmp>/Gridcrafter
// as the current directory while the object lives.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class GameFolder {
public:
    GameFolder();
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    QString Root() const;          // the game folder
    QString EditorDir() const;     // Root()/Gridcrafter, the current directory
    QString SettingsPath() const;  // Root()/Korvane.INI
    QString SpritesDir() const;    // Root()/Sprites

    void WriteSettings(const QByteArray& bytes) const;
    QByteArray ReadSettings() const;

private:
    QTemporaryDir dir_;
    QString previousDir_;
};
