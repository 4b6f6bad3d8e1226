#pragma once
// What a window shows at another scale factor: Qt takes QT_SCALE_FACTOR once, when the
// application starts, so the tests that look run in a process of their own.

#include <QCoreApplication>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <cmath>
#include <optional>

// Runs the tests of this program that filter names in a new process at the scale factor, with
// preferences of its own; returns an empty text when at least one ran and all passed,
// otherwise their output.
inline QString FailuresAtScaleFactor(const QString& filter, const QString& factor)
{
    const QTemporaryDir preferences;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), factor);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), preferences.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=" + filter});
    if (!child.waitForFinished(120000))
        return QStringLiteral("the tests at scale factor %1 did not finish").arg(factor);
    const QString output = QString::fromLocal8Bit(child.readAll());
    const bool passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                        output.contains(QStringLiteral("[  PASSED  ] ")) &&
                        !output.contains(QStringLiteral("[  PASSED  ] 0 tests"));
    return passed ? QString() : output;
}

// A picture drawn for device pixels, shown (with its device pixel ratio), against the same
// picture drawn in plain pixels: the first device pixel of area (in plain pixels) whose colour
// is none of those of the plain pixels it lies on or beside. Scaled smoothly, a picture blends
// colours; drawn sharply, as the map is, it never does. Nothing when every pixel is sharp.
inline std::optional<QPoint> BlendedPixel(const QImage& shown, const QImage& drawn,
                                          const QRect& area)
{
    // Premultiplied, so that every transparent pixel is the same colour.
    const QImage device = shown.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage plain = drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qreal ratio = device.devicePixelRatio();
    const auto near = [&](int deviceX, int deviceY) {
        const QRgb colour = device.pixel(deviceX, deviceY);
        const int x = static_cast<int>(deviceX / ratio);
        const int y = static_cast<int>(deviceY / ratio);
        for (int b = y - 1; b <= y + 1; ++b)
            for (int a = x - 1; a <= x + 1; ++a)
                if (area.contains(a, b) && plain.pixel(a, b) == colour)
                    return true;
        return false;
    };
    const int top = static_cast<int>(std::lround(area.top() * ratio));
    const int bottom = static_cast<int>((area.bottom() + 1) * ratio);
    const int left = static_cast<int>(std::lround(area.left() * ratio));
    const int right = static_cast<int>((area.right() + 1) * ratio);
    for (int y = top; y < bottom && y < device.height(); ++y)
        for (int x = left; x < right && x < device.width(); ++x)
            if (!near(x, y))
                return QPoint(x, y);
    return std::nullopt;
}
