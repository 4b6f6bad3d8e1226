#pragma once
// One character shown the way an electronic display would: seven or sixteen segments, or a
// 5 by 7 matrix of square dots or round bulbs. Unlit segments stay visible in their own colours.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <array>
#include <cstdint>

enum TDigitStyle { ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb };

// One byte per row, top row first; bit 4 is the leftmost column.
using DotRows = std::array<std::uint8_t, 7>;

// The character tables. Codes from 128 up have no glyph: nothing is lit.
std::uint16_t SevenSegmentPattern(unsigned char code);
std::uint16_t SixteenSegmentPattern(unsigned char code);
DotRows DotMatrixRows(unsigned char code);

class TDisplay : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Digit READ DigitCode WRITE SetDigitCode)
    Q_PROPERTY(QColor OnColor READ OnColor WRITE SetOnColor)
    Q_PROPERTY(QColor OffColor READ OffColor WRITE SetOffColor)
    Q_PROPERTY(QColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(int SegWidth READ SegWidth WRITE SetSegWidth)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int DigitStyle READ DigitStyleCode WRITE SetDigitStyleCode)
    Q_PROPERTY(QColor PenOnColor READ PenOnColor WRITE SetPenOnColor)
    Q_PROPERTY(QColor PenOffColor READ PenOffColor WRITE SetPenOffColor)
public:
    explicit TDisplay(QWidget* parent = nullptr);

    // Each setter does nothing for the present value; otherwise the control repaints at once.
    char Digit() const { return digit_; }
    void SetDigit(char value);
    QColor OnColor() const { return onColor_; }
    void SetOnColor(const QColor& value);
    QColor OffColor() const { return offColor_; }
    void SetOffColor(const QColor& value);
    QColor BackColor() const { return backColor_; }
    void SetBackColor(const QColor& value);
    int SegWidth() const { return segWidth_; }
    void SetSegWidth(int value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    TDigitStyle DigitStyle() const { return digitStyle_; }
    void SetDigitStyle(TDigitStyle value);
    QColor PenOnColor() const { return penOnColor_; }
    void SetPenOnColor(const QColor& value);
    QColor PenOffColor() const { return penOffColor_; }
    void SetPenOffColor(const QColor& value);

    // The picture that a paint copies to (1, 1): width - 2 by height - 2, the one-pixel frame
    // left out. Null when the control is too small to have one.
    QImage RenderBitmap();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int DigitCode() const { return static_cast<unsigned char>(digit_); }
    void SetDigitCode(int value) { SetDigit(static_cast<char>(value)); }
    int DigitStyleCode() const { return digitStyle_; }
    void SetDigitStyleCode(int value) { SetDigitStyle(static_cast<TDigitStyle>(value)); }

    void SetColor(QColor& field, const QColor& value);
    void SetLayoutValue(int& field, int value);
    void ComputeLayout();
    void DrawSevenSegments(QPainter& painter) const;
    void DrawSixteenSegments(QPainter& painter) const;
    void DrawDots(QPainter& painter) const;
    void UseColours(QPainter& painter, bool lit) const;
    void DrawHexagon(QPainter& painter, QPoint anchor, int boxWidth, int boxHeight) const;

    char digit_ = 0;
    QColor onColor_{255, 0, 0};
    QColor offColor_{128, 128, 128};
    QColor backColor_{0, 0, 0};
    int segWidth_ = 15;
    int margin_ = 10;
    TDigitStyle digitStyle_ = ds7Seg;
    QColor penOnColor_{0, 0, 0};
    QColor penOffColor_{0, 0, 0};

    // Layout, valid for the remembered size and the present SegWidth, Margin and DigitStyle.
    // The sixteen-segment style keeps its diagonal end points after its sixteen anchors.
    std::array<QPoint, 35> anchors_{};
    int horizontalLength_ = 0;
    int verticalLength_ = 0;
    int halfWidth_ = 0;
    int layoutWidth_ = 0;
    int layoutHeight_ = 0;
};
