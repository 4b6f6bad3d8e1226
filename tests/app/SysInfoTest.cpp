#include "app/SysInfo.h"

#include "platform/ScreenDepth.h"
#include "platform/SystemFacts.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

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
    const QStringList labels = {
        "Physical RAM", "Physical RAM free", "Page file", "Page file free", "Windows directory",
        "System directory", "Number of CPUs", "CPU", "Time", "Time since boot", "Date",
        "Resolution", "Bits per Pixel", "Username", "Computername", "OS"};
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
    EXPECT_EQ(Value(rows, "Physical RAM"), QString::number(ReadMemoryStatus().TotalPhys) + " Bytes");
    EXPECT_TRUE(Value(rows, "Page file").endsWith(" Bytes"));
    EXPECT_EQ(Value(rows, "Windows directory"), "/etc");
    EXPECT_EQ(Value(rows, "System directory"), "/usr/lib");
    EXPECT_GE(Value(rows, "Number of CPUs").toInt(), 1);
    EXPECT_EQ(Value(rows, "Bits per Pixel"), "24");
    EXPECT_EQ(Value(rows, "Computername"), ComputerName());
    EXPECT_TRUE(Value(rows, "OS").startsWith("Linux ")) << Value(rows, "OS").toStdString();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(Value(rows, "Resolution"), QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()));
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
