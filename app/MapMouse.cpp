#include "app/MapMouse.h"

#include "app/MapImage.h"
#include "core/KeyTable.h"
#include "editor/EditScope.h"
#include "editor/MouseEditing.h"
#include "editor/ScopedEditing.h"
#include "editor/SelectionCommands.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScrollArea>
#include <utility>

namespace {

// The key table's map keys, each with its key shown as a shortcut text after a tab, without
// becoming a shortcut.
QMenu* KeyMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    for (const KeyRow& row : KeyTable)
        if (ChangesCell(row))
            menu->addAction(KeyMenuName(row.Key) + QLatin1Char('\t') + KeyLabel(row.Key))
                ->setData(static_cast<int>(row.Key));
    return menu;
}

}  // namespace

TMapMouse::TMapMouse(QScrollArea& view, TMapImage& image, EditorView& editor,
                     std::function<bool()> mayEdit, QObject* parent)
    : QObject(parent),
      view_(view),
      image_(image),
      viewport_(*view.viewport()),
      editor_(editor),
      mayEdit_(std::move(mayEdit)),
      menu_(KeyMenu(view.widget())),
      band_(new QRubberBand(QRubberBand::Rectangle, &viewport_))
{
    // Reached with Tab still, but a click leaves the keyboard focus where it was, so that
    // typing goes on at once.
    view_.setFocusPolicy(Qt::TabFocus);
    // The map image leaves its mouse events to the viewport, in the viewport's coordinates.
    viewport_.installEventFilter(this);
}

// The viewport's events pass here also while the window is taken down, so the view is only
// asked about them once they are known to be mouse events.
bool TMapMouse::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &viewport_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() != Qt::LeftButton)
            return false;
        Press(mouse);
        return true;
    }
    case QEvent::MouseMove: Move(static_cast<const QMouseEvent&>(*event)); return true;
    case QEvent::MouseButtonRelease:
        if (static_cast<const QMouseEvent&>(*event).button() == Qt::LeftButton)
            Release();
        return true;
    case QEvent::ContextMenu: {
        const auto& menu = static_cast<const QContextMenuEvent&>(*event);
        ShowMenu(menu.pos(), menu.globalPos());
        return true;
    }
    default: return false;
    }
}

void TMapMouse::Press(const QMouseEvent& event)
{
    Release();
    if (!mayEdit_())
        return;
    held_ = true;
    last_ = ImagePixel(event.position());
    if (event.modifiers() & Qt::ShiftModifier) {
        const bool adding = event.modifiers() & Qt::ControlModifier;
        selectingOnto_ = adding ? TheEditScope().Selection() : HexSet();
        anchor_ = last_;
        Select(last_);
        return;
    }
    ClearSelection();
    if (const std::optional<HexAddress> hex = ShownHex(last_))
        Enter(*hex);
}

// Hexes between two events are entered too, so that a quick drag leaves no gaps; those the
// view does not show are not, though the button holds the mouse beyond the view.
void TMapMouse::Move(const QMouseEvent& event)
{
    if (!held_)
        return;
    if (!(event.buttons() & Qt::LeftButton)) {
        Release();
        return;
    }
    const PixelPoint now = ImagePixel(event.position());
    if (selectingOnto_) {
        Select(now);
        return;
    }
    for (const HexAddress& hex : HexesAlong(last_, now, ShownArea()))
        Enter(hex);
    last_ = now;
}

void TMapMouse::Release()
{
    if (stroking_)
        EndStroke();
    held_ = false;
    stroking_ = false;
    selectingOnto_.reset();
    band_->hide();
}

void TMapMouse::Select(PixelPoint now)
{
    SelectRectangle(anchor_, now, *selectingOnto_);
    // The band is drawn in the viewport, over the picture at its zoom.
    const auto shown = [this](PixelPoint pixel) {
        return QPointF(pixel.px, pixel.py) * image_.Scale() + image_.pos();
    };
    band_->setGeometry(QRectF(shown(anchor_), shown(now)).normalized().toRect());
    band_->show();
}

void TMapMouse::Enter(HexAddress hex)
{
    if (stroking_) {
        StrokeEnters(hex.x, hex.y, editor_);
        return;
    }
    stroking_ = true;
    BeginStroke(hex.x, hex.y, editor_);
}

void TMapMouse::ShowMenu(QPoint at, QPoint global)
{
    const std::optional<HexAddress> hex = ShownHex(ImagePixel(at));
    if (!hex || !mayEdit_())
        return;
    if (const QAction* chosen = menu_->exec(global))
        ScopedApplyKeyToHex(static_cast<char>(chosen->data().toInt()), hex->x, hex->y, editor_);
}

PixelPoint TMapMouse::ImagePixel(QPointF at) const { return image_.MapPixelAt(at - image_.pos()); }

std::optional<HexAddress> TMapMouse::ShownHex(PixelPoint pixel) const
{
    return ShownArea().Contains(pixel) ? HexAtPixel(pixel.px, pixel.py) : std::nullopt;
}

PixelArea TMapMouse::ShownArea() const
{
    // The map pixels of the viewport's first and last device pixels.
    constexpr double Inside = 1e-6;
    const PixelPoint first = ImagePixel(QPointF());
    const PixelPoint last =
        ImagePixel(QPointF(viewport_.width() - Inside, viewport_.height() - Inside));
    return {first.px, first.py, last.px - first.px + 1, last.py - first.py + 1};
}
