// gridcrafter-title-picture OUTPUT: paints the title screen's picture (640 by 480, 256-colour
// palette): on black, a walking war machine at the left fires a beam across the upper part,
// and the game's name stands at the right above the place of the version label.

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cstdio>

namespace {

constexpr int PictureWidth = 640;
constexpr int PictureHeight = 480;

// Where the title screen lays its version label over the picture (the picture stands
// two pixels right of the window's left edge).
const QRectF VersionLabel(242, 252, 373, 85);

const QPointF Muzzle(236, 118);

// Black, then a ramp of greens, then greens fading to white for highlights.
QList<QRgb> GreenPalette()
{
    QList<QRgb> palette;
    for (int i = 0; i < 192; ++i)
        palette.append(qRgb(0, i * 4 / 3, 0));
    for (int i = 0; i < 64; ++i)
        palette.append(qRgb(i * 4, 255, i * 4));
    return palette;
}

QColor Green(int level) { return QColor(0, level, 0); }

// A perspective floor under the machine, fading into the dark.
void DrawFloor(QPainter& p)
{
    p.setPen(QPen(Green(70), 1));
    constexpr qreal Horizon = 350;
    for (int y = static_cast<int>(Horizon), step = 4; y < PictureHeight; y += step, step += 3)
        p.drawLine(0, y, PictureWidth, y);
    constexpr qreal Middle = PictureWidth / 2.0;
    for (int x = -900; x <= PictureWidth + 900; x += 80)
        p.drawLine(QPointF(Middle + (x - Middle) * 0.25, Horizon), QPointF(x, PictureHeight));
}

QPainterPath Polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

void FillPart(QPainter& p, const QPainterPath& part, int shade)
{
    const QRectF box = part.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, Green(shade + 50));
    fill.setColorAt(1, Green(shade - 20));
    p.setBrush(fill);
    p.setPen(QPen(QColor(120, 255, 120), 2));
    p.drawPath(part);
}

// A bird-legged leg: thigh from the hip forward to the knee, shin back to the ankle, a toed foot.
void DrawLeg(QPainter& p, QPointF hip, QPointF knee, QPointF ankle, int shade)
{
    const auto limb = [&](QPointF a, QPointF b, qreal width) {
        p.setPen(QPen(QColor(120, 255, 120), width + 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
        p.setPen(QPen(Green(shade), width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, b);
    };
    limb(hip, knee, 22);
    limb(knee, ankle, 16);
    FillPart(p,
             Polygon({ankle + QPointF(-30, 14), ankle + QPointF(-8, -6), ankle + QPointF(10, -6),
                      ankle + QPointF(36, 14)}),
             shade);
    p.setBrush(Green(shade + 60));
    p.drawEllipse(knee, 9, 9);
}

void DrawWarMachine(QPainter& p)
{
    // The far leg first, in the step behind, darker.
    DrawLeg(p, QPointF(118, 228), QPointF(78, 282), QPointF(70, 334), 70);

    const QPainterPath torso =
        Polygon({{62, 150}, {160, 140}, {204, 178}, {196, 222}, {140, 236}, {70, 226}, {50, 190}});
    FillPart(p, torso, 110);
    // Cockpit canopy at the front of the torso.
    FillPart(p, Polygon({{170, 176}, {204, 178}, {198, 204}, {176, 200}}), 200);
    p.setPen(QPen(Green(40), 2));
    p.drawLine(QPointF(80, 168), QPointF(150, 162));
    p.drawLine(QPointF(74, 208), QPointF(150, 214));

    // Missile pods on the shoulders, with their tubes.
    const QPainterPath pod = Polygon({{70, 118}, {132, 114}, {138, 146}, {66, 152}});
    FillPart(p, pod, 90);
    p.setBrush(Qt::black);
    p.setPen(QPen(Green(150), 1));
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 2; ++row)
            p.drawEllipse(QPointF(82 + 15 * column, 126 + 13 * row), 4, 4);

    // The gun arm, raised toward the right edge.
    FillPart(p,
             Polygon({{140, 150},
                      {176, 128},
                      {Muzzle.x() - 4, Muzzle.y() - 8},
                      {Muzzle.x() + 2, Muzzle.y() + 6},
                      {184, 150},
                      {156, 170}}),
             130);

    DrawLeg(p, QPointF(130, 226), QPointF(178, 268), QPointF(160, 336), 120);
}

void DrawBeam(QPainter& p)
{
    const QPointF end(PictureWidth, 96);
    for (const auto& [width, colour] : {std::pair{18, Green(60)},
                                        {10, Green(150)},
                                        {5, QColor(100, 255, 100)},
                                        {2, QColor(230, 255, 230)}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(Muzzle, end);
    }
    QRadialGradient flash(Muzzle, 30);
    flash.setColorAt(0, QColor(240, 255, 240));
    flash.setColorAt(0.35, QColor(80, 255, 80));
    flash.setColorAt(1, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(flash);
    p.drawEllipse(Muzzle, 30, 30);
}

QFont TitleFont()
{
    const QStringList families = QFontDatabase::families();
    QFont font(families.contains(QStringLiteral("Bebas Neue"))
                   ? QStringLiteral("Bebas Neue")
                   : QStringLiteral("Liberation Sans Narrow"));
    font.setBold(true);
    font.setPixelSize(120);
    return font;
}

// The name in large letters, centred over the version label and standing just above it.
void DrawName(QPainter& p)
{
    QPainterPath name;
    name.addText(0, 0, TitleFont(), QStringLiteral("Korvane"));
    const QRectF box = name.boundingRect();
    const qreal scale = qMin(1.0, (VersionLabel.width() - 10) / box.width());
    QTransform place;
    place.translate(VersionLabel.center().x() - box.center().x() * scale,
                    VersionLabel.top() - 8 - box.bottom() * scale);
    place.scale(scale, scale);
    name = place.map(name);

    const QRectF placed = name.boundingRect();
    QLinearGradient fill(placed.topLeft(), placed.bottomLeft());
    fill.setColorAt(0, QColor(140, 255, 140));
    fill.setColorAt(0.5, Green(200));
    fill.setColorAt(1, Green(90));
    p.setPen(QPen(Green(60), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(name);
    p.setPen(QPen(QColor(200, 255, 200), 2));
    p.setBrush(fill);
    p.drawPath(name);
}

QImage DrawTitlePicture()
{
    QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    DrawFloor(p);
    DrawBeam(p);
    DrawWarMachine(p);
    DrawName(p);
    p.end();
    return picture.convertToFormat(QImage::Format_Indexed8, GreenPalette(), Qt::ThresholdDither);
}

}  // namespace

int main(int argc, char** argv)
{
    // Text needs a font database, which needs a platform; the build has no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gridcrafter-title-picture OUTPUT.png\n");
        return 2;
    }
    if (!DrawTitlePicture().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "gridcrafter-title-picture: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
