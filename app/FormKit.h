#pragma once
// Small pieces the dialogs share: the layouts give fonts as character heights in pixels
// and place their windows in the middle of the screen.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QWidget;

QFont PixelFont(const QString& family, int pixels, bool bold = false);
void CentreOnScreen(QWidget& window);
// Gives one colour role of the widget's palette a colour, in every state.
void SetColour(QWidget& widget, QPalette::ColorRole role, const QColor& colour);
