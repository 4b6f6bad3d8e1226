#pragma once
// The small borderless window with a progress bar that stands on screen while the sprite
// sheets are cut and turned.

#include "graphics/SpriteLibrary.h"

#include <QWidget>
#include <memory>

namespace Ui {
class TfrmLoading;
}

class TfrmLoading : public QWidget, public SpriteProgress {
    Q_OBJECT

public:
    explicit TfrmLoading(QWidget* parent = nullptr);
    ~TfrmLoading() override;

    // Sets the bar's maximum and paints the window at once, before loading begins.
    void SetMaximum(int maximum) override;
    void Step(int steps) override;

    // The bar as laid out, for the window's users and its tests.
    int Position() const;
    int Maximum() const;

private:
    std::unique_ptr<Ui::TfrmLoading> ui;
};

// Creates the loading window centred on the screen and shows it; the main window hands
// this to SetSpriteProgressFactory.
std::unique_ptr<SpriteProgress> ShowLoadingWindow();
