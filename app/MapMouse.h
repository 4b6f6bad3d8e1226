#pragma once
// The map view's mouse: the left button clicks and paints hexes, or with Shift drags out a
// rectangle that selects hexes (with Shift and Ctrl, adds them); the right button opens a
// menu of the keys that change a hex. Its events become calls of the editor.

#include "core/HexSet.h"
#include "graphics/HexGeometry.h"

#include <QObject>
#include <functional>
#include <optional>

class EditorView;
class QMenu;
class QMouseEvent;
class QPoint;
class QPointF;
class QRubberBand;
class QScrollArea;
class QWidget;
class TMapImage;

class TMapMouse : public QObject {
    Q_OBJECT
public:
    // mayEdit is asked before a press or the menu does anything; image is the view's widget,
    // which finds the map pixel under a point at its zoom.
    TMapMouse(QScrollArea& view, TMapImage& image, EditorView& editor,
              std::function<bool()> mayEdit, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Press(const QMouseEvent& event);
    void Move(const QMouseEvent& event);
    void Release();
    void Enter(HexAddress hex);
    // The rectangle of a selecting drag from anchor_ to now.
    void Select(PixelPoint now);
    void ShowMenu(QPoint at, QPoint global);
    // The pixel of the map image at a point of the viewport.
    PixelPoint ImagePixel(QPointF at) const;
    PixelArea ShownArea() const;
    std::optional<HexAddress> ShownHex(PixelPoint pixel) const;

    QScrollArea& view_;
    TMapImage& image_;
    QWidget& viewport_;
    EditorView& editor_;
    std::function<bool()> mayEdit_;
    QMenu* menu_;
    bool held_ = false;
    // Whether the held button has reached a hex, which then began the stroke.
    bool stroking_ = false;
    PixelPoint last_{};
    // While a drag with Shift selects: the selection it adds to, and where it began.
    std::optional<HexSet> selectingOnto_;
    PixelPoint anchor_{};
    QRubberBand* band_;
};
