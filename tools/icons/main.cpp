// gridcrafter-icons DIR: draws the program's icon into an icon theme tree under DIR:
// scalable/apps/org.korvane.Gridcrafter.svg and NxN/apps/org.korvane.Gridcrafter.png.
// One list of shapes feeds both the SVG text and the painted PNGs, so they show one picture.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPolygonF>
#include <QString>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

namespace {

const char* const Usage =
    "usage: gridcrafter-icons DIR\n"
    "Writes the program icon into DIR as scalable/apps/org.korvane.Gridcrafter.svg\n"
    "and NxN/apps/org.korvane.Gridcrafter.png for N of 16, 22, 24, 32, 48, 64, 128, 256.\n";

const QString IconName = QStringLiteral("org.korvane.Gridcrafter");
constexpr int PixelSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr qreal Canvas = 256;

// The greens of the program's window icon.
const QColor Board(0, 0, 0);
const QColor Green(0x3c, 0x7d, 0x2a);
const QColor LightGreen(0x8e, 0xd1, 0x6b);

struct Shape {
    QPolygonF outline;
    QColor fill;
    QColor edge;
    qreal edgeWidth;
};

// A flat-topped hex, as the map draws them.
QPolygonF FlatHex(QPointF centre, qreal radius)
{
    QPolygonF hex;
    for (int corner = 0; corner < 6; ++corner) {
        const qreal angle = corner * std::numbers::pi / 3;
        hex << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return hex;
}

// A black board hex with a green rim holding seven map hexes, the middle one lit like the cursor.
QList<Shape> IconShapes()
{
    const QPointF middle(Canvas / 2, Canvas / 2);
    QList<Shape> shapes{{FlatHex(middle, 122), Board, Green, 10}};
    constexpr qreal CellRadius = 28;
    const qreal spacing = std::sqrt(3.0) * (CellRadius + 5);
    for (int side = 0; side < 6; ++side) {
        const qreal angle = (30 + 60 * side) * std::numbers::pi / 180;
        const QPointF centre =
            middle + QPointF(spacing * std::cos(angle), spacing * std::sin(angle));
        shapes.append({FlatHex(centre, CellRadius), Green, LightGreen, 3});
    }
    shapes.append({FlatHex(middle, CellRadius), LightGreen, LightGreen, 3});
    return shapes;
}

QString SvgText(const QList<Shape>& shapes)
{
    QString svg = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                      "viewBox=\"0 0 %1 %1\">\n")
                      .arg(Canvas);
    for (const Shape& shape : shapes) {
        QStringList points;
        for (const QPointF& p : shape.outline)
            points << QStringLiteral("%1,%2").arg(p.x(), 0, 'f', 2).arg(p.y(), 0, 'f', 2);
        svg += QStringLiteral(
                   "  <polygon points=\"%1\" fill=\"%2\" stroke=\"%3\" stroke-width=\"%4\" "
                   "stroke-linejoin=\"round\"/>\n")
                   .arg(points.join(QChar(' ')), shape.fill.name(), shape.edge.name())
                   .arg(shape.edgeWidth);
    }
    return svg + QStringLiteral("</svg>\n");
}

QImage Painted(const QList<Shape>& shapes, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Canvas, size / Canvas);
    for (const Shape& shape : shapes) {
        painter.setPen(
            QPen(shape.edge, shape.edgeWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        painter.setBrush(shape.fill);
        painter.drawPolygon(shape.outline);
    }
    return image;
}

// The icon file of one theme folder ("scalable", "48x48"), its folder created.
QString IconPath(const QDir& root, const QString& folder, const char* extension)
{
    const QString apps = folder + QStringLiteral("/apps");
    if (!root.mkpath(apps))
        return {};
    return root.filePath(apps + QChar('/') + IconName + QLatin1String(extension));
}

bool WriteSvg(const QDir& root, const QList<Shape>& shapes)
{
    QFile file(IconPath(root, QStringLiteral("scalable"), ".svg"));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(SvgText(shapes).toUtf8()) >= 0 && file.flush();
}

bool WritePng(const QDir& root, const QList<Shape>& shapes, int size)
{
    const QString path = IconPath(root, QStringLiteral("%1x%1").arg(size), ".png");
    return !path.isEmpty() && Painted(shapes, size).save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(Usage, stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QList<Shape> shapes = IconShapes();
    bool written = WriteSvg(root, shapes);
    for (const int size : PixelSizes)
        written = WritePng(root, shapes, size) && written;
    if (!written) {
        std::fprintf(stderr, "gridcrafter-icons: cannot write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
