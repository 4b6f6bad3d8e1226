#include "app/Hints.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace {

QString currentHint;
std::function<void()> hintHandler;

// The hint the toolkit would offer now: a highlighted menu entry first, else the pointer.
QString HintSource()
{
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        return menu->activeAction() ? ActionHint(menu->activeAction()) : WidgetHint(menu);
    if (auto* bar = qobject_cast<QMenuBar*>(QApplication::focusWidget());
        bar && bar->activeAction())
        return ActionHint(bar->activeAction());
    return WidgetHint(QApplication::widgetAt(QCursor::pos()));
}

void RefreshHint()
{
    const QString hint = GetLongHint(HintSource());
    if (hint == currentHint)
        return;
    currentHint = hint;
    if (hintHandler)
        hintHandler();
}

// Watches the input that can move the pointer onto another control or the highlight onto
// another menu entry, and takes the hint once the events queued now are handled.
class HintTracker : public QObject {
public:
    explicit HintTracker(QObject* parent) : QObject(parent)
    {
        idle_.setSingleShot(true);
        idle_.setInterval(0);
        connect(&idle_, &QTimer::timeout, this, &RefreshHint);
        QCoreApplication::instance()->installEventFilter(this);
    }

    void Schedule()
    {
        if (!idle_.isActive())
            idle_.start();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The highlight also moves without input, when a menu entry is made active.
        if (event->type() == QEvent::Show)
            if (auto* menu = qobject_cast<QMenu*>(watched))
                connect(menu, &QMenu::hovered, this, &HintTracker::Schedule, Qt::UniqueConnection);
        if (ChangesHint(watched, event->type()))
            Schedule();
        return false;
    }

private:
    static bool ChangesHint(QObject* watched, QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseMove:
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::KeyPress:
        case QEvent::MouseButtonRelease:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate: return true;
        case QEvent::Show:
        case QEvent::Hide: return qobject_cast<QMenu*>(watched) != nullptr;
        default: return false;
        }
    }

    QTimer idle_;
};

QPointer<HintTracker> tracker;

}  // namespace

QString GetLongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString WidgetHint(const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (!widget->statusTip().isEmpty())
            return widget->statusTip();
    }
    return {};
}

QString ActionHint(const QAction* action)
{
    if (!action)
        return {};
    if (action->statusTip().isEmpty() && action->menu())
        return action->menu()->statusTip();
    return action->statusTip();
}

QString ApplicationHint() { return currentHint; }

void SetHintHandler(std::function<void()> handler)
{
    hintHandler = std::move(handler);
    if (!tracker && QCoreApplication::instance())
        tracker = new HintTracker(QCoreApplication::instance());
}
