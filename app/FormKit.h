#pragma once
// Small pieces the dialogs share: the layouts give fonts as character heights in pixels
// and place their windows in the middle of the screen.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QLabel;
class QWidget;

QFont PixelFont(const QString& family, int pixels, bool bold = false);
void CentreOnScreen(QWidget& window);
// Gives one colour role of the widget's palette a colour, in every state.
void SetColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour);
// Where a label's text is wider than the part of the label its window shows, in the
// stand-in font, cuts the label to that part, then narrows the font a little, then lowers its
// size, until the text fits. Labels that fit keep their font and their place.
void FitLabelFont(QLabel& label);
// FitLabelFont for every label of a form.
void FitLabelFonts(QWidget& form);
