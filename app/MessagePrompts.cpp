#include "app/MessagePrompts.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const QString& caption,
                                    const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

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
