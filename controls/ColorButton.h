#pragma once
// A push button that paints itself completely, so that its face can have any colour: a
// bevel in shades of that colour, an optional picture, a caption at one of nine places with
// its accelerator underlined, an engraved caption when disabled, and a focus rectangle.

#include "controls/NotifyEvent.h"

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <initializer_list>

class QShortcut;

enum TAlignment {
    alTopLeft,
    alTopCenter,
    alTopRight,
    alMiddleLeft,
    alMiddleCenter,
    alMiddleRight,
    alBottomLeft,
    alBottomCenter,
    alBottomRight
};
enum TButtonBevel { bbLowered, bbNone, bbRaised };
enum TButtonStyle { bsAutoSize, bsCenter, bsStretch, bsShowFocus, bsShowKey };

// A set of TButtonStyle.
class TButtonStyles {
public:
    constexpr TButtonStyles() = default;
    constexpr TButtonStyles(std::initializer_list<TButtonStyle> styles)
    {
        for (const TButtonStyle style : styles)
            bits_ = static_cast<std::uint8_t>(bits_ | Bit(style));
    }
    constexpr bool Contains(TButtonStyle style) const { return (bits_ & Bit(style)) != 0; }
    constexpr bool operator==(const TButtonStyles&) const = default;

private:
    static constexpr unsigned Bit(TButtonStyle style) { return 1u << static_cast<unsigned>(style); }
    std::uint8_t bits_ = 0;
};

// Each byte of the colour 64 brighter or darker, held within 0..255.
QColor LightShade(const QColor& colour);
QColor DarkShade(const QColor& colour);

class TColorButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Alignment READ AlignmentCode WRITE SetAlignmentCode)
    Q_PROPERTY(int BevelStyle READ BevelStyleCode WRITE SetBevelStyleCode)
    Q_PROPERTY(int BevelSize READ BevelSize WRITE SetBevelSize)
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
public:
    explicit TColorButton(QWidget* parent = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TButtonBevel BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TButtonBevel value);
    int BevelSize() const { return bevelSize_; }
    // Never below 1.
    void SetBevelSize(int value);
    QColor Color() const { return color_; }
    void SetColor(const QColor& value);
    const QPixmap& Picture() const { return picture_; }
    void SetPicture(const QPixmap& value);
    int Spacing() const { return spacing_; }
    // Never below 0.
    void SetSpacing(int value);
    TButtonStyles Style() const { return style_; }
    void SetStyle(TButtonStyles value);
    // The first "&" marks the accelerator character that follows it.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);

    // Raised by a left click, Space or Return released, or the accelerator.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

signals:
    // Emitted after OnClick, for connections made in layouts.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    enum class PressState { Up, Down, Disabled };

    int AlignmentCode() const { return alignment_; }
    void SetAlignmentCode(int value) { SetAlignment(static_cast<TAlignment>(value)); }
    int BevelStyleCode() const { return bevelStyle_; }
    void SetBevelStyleCode(int value) { SetBevelStyle(static_cast<TButtonBevel>(value)); }

    void SetPressState(PressState state);
    void FollowEnabled();
    void ApplyAutoSize();
    void RaiseClick();
    void AcceleratorPressed();
    bool IsAccelerator(const QString& typed) const;
    QChar AcceleratorChar() const;
    void DrawBevel(QPainter& painter) const;
    void DrawFocusRect(QPainter& painter, int left, int top, int right, int bottom) const;
    QRect PictureRect() const;
    void DrawCaption(QPainter& painter, int offset, const QColor& colour) const;

    TAlignment alignment_ = alMiddleCenter;
    TButtonBevel bevelStyle_ = bbRaised;
    int bevelSize_ = 2;
    QColor color_;
    QPixmap picture_;
    int spacing_ = 2;
    TButtonStyles style_{bsCenter, bsShowFocus, bsShowKey};
    QString caption_;
    bool focused_ = false;
    PressState pressState_ = PressState::Up;
    bool leftPressed_ = false;  // a left press on the button that its release may turn into a click
    QShortcut* shortcut_;
};
