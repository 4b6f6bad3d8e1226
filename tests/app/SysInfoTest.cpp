#include "app/SysInfo.h"

#include "platform/ScreenDepth.h"
#include "platform/SystemFacts.h"
#include "tests/app/ScaleFactor.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>

namespace {

QString Cell(const TfrmSysInfo& dialog, int row, int column)
{
    const auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    const QTableWidgetItem* item = grid ? grid->item(row, column) : nullptr;
    return item ? item->text() : QString();
}

// The value of the row with this label.
QString Value(const QList<QPair<QString, QString>>& rows, const QString& label)
{
    for (const auto& [name, value] : rows)
        if (name == label)
            return value;
    ADD_FAILURE() << "no row " << label.toStdString();
    return QString();
}

}  // namespace

TEST(SysInfo, SixteenRowsWithTheirLabelsInOrder)
{
    const QStringList labels = {"Physical RAM",
                                "Physical RAM free",
                                "Page file",
                                "Page file free",
                                "Windows directory",
                                "System directory",
                                "Number of CPUs",
                                "CPU",
                                "Time",
                                "Time since boot",
                                "Date",
                                "Resolution",
                                "Bits per Pixel",
                                "Username",
                                "Computername",
                                "OS"};
    const QList<QPair<QString, QString>> rows = SystemInfoRows();
    ASSERT_EQ(rows.size(), labels.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].first, labels[i]) << i;
}

TEST(SysInfo, ValuesComeFromTheSystem)
{
    SetScreenDepthSource([] { return 24; });
    const QList<QPair<QString, QString>> rows = SystemInfoRows();
    SetScreenDepthSource({});
    EXPECT_EQ(Value(rows, "Physical RAM"),
              QString::number(ReadMemoryStatus().TotalPhys) + " Bytes");
    EXPECT_TRUE(Value(rows, "Page file").endsWith(" Bytes"));
    EXPECT_EQ(Value(rows, "Windows directory"), "/etc");
    EXPECT_EQ(Value(rows, "System directory"), "/usr/lib");
    EXPECT_GE(Value(rows, "Number of CPUs").toInt(), 1);
    EXPECT_EQ(Value(rows, "Bits per Pixel"), "24");
    EXPECT_EQ(Value(rows, "Computername"), ComputerName());
    EXPECT_TRUE(Value(rows, "OS").startsWith("Linux ")) << Value(rows, "OS").toStdString();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(Value(rows, "Resolution"),
              QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()));
}

// The processor the system names, not "Intel Pentium" for every x86 machine.
TEST(SysInfo, TheCpuRowNamesTheProcessorTheSystemReports)
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    ASSERT_TRUE(cpuinfo.open(QIODevice::ReadOnly));
    const QRegularExpression modelName(QStringLiteral("^model name\\s*:(.*)$"),
                                       QRegularExpression::MultilineOption);
    const QRegularExpressionMatch reported = modelName.match(QString::fromUtf8(cpuinfo.readAll()));
    const QString cpu = Value(SystemInfoRows(), QStringLiteral("CPU"));
    if (reported.hasMatch())
        EXPECT_EQ(cpu, reported.captured(1).simplified());
    else
        EXPECT_EQ(cpu, ProcessorTypeName(ReadProcessorInfo().ProcessorType));
}

TEST(SysInfo, ShowingFillsTheGridWithHalfWidthColumns)
{
    TfrmSysInfo dialog;
    const auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 16);
    EXPECT_EQ(grid->columnCount(), 2);
    EXPECT_TRUE(Cell(dialog, 0, 0).isEmpty());  // nothing read before the dialog opens
    dialog.show();
    EXPECT_EQ(Cell(dialog, 0, 0), "Physical RAM");
    EXPECT_EQ(Cell(dialog, 15, 0), "OS");
    EXPECT_EQ(grid->columnWidth(0), grid->viewport()->width() / 2);
    EXPECT_EQ(grid->columnWidth(1), grid->columnWidth(0));
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 18);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// As a string grid draws it: the selected first row highlighted across both columns, also
// while the Done button has the focus, and no empty band below the last row.
TEST(SysInfo, TheSelectedRowIsHighlightedWholeAndTheGridEndsWithItsLastRow)
{
    TfrmSysInfo dialog;
    dialog.show();
    auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    ASSERT_NE(grid, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QColor highlight = grid->palette().color(QPalette::Active, QPalette::Highlight);
    // The style shades the highlight a little.
    const auto highlighted = [&highlight](const QImage& shown, int x, int y) {
        const QColor c = shown.pixelColor(x, y);
        return std::abs(c.red() - highlight.red()) + std::abs(c.green() - highlight.green()) +
                   std::abs(c.blue() - highlight.blue()) <
               30;
    };
    const int half = grid->columnWidth(0);
    for (QWidget* focused :
         {static_cast<QWidget*>(grid), dialog.findChild<QWidget*>(QStringLiteral("BitBtn1"))}) {
        focused->setFocus();
        const QImage shown = grid->viewport()->grab().toImage();
        EXPECT_TRUE(highlighted(shown, half / 2, 3)) << focused->objectName().toStdString();
        EXPECT_TRUE(highlighted(shown, half + half / 2, 3)) << focused->objectName().toStdString();
        EXPECT_FALSE(highlighted(shown, half / 2, 18 + 3));
    }

    EXPECT_EQ(grid->rowViewportPosition(15) + grid->rowHeight(15), grid->viewport()->height());
    EXPECT_EQ(grid->geometry().topLeft(), QPoint(8, 8));
    EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
}

TEST(SysInfo, ValuesStayAsReadWhileTheDialogIsOpen)
{
    TfrmSysInfo dialog;
    dialog.show();
    const QString time = Cell(dialog, 8, 1);
    const QString uptime = Cell(dialog, 9, 1);
    // Long enough for the clock's seconds to move on.
    QTest::qWait(1100);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&dialog, &activate);
    dialog.hide();
    dialog.show();
    EXPECT_EQ(Cell(dialog, 8, 1), time);
    EXPECT_EQ(Cell(dialog, 9, 1), uptime);
    // A new dialog reads afresh.
    TfrmSysInfo again;
    again.show();
    EXPECT_NE(Cell(again, 8, 1), time);
}

TEST(SysInfo, DoneClosesTheDialog)
{
    TfrmSysInfo dialog;
    dialog.show();
    auto* done = dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->text(), "&Done");
    QTest::mouseClick(done, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// In the screen's own pixels at any scale factor: Qt's offscreen screen is 800 by 800.
TEST(SysInfo, TheResolutionIsTheScreensSizeInItsOwnPixels)
{
    if (QGuiApplication::platformName() != "offscreen")
        GTEST_SKIP() << "the size of this screen is not known to the test";
    EXPECT_EQ(Value(SystemInfoRows(), "Resolution"), "800x800");
}

TEST(SysInfo, TheResolutionIsTheScreensSizeInItsOwnPixelsAtEveryScaleFactor)
{
    for (const char* factor : {"1.5", "2"}) {
        const QString failures =
            FailuresAtScaleFactor("SysInfo.TheResolutionIsTheScreensSizeInItsOwnPixels", factor);
        EXPECT_TRUE(failures.isEmpty()) << "at scale factor " << factor << ":\n"
                                        << failures.toStdString();
    }
}
