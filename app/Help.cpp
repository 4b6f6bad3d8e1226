#include "app/Help.h"

#include "app/FormKit.h"
#include "core/Catalogue.h"
#include "graphics/SpriteLibrary.h"
#include "ui_Help.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QtMath>
#include <vector>

TfrmHelp* frmHelp = nullptr;

namespace {

constexpr int ImageWidth = 281;
constexpr int ImageHeight = 905;
constexpr int TileX = 10;
constexpr int NameX = 100;
constexpr int KeyX = 220;
constexpr int TextDrop = 10;
constexpr int RowPitch = 40;
constexpr int TerrainTop = 50;
constexpr int OverlayTop = 700;  // where an overlay number 0 would stand
constexpr int HeadingY = 10;
constexpr int TileHeadingX = 30;
constexpr unsigned TerrainCount = 16;
constexpr unsigned FirstListedEffect = eiFire;  // the cursor is no terrain
constexpr unsigned LastListedEffect = eiMines;
constexpr int ListFontPixels = 16;  // Times New Roman 12 point on a 96-dpi screen
constexpr int FormFontPixels = 11;

struct ListRow {
    const SpriteSet& Set;
    int Index;
    int Y;
    QString Name;
    QString Key;
};

// Sixteen terrain rows, then after a gap the four overlays.
std::vector<ListRow> ListRows()
{
    std::vector<ListRow> rows;
    for (unsigned i = 0; i < TerrainCount; ++i)
        rows.push_back({GroundSet, static_cast<int>(i), RowPitch * static_cast<int>(i) + TerrainTop,
                        TerrainName(i), TerrainKeyLabel(i)});
    for (unsigned i = FirstListedEffect; i <= LastListedEffect; ++i)
        rows.push_back({EffectSet, static_cast<int>(i), RowPitch * static_cast<int>(i) + OverlayTop,
                        EffectName(i), EffectKeyLabel(i)});
    return rows;
}

// Text with its top-left corner at (x, y), on an opaque white background as the canvas
// writes it, so that writing it again leaves the same pixels.
void WriteText(QPainter& painter, int x, int y, const QString& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box(x, y, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, Qt::white);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

// The row's sprite over the base tile, in the sprites' own pixels.
QImage Tile(const ListRow& row)
{
    QImage tile = BaseTile.convertToFormat(QImage::Format_RGB32);
    DrawSpriteAt(tile, row.Set, row.Index, QPoint(0, 0));
    return tile;
}

}  // namespace

void DrawTerrainList(QImage& image)
{
    const std::vector<ListRow> rows = ListRows();
    {
        // Scaled to the image's device pixels as the map is, each pixel a block of them.
        QPainter tiles(&image);
        tiles.setCompositionMode(QPainter::CompositionMode_Source);  // an unmasked copy
        for (const ListRow& row : rows)
            tiles.drawImage(TileX, row.Y, Tile(row));
    }

    QPainter text(&image);
    text.setPen(QPalette().color(QPalette::WindowText));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(ListFontPixels);
    font.setBold(true);
    text.setFont(font);
    WriteText(text, TileHeadingX, HeadingY, QStringLiteral("Tile"));
    WriteText(text, NameX, HeadingY, QStringLiteral("Name"));
    WriteText(text, KeyX, HeadingY, QStringLiteral("Key"));
    font.setBold(false);
    text.setFont(font);
    for (const ListRow& row : rows) {
        WriteText(text, NameX, row.Y + TextDrop, row.Name);
        WriteText(text, KeyX, row.Y + TextDrop, row.Key);
    }
}

TfrmHelp::TfrmHelp(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::TfrmHelp>())
{
    ui->setupUi(this);
    setFixedSize(size());
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), FormFontPixels));
    const QFont heading = PixelFont(QStringLiteral("Times New Roman"), ListFontPixels, true);
    ui->Label3->setFont(heading);
    for (QLabel* label : {ui->Label1, ui->Label4, ui->Label2})
        label->setFont(PixelFont(QStringLiteral("Times New Roman"), ListFontPixels));
    FitLabelFonts(*this);
    SetColour(*ui->ScrollBox1, QPalette::Window, ui->ScrollBox1->palette().color(QPalette::Button));
    connect(ui->cmdOK, &QPushButton::clicked, this, &TfrmHelp::cmdOKClick);
    CentreOnScreen(*this);
}

TfrmHelp::~TfrmHelp() = default;

void TfrmHelp::FormShow()
{
    // For the device pixels of the screen the window is on, so that it is as sharp as the map.
    const qreal ratio = devicePixelRatioF();
    if (helpImage_.isNull() || helpImage_.devicePixelRatio() != ratio) {
        helpImage_ =
            QImage(qCeil(ImageWidth * ratio), qCeil(ImageHeight * ratio), QImage::Format_RGB32);
        helpImage_.setDevicePixelRatio(ratio);
        helpImage_.fill(Qt::white);
    }
    DrawTerrainList(helpImage_);
    ui->imgHelp->setPixmap(QPixmap::fromImage(helpImage_));
}

void TfrmHelp::cmdOKClick() { accept(); }

void TfrmHelp::reject() {}

void TfrmHelp::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        cmdOKClick();
    else
        QDialog::keyPressEvent(event);
}

void TfrmHelp::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}
