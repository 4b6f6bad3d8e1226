#pragma once
// The help window: a reminder of the keys and a picture list of every terrain and overlay
// with its tile, name and key. Created with the main window, hidden between showings,
// shown modally; each showing draws the list again from the sprites loaded at that moment.

#include <QDialog>
#include <QImage>
#include <memory>

namespace Ui {
class TfrmHelp;
}

// Draws the picture list onto image (281 by 905 device-independent pixels): headings,
// sixteen terrain rows and four overlay rows, each a tile on the base tile, a name and a key
// label. An image with a device pixel ratio gets each tile pixel as a block of its pixels and
// the text in its own pixels. Everything drawn is opaque, so drawing again over the same
// image gives the same picture.
void DrawTerrainList(QImage& image);

class TfrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget* parent = nullptr);
    ~TfrmHelp() override;

    void FormShow();
    void cmdOKClick();

    // The raster of imgHelp, for the window's device pixel ratio: white when first drawn on,
    // kept between showings at the same ratio.
    const QImage& HelpImage() const { return helpImage_; }

protected:
    void showEvent(QShowEvent* event) override;
    // "&OK", Enter and Escape close the window; the window manager's close does nothing.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmHelp> ui;
    QImage helpImage_;
};

extern TfrmHelp* frmHelp;
