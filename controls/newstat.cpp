#include "controls/newstat.h"

#include <qdrawutil.h>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int DefaultBarHeight = 19;
constexpr int PanelGap = 2;    // space between two sunken panels
constexpr int TextIndent = 3;  // text starts this far inside a panel's frame

}  // namespace

TAStatusBar::TAStatusBar(QWidget* parent) : QWidget(parent)
{
    // A plain container: child widgets may be placed on it; the bar itself keeps a fixed height.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setMinimumHeight(DefaultBarHeight);
    resize(width(), DefaultBarHeight);
}

void TAStatusBar::AddPanel(const QString& text, int width)
{
    panels_.push_back(Panel{text, width});
    update();
}

int TAStatusBar::PanelCount() const { return static_cast<int>(panels_.size()); }

QString TAStatusBar::PanelText(int index) const
{
    if (index < 0 || index >= PanelCount())
        return {};
    return panels_[static_cast<std::size_t>(index)].text;
}

int TAStatusBar::PanelWidth(int index) const
{
    if (index < 0 || index >= PanelCount())
        return 0;
    return panels_[static_cast<std::size_t>(index)].width;
}

void TAStatusBar::SetPanelText(int index, const QString& text)
{
    if (index < 0 || index >= PanelCount())
        return;
    Panel& panel = panels_[static_cast<std::size_t>(index)];
    if (panel.text == text)
        return;
    panel.text = text;
    repaint(PanelRect(index));
}

QRect TAStatusBar::PanelRect(int index) const
{
    if (index < 0 || index >= PanelCount())
        return {};
    int left = 0;
    for (int i = 0; i < index; ++i)
        left += panels_[static_cast<std::size_t>(i)].width;
    const bool last = index == PanelCount() - 1;
    const int right = last ? width() : left + panels_[static_cast<std::size_t>(index)].width;
    return QRect(QPoint(left, 0), QPoint(std::max(left, right - 1), height() - 1));
}

void TAStatusBar::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < PanelCount(); ++i) {
        const QRect slot = PanelRect(i);
        if (!slot.intersects(event->rect()))
            continue;
        // The gap between panels belongs to the panel on the left, as in a plain status bar.
        const QRect frame = slot.adjusted(0, PanelGap, i == PanelCount() - 1 ? 0 : -PanelGap, 0);
        qDrawShadePanel(&painter, frame, palette(), true, 1);
        const QRect textArea = frame.adjusted(TextIndent, 1, -TextIndent, -1);
        painter.save();
        painter.setClipRect(textArea);
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         panels_[static_cast<std::size_t>(i)].text);
        painter.restore();
    }
}
