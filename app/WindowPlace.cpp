#include "app/WindowPlace.h"

#include "app/Preferences.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

const QString GeometryKey = QStringLiteral("Window/Geometry");
const QString MaximisedKey = QStringLiteral("Window/Maximised");

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
}

bool RestoreWindowPlace(QWidget& window)
{
    const EditorPreferences preferences;
    const QRect geometry = preferences.value(GeometryKey).toRect();
    if (!FitsOnAScreen(geometry, AvailableAreas()))
        return false;
    window.setGeometry(geometry);
    if (preferences.value(MaximisedKey).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}
