// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "app/MenuBarKeys.h"

#include <QApplication>
#include <QEvent>
#include <QMenuBar>
#include <QWidget>

TMenuBarKeys::TMenuBarKeys(QMenuBar& bar, QObject* parent) : QObject(parent), bar_(bar)
{
    // The bar holds the focus only in its keyboard mode.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now == &bar_)
            before_ = old && old->window() == bar_.window() ? old : nullptr;
    });
    QCoreApplication::instance()->installEventFilter(this);
}

bool TMenuBarKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress || !watched->isWidgetType() ||
        QApplication::focusWidget() != &bar_)
        return false;
    // Menus are windows of their own; the bar's own clicks are its business.
    const auto* clicked = static_cast<const QWidget*>(watched);
    if (clicked->window() == bar_.window() && clicked != &bar_ && !bar_.isAncestorOf(clicked))
        ReleaseKeys();
    return false;
}

// Leaving the bar ends its keyboard mode.
void TMenuBarKeys::ReleaseKeys()
{
    if (before_)
        before_->setFocus(Qt::MouseFocusReason);
    else
        bar_.clearFocus();
}
