#pragma once
// Presses Start on the title screen once it is shown, for tests that show the main window.

#include "app/Title.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

class StartPresser : public QObject {
public:
    StartPresser() { QCoreApplication::instance()->installEventFilter(this); }
    bool Pressed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched == frmTitle && !Pressed) {
            Pressed = true;
            QMetaObject::invokeMethod(frmTitle, &TfrmTitle::ColorButton1Click,
                                      Qt::QueuedConnection);
        }
        return false;
    }
};
