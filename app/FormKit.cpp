#include "app/FormKit.h"

#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace {

// Narrower than this the letters look squeezed; a smaller size reads better.
constexpr int NarrowestStretch = 88;

// The part of the label that its window shows: a layout may let a label reach past the edge.
QRect Shown(const QLabel& label)
{
    const QWidget* parent = label.parentWidget();
    return parent ? label.geometry() & parent->rect() : label.geometry();
}

bool Fits(const QLabel& label, const QFont& font)
{
    const int frame = label.width() - label.contentsRect().width();
    const int room = Shown(label).width() - frame - 2 * label.margin();
    return QFontMetrics(font).size(0, label.text()).width() <= room;
}

}  // namespace

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void CentreOnScreen(QWidget& window)
{
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void SetColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

void FitLabelFont(QLabel& label)
{
    QFont font = label.font();
    if (label.text().isEmpty() || label.wordWrap() || Fits(label, font))
        return;
    // Cut to what shows, so that a centred text is centred where it can be seen.
    label.setGeometry(Shown(label));
    for (int stretch = QFont::Unstretched - 1; stretch >= NarrowestStretch && !Fits(label, font);
         --stretch)
        font.setStretch(stretch);
    while (!Fits(label, font) && font.pixelSize() > 1)
        font.setPixelSize(font.pixelSize() - 1);
    label.setFont(font);
}

void FitLabelFonts(QWidget& form)
{
    for (QLabel* label : form.findChildren<QLabel*>())
        FitLabelFont(*label);
}
