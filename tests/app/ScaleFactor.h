#pragma once
// What a window shows at another scale factor: Qt takes QT_SCALE_FACTOR once, when the
// application starts, so the tests that look run in a process of their own.

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// Runs the tests of this program that filter names in a new process at the scale factor;
// returns an empty text when at least one ran and all passed, otherwise their output.
inline QString FailuresAtScaleFactor(const QString& filter, const QString& factor)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), factor);
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
