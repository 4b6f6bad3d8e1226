// gridcrafter-icons: the SVG and every PNG size show one picture, and the theme tree is whole.

#include "tests/tools/ToolRun.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineF>
#include <QPolygonF>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <optional>

namespace {

const QString IconName = QStringLiteral("org.korvane.Gridcrafter");

struct SvgShape {
    QPolygonF outline;
    QColor fill;
};

struct Svg {
    QString viewBox;
    QList<SvgShape> shapes;
};

Svg ReadSvg(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    Svg svg;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("svg"))
            svg.viewBox = attributes.value("viewBox").toString();
        if (xml.name() != QLatin1String("polygon"))
            continue;
        SvgShape shape{{}, QColor(attributes.value("fill").toString())};
        for (const QString& pair : attributes.value("points").toString().split(' '))
            shape.outline << QPointF(pair.section(',', 0, 0).toDouble(),
                                     pair.section(',', 1, 1).toDouble());
        svg.shapes.append(shape);
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return svg;
}

qreal DistanceToEdges(const QPolygonF& outline, QPointF p)
{
    qreal nearest = 1e9;
    for (qsizetype i = 0; i < outline.size(); ++i) {
        const QPointF a = outline[i];
        const QPointF b = outline[(i + 1) % outline.size()];
        const QPointF ab = b - a;
        const qreal t =
            std::clamp(QPointF::dotProduct(p - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
        nearest = std::min(nearest, QLineF(p, a + t * ab).length());
    }
    return nearest;
}

// The colour the SVG gives a point away from every edge, or nothing near an edge.
std::optional<QColor> SvgColourAt(const Svg& svg, QPointF p, qreal margin)
{
    QColor colour = Qt::transparent;
    for (const SvgShape& shape : svg.shapes) {
        if (DistanceToEdges(shape.outline, p) < margin)
            return std::nullopt;
        if (shape.outline.containsPoint(p, Qt::OddEvenFill))
            colour = shape.fill;
    }
    return colour;
}

class IconsTool : public ::testing::Test {
protected:
    QString IconPath(const QString& folder, const char* extension) const
    {
        return dir.filePath(folder + "/apps/" + IconName + extension);
    }
    QTemporaryDir dir;
};

TEST_F(IconsTool, EveryPngPaintsWhatTheSvgDescribes)
{
    const ToolRun run = RunTool(QStringLiteral(GC_ICONS_TOOL), {dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const Svg svg = ReadSvg(IconPath("scalable", ".svg"));
    ASSERT_EQ(svg.viewBox, QStringLiteral("0 0 256 256"));
    ASSERT_GE(svg.shapes.size(), 2);

    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        QImage png;
        ASSERT_TRUE(png.load(IconPath(QStringLiteral("%1x%1").arg(size), ".png"), "PNG"));
        ASSERT_EQ(png.size(), QSize(size, size));
        png = png.convertToFormat(QImage::Format_ARGB32);
        const qreal scale = 256.0 / size;
        // Strokes reach 5 units past an edge, antialiasing one pixel more.
        const qreal margin = 6 + scale;
        int compared = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const auto expected = SvgColourAt(svg, QPointF(x + 0.5, y + 0.5) * scale, margin);
                if (!expected)
                    continue;
                ++compared;
                ASSERT_EQ(png.pixelColor(x, y).rgba(), expected->rgba())
                    << "pixel " << x << "," << y;
            }
        // Small sizes are mostly edge, but every one has a fair number of pixels away from it.
        EXPECT_GE(compared, 2 * size);
    }
}

TEST_F(IconsTool, RefusesAFolderItCannotWrite)
{
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const ToolRun run = RunTool(QStringLiteral(GC_ICONS_TOOL), {blocker.fileName()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(blocker.fileName())) << run.err.toStdString();
    EXPECT_EQ(RunTool(QStringLiteral(GC_ICONS_TOOL), {}).exitCode, 2);
}

}  // namespace
