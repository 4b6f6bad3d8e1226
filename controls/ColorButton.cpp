#include "controls/ColorButton.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include <algorithm>
#include <utility>

namespace {

constexpr int ShadeStep = 64;

int Clamp(int value) { return std::clamp(value, 0, 255); }

QColor Shade(const QColor& colour, int step)
{
    const QColor rgb = colour.toRgb();
    return QColor(Clamp(rgb.red() + step), Clamp(rgb.green() + step), Clamp(rgb.blue() + step));
}

// Where the caption stands: the text's top-left corner for a face W by H with the inner
// distance s from the edges.
QPoint CaptionCorner(TAlignment alignment, QSize face, QSize text, int s)
{
    const int w = face.width();
    const int h = face.height();
    const int tw = text.width();
    const int th = text.height();
    int x = s;
    int y = s;
    switch (alignment) {
    case alTopLeft:
    case alMiddleLeft:
    case alBottomLeft: x = s; break;
    case alTopCenter:
    case alMiddleCenter:
    case alBottomCenter: x = (w - 2 * s - tw) / 2 + s; break;
    case alTopRight:
    case alMiddleRight:
    case alBottomRight: x = w - s - tw; break;
    }
    switch (alignment) {
    case alTopLeft:
    case alTopCenter:
    case alTopRight: y = s; break;
    case alMiddleLeft:
    case alMiddleCenter:
    case alMiddleRight: y = (h - 2 * s - th) / 2 + s; break;
    case alBottomLeft:
    case alBottomCenter:
    case alBottomRight: y = h - s - th; break;
    }
    return {x, y};
}

}  // namespace

QColor LightShade(const QColor& colour) { return Shade(colour, ShadeStep); }

QColor DarkShade(const QColor& colour) { return Shade(colour, -ShadeStep); }

TColorButton::TColorButton(QWidget* parent)
    : QWidget(parent), color_(palette().color(QPalette::Button)), shortcut_(new QShortcut(this))
{
    resize(75, 25);
    setFocusPolicy(Qt::TabFocus);
    setForegroundRole(QPalette::ButtonText);
    shortcut_->setContext(Qt::WindowShortcut);
    connect(shortcut_, &QShortcut::activated, this, &TColorButton::AcceleratorPressed);
}

void TColorButton::SetAlignment(TAlignment value)
{
    alignment_ = value;
    update();
}

void TColorButton::SetBevelStyle(TButtonBevel value)
{
    bevelStyle_ = value;
    update();
}

void TColorButton::SetBevelSize(int value)
{
    bevelSize_ = std::max(value, 1);
    ApplyAutoSize();
    update();
}

void TColorButton::SetColor(const QColor& value)
{
    color_ = value;
    update();
}

void TColorButton::SetPicture(const QPixmap& value)
{
    if (&value != &picture_)
        picture_ = value;
    ApplyAutoSize();
    update();
}

void TColorButton::SetSpacing(int value)
{
    value = std::max(value, 0);
    if (value == spacing_)
        return;
    spacing_ = value;
    update();
}

void TColorButton::SetStyle(TButtonStyles value)
{
    if (value == style_)
        return;
    style_ = value;
    ApplyAutoSize();
    update();
}

void TColorButton::SetCaption(const QString& value)
{
    if (value == caption_)
        return;
    caption_ = value;
    const QChar key = AcceleratorChar();
    shortcut_->setKey(key.isNull() ? QKeySequence() : QKeySequence(QStringLiteral("Alt+") + key));
    update();
}

QChar TColorButton::AcceleratorChar() const
{
    const qsizetype amp = caption_.indexOf(u'&');
    if (amp < 0 || amp + 1 >= caption_.size())
        return {};
    return caption_.at(amp + 1);
}

bool TColorButton::IsAccelerator(const QString& typed) const
{
    const QChar key = AcceleratorChar();
    return !key.isNull() && typed.size() == 1 && typed.at(0).toUpper() == key.toUpper();
}

void TColorButton::SetPressState(PressState state)
{
    pressState_ = state;
    update();
}

void TColorButton::FollowEnabled()
{
    if (!isEnabled())
        pressState_ = PressState::Disabled;
    else if (pressState_ == PressState::Disabled)
        pressState_ = PressState::Up;
}

void TColorButton::ApplyAutoSize()
{
    if (!picture_.isNull() && style_.Contains(bsAutoSize))
        resize(picture_.width() + 2 * bevelSize_, picture_.height() + 2 * bevelSize_);
}

void TColorButton::RaiseClick()
{
    if (OnClick)
        OnClick(this);
    emit Click();
}

void TColorButton::AcceleratorPressed()
{
    if (isEnabled())
        RaiseClick();
}

void TColorButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        SetPressState(isEnabled() ? PressState::Up : PressState::Disabled);
        shortcut_->setEnabled(isEnabled());
    } else if (event->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void TColorButton::focusInEvent(QFocusEvent* event)
{
    focused_ = true;
    update();
    QWidget::focusInEvent(event);
}

void TColorButton::focusOutEvent(QFocusEvent* event)
{
    focused_ = false;
    update();
    QWidget::focusOutEvent(event);
}

void TColorButton::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    leftPressed_ = event->button() == Qt::LeftButton;
    SetPressState(PressState::Down);
}

void TColorButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    // The click comes before the release action, as the release of a plain button would.
    if (event->button() == Qt::LeftButton && std::exchange(leftPressed_, false) &&
        rect().contains(event->position().toPoint()))
        RaiseClick();
    SetPressState(PressState::Up);
}

void TColorButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    // The second press of a double click raises OnDblClick, and its release no click.
    leftPressed_ = false;
    SetPressState(PressState::Down);
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
}

void TColorButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && isEnabled()) {
        SetPressState(PressState::Down);
        return;
    }
    const Qt::KeyboardModifiers chordKeys =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (isEnabled() && !(event->modifiers() & chordKeys) && IsAccelerator(event->text())) {
        RaiseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TColorButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Space && isEnabled()) {
        SetPressState(PressState::Up);
        RaiseClick();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        pressState_ != PressState::Disabled) {
        RaiseClick();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TColorButton::paintEvent(QPaintEvent*)
{
    FollowEnabled();
    ApplyAutoSize();
    QPainter painter(this);
    painter.setFont(font());
    painter.fillRect(rect(), color_);
    int inset = 0;
    if (bevelStyle_ != bbNone) {
        DrawBevel(painter);
        inset = bevelSize_;
    }
    if (focused_ && style_.Contains(bsShowFocus) && isEnabled())
        DrawFocusRect(painter, inset + spacing_ - 1, inset + spacing_ - 1,
                      width() - inset - spacing_ + 1, height() - inset - spacing_ + 1);
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, style_.Contains(bsStretch));
        painter.drawPixmap(PictureRect(), picture_);
    }
    if (caption_.isEmpty())
        return;
    if (isEnabled()) {
        DrawCaption(painter, 0, palette().color(QPalette::Active, foregroundRole()));
    } else {
        // Engraved: a light copy one pixel right and down under the dark one.
        DrawCaption(painter, 1, LightShade(color_));
        DrawCaption(painter, 0, DarkShade(color_));
    }
}

void TColorButton::DrawBevel(QPainter& painter) const
{
    const bool looksPressed = (pressState_ == PressState::Down) != (bevelStyle_ == bbLowered);
    const QColor light = LightShade(color_);
    const QColor dark = DarkShade(color_);
    const QColor& topLeft = looksPressed ? dark : light;
    const QColor& bottomRight = looksPressed ? light : dark;
    const int right = width() - 1;
    const int bottom = height() - 1;
    for (int i = 0; i < bevelSize_; ++i) {
        painter.setPen(topLeft);
        painter.drawLine(i, i, right - i - 1, i);
        painter.drawLine(i, i, i, bottom - i - 1);
        painter.setPen(bottomRight);
        painter.drawLine(right - i, i, right - i, bottom - i);
        painter.drawLine(i, bottom - i, right - i, bottom - i);
    }
}

void TColorButton::DrawFocusRect(QPainter& painter, int left, int top, int right, int bottom) const
{
    // A dotted line in the face colour inverted, every other pixel, right and bottom exclusive.
    const QColor rgb = color_.toRgb();
    painter.setPen(QColor(255 - rgb.red(), 255 - rgb.green(), 255 - rgb.blue()));
    for (int x = left; x < right; ++x)
        for (const int y : {top, bottom - 1})
            if ((x + y) % 2 == 0)
                painter.drawPoint(x, y);
    for (int y = top + 1; y < bottom - 1; ++y)
        for (const int x : {left, right - 1})
            if ((x + y) % 2 == 0)
                painter.drawPoint(x, y);
}

QRect TColorButton::PictureRect() const
{
    const int s = bevelSize_ + spacing_;
    const int w = width();
    const int h = height();
    const int pw = picture_.width();
    const int ph = picture_.height();
    if (style_.Contains(bsStretch))
        return QRect(QPoint(s, s), QSize(w - 2 * s, h - 2 * s));
    const QPoint centre((w - pw) / 2, (h - ph) / 2);
    QPoint corner = centre;
    if (!style_.Contains(bsCenter)) {
        // Opposite the caption.
        switch (alignment_) {
        case alTopLeft:
        case alTopCenter:
        case alTopRight: corner = {centre.x(), h - s - ph}; break;
        case alMiddleLeft: corner = {w - s - pw, centre.y()}; break;
        case alMiddleCenter: break;
        case alMiddleRight: corner = {s, centre.y()}; break;
        case alBottomLeft:
        case alBottomCenter:
        case alBottomRight: corner = {centre.x(), s}; break;
        }
    }
    return QRect(corner, picture_.size());
}

void TColorButton::DrawCaption(QPainter& painter, int offset, const QColor& colour) const
{
    QString text = caption_;
    const qsizetype amp = text.indexOf(u'&');
    if (amp >= 0)
        text.remove(amp, 1);
    const QFontMetrics metrics(painter.font());
    const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
    const QPoint corner =
        CaptionCorner(alignment_, size(), textSize, bevelSize_ + spacing_) + QPoint(offset, offset);
    painter.setPen(colour);
    painter.drawText(corner.x(), corner.y() + metrics.ascent(), text);

    if (amp < 0 || amp >= text.size() || !style_.Contains(bsShowKey))
        return;
    const int from = corner.x() + metrics.horizontalAdvance(text.left(amp));
    const int to = corner.x() + metrics.horizontalAdvance(text.left(amp + 1));
    const int row = corner.y() + metrics.height();
    if (to > from)
        painter.drawLine(from, row, to - 1, row);
}
