#pragma once
// Who takes the keys after a menu: Escape that closes a menu leaves the menu bar taking them
// (Qt's keyboard mode) until a second Escape, as on the desktop. A click anywhere in the
// window outside the menus ends that mode, also where the control clicked takes no focus,
// such as the map view, so that the next key reaches the editor.

#include <QObject>
#include <QPointer>

class QMenuBar;
class QWidget;

class TMenuBarKeys : public QObject {
public:
    // Watches the application's clicks and focus for bar, which outlives this object.
    TMenuBarKeys(QMenuBar& bar, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Gives the focus back to the control that had it when the bar took it.
    void ReleaseKeys();

    QMenuBar& bar_;
    // The control that had the focus when the bar took it; null when none or gone.
    QPointer<QWidget> before_;
};
