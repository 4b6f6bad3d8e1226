#include "app/WindowPlace.h"

#include "app/Preferences.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

const QString GeometryKey = QStringLiteral("Window/Geometry");
const QString MaximisedKey = QStringLiteral("Window/Maximised");
// The device pixel ratio the place was kept at: its coordinates are that scale's.
const QString ScaleKey = QStringLiteral("Window/Scale");

QList<QRect> AvailableAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

}  // namespace

bool FitsOnAScreen(const QRect& geometry, const QList<QRect>& areas)
{
    return geometry.isValid() && std::any_of(areas.cbegin(), areas.cend(), [&](const QRect& area) {
               return area.contains(geometry);
           });
}

void SaveWindowPlace(const QWidget& window)
{
    EditorPreferences preferences;
    preferences.setValue(GeometryKey, window.normalGeometry());
    preferences.setValue(MaximisedKey, window.isMaximized());
    preferences.setValue(ScaleKey, window.devicePixelRatioF());
}

bool RestoreWindowPlace(QWidget& window)
{
    const EditorPreferences preferences;
    const QRect geometry = preferences.value(GeometryKey).toRect();
    // Places kept before the scale was kept were kept at 1.
    if (preferences.value(ScaleKey, 1.0).toDouble() != window.devicePixelRatioF() ||
        !FitsOnAScreen(geometry, AvailableAreas()))
        return false;
    window.setGeometry(geometry);
    if (preferences.value(MaximisedKey).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}
