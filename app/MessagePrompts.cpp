#include "app/MessagePrompts.h"

#include "app/MessageBoxIcon.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const QString& caption,
                                    const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    DrawIconForDevicePixels(box);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void MessagePrompts::Warning(const QString& text)
{
    ShowBox(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Ok);
}

void MessagePrompts::Information(const QString& text)
{
    ShowBox(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok);
}

bool MessagePrompts::AskYesNo(const QString& text)
{
    return ShowBox(QMessageBox::Warning, QStringLiteral("Warning"), text,
                   QMessageBox::Yes | QMessageBox::No) != QMessageBox::No;
}

Answer MessagePrompts::AskYesNoCancel(const QString& text)
{
    switch (ShowBox(QMessageBox::Warning, QStringLiteral("Warning"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

QStringList QtNameFilters(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern == QStringLiteral("*.*"))
                pattern = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

namespace {

// The extension of the first pattern of filter entry index when it names one ("*.BMP" gives
// "BMP"); empty for a pattern such as "*.*".
QString FilterExtension(const QString& windowsFilter, qsizetype index)
{
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    if (index < 0 || 2 * index + 1 >= parts.size())
        return {};
    const QString pattern = parts[2 * index + 1].section(QLatin1Char(';'), 0, 0);
    const QString extension = pattern.mid(2);
    const bool plain = pattern.startsWith(QStringLiteral("*.")) && !extension.isEmpty() &&
                       !extension.contains(QLatin1Char('*')) &&
                       !extension.contains(QLatin1Char('?'));
    return plain ? extension : QString();
}

}  // namespace

void SetUpFileDialog(QFileDialog& box, const FileDialogOptions& dialog, const QString& fileName)
{
    // Qt's own dialog on every desktop, so the extension rule and the questions hold.
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setWindowTitle(dialog.Title);
    box.setNameFilters(QtNameFilters(dialog.Filter));
    box.setDefaultSuffix(dialog.DefaultExt);
    // As on Windows, a typed name without extension takes that of the filter chosen.
    const auto takeFiltersExtension = [&box, filter = dialog.Filter,
                                       fallback = dialog.DefaultExt](const QString& chosen) {
        const QString own = FilterExtension(filter, box.nameFilters().indexOf(chosen));
        box.setDefaultSuffix(own.isEmpty() ? fallback : own);
    };
    QObject::connect(&box, &QFileDialog::filterSelected, &box, takeFiltersExtension);
    box.setAcceptMode(dialog.Saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(dialog.Saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (QFileInfo(fileName).isDir())
        box.setDirectory(fileName);
    else if (!fileName.isEmpty())
        box.selectFile(fileName);
}

std::optional<QString> MessagePrompts::FileDialog(const FileDialogOptions& dialog,
                                                  const QString& fileName)
{
    QFileDialog box(QApplication::activeWindow());
    SetUpFileDialog(box, dialog, fileName);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return box.selectedFiles().constFirst();
}

bool MessagePrompts::PrintDialog(QPrinter& printer)
{
    QPrintDialog box(&printer, QApplication::activeWindow());
    box.setOption(QAbstractPrintDialog::PrintToFile);
    return box.exec() == QDialog::Accepted;
}
