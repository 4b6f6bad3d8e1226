#include "app/SysInfo.h"

#include "app/FormKit.h"
#include "platform/ScreenDepth.h"
#include "platform/SystemFacts.h"
#include "ui_SysInfo.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>

namespace {

constexpr int DialogFontPixels = 11;
constexpr int RowHeight = 18;

QString Bytes(std::uint64_t figure) { return QString::number(figure) + QStringLiteral(" Bytes"); }

// In the screen's own pixels, as the system counts them, at any scale factor.
QString Resolution()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size =
        screen ? (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize() : QSize();
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString OsText(const VersionInfo& version)
{
    return PlatformName(version.PlatformId) +
           QStringLiteral(" %1.%2").arg(version.MajorVersion).arg(version.MinorVersion);
}

}  // namespace

QList<QPair<QString, QString>> SystemInfoRows()
{
    const QLocale locale;
    const MemoryStatus memory = ReadMemoryStatus();
    QList<QPair<QString, QString>> rows = {
        {QStringLiteral("Physical RAM"), Bytes(memory.TotalPhys)},
        {QStringLiteral("Physical RAM free"), Bytes(memory.AvailPhys)},
        {QStringLiteral("Page file"), Bytes(memory.TotalPageFile)},
        {QStringLiteral("Page file free"), Bytes(memory.AvailPageFile)},
        {QStringLiteral("Windows directory"), WindowsDirectory()},
        {QStringLiteral("System directory"), SystemDirectory()},
    };
    const ProcessorInfo processor = ReadProcessorInfo();
    const QDateTime now = QDateTime::currentDateTime();
    rows += {
        {QStringLiteral("Number of CPUs"), QString::number(processor.NumberOfProcessors)},
        {QStringLiteral("CPU"), ProcessorName(processor)},
        {QStringLiteral("Time"), LongTimeText(now.time(), locale)},
        {QStringLiteral("Time since boot"), UptimeText(TickCount(), locale)},
        {QStringLiteral("Date"), locale.toString(now.date(), QLocale::ShortFormat)},
        {QStringLiteral("Resolution"), Resolution()},
        {QStringLiteral("Bits per Pixel"), QString::number(ScreenBitsPerPixel())},
        {QStringLiteral("Username"), UserName()},
        {QStringLiteral("Computername"), ComputerName()},
        {QStringLiteral("OS"), OsText(ReadVersionInfo())},
    };
    return rows;
}

TfrmSysInfo::TfrmSysInfo(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmSysInfo>())
{
    ui->setupUi(this);
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), DialogFontPixels));
    setFixedSize(size());
    QTableWidget& grid = *ui->StringGrid1;
    grid.verticalHeader()->setMinimumSectionSize(0);
    grid.verticalHeader()->setDefaultSectionSize(RowHeight);
    // No empty band below the last row.
    grid.resize(grid.width(), grid.rowCount() * RowHeight + 2 * grid.frameWidth());
    // The selected row stands out also while the Done button has the focus.
    QPalette palette = grid.palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    grid.setPalette(palette);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TfrmSysInfo::BitBtn1Click);
    CentreOnScreen(*this);
}

TfrmSysInfo::~TfrmSysInfo() = default;

void TfrmSysInfo::FormActivate()
{
    if (filled_)
        return;
    filled_ = true;
    QTableWidget& grid = *ui->StringGrid1;
    const int columnWidth = grid.viewport()->width() / 2;
    grid.setColumnWidth(0, columnWidth);
    grid.setColumnWidth(1, columnWidth);
    const QList<QPair<QString, QString>> rows = SystemInfoRows();
    int row = 0;
    for (const auto& [label, value] : rows) {
        grid.setItem(row, 0, new QTableWidgetItem(label));
        grid.setItem(row, 1, new QTableWidgetItem(value));
        ++row;
    }
    grid.setCurrentCell(0, 0);
}

void TfrmSysInfo::BitBtn1Click() { accept(); }

bool TfrmSysInfo::event(QEvent* event)
{
    // Without a window manager a modal dialog may never be activated; its showing counts.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        FormActivate();
    return QDialog::event(event);
}
