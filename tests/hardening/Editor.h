#pragma once
// The editor's start in a throw-away game folder, as the user meets it: the settings file,
// then the sprite sheets, then a clean map drawn. Whatever fails reaches the user as the
// message of the default error handler, so a start reports that text.

#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include "BmpFiles.h"

// One colour per sprite, none of them white (transparent in a mask) or black (the mask's
// opaque colour and the map's background), so every check sees which sprite it looks at.
QRgb SpriteColour(int sheet, int sprite);

// The six sheets, each sprite one colour over the hexagon, in the default counts; black and
// white only, every sprite black, for a 1-bit sheet.
struct TestSheets {
    QImage Height;
    QImage Effects;
    QImage Ground;
    QImage Mechs;
    QImage Road;
    QImage River;
};
TestSheets MakeTestSheets(bool blackAndWhite = false);

class HostileInput : public ::testing::Test {
protected:
    GameFolder game;
    ScriptedPrompts prompts;

    void SetUp() override;
    void TearDown() override;

    // The sheets written into Sprites/ in layout.
    void WriteSheets(BmpLayout layout = BmpLayout::Bits24) const;
    void WriteFile(const QString& path, const QByteArray& bytes) const;
    QByteArray ReadFile(const QString& path) const;
    QString SheetPath(const QString& name) const;

    // LoadSettings, LoadSpriteLibrary, a clean map drawn: the error text, or empty.
    QString StartEditor() const;
};
