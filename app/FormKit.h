#pragma once
// Small pieces the dialogs share: the layouts give fonts as character heights in pixels
// and place their windows in the middle of the screen.

#include <QFont>
#include <QString>

class QWidget;

QFont PixelFont(const QString& family, int pixels, bool bold = false);
void CentreOnScreen(QWidget& window);
