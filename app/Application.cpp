#include "app/Application.h"

#include "app/MessageBoxIcon.h"
#include "platform/BusyCursor.h"
#include "platform/Errors.h"

#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <exception>
#include <utility>

namespace {

std::function<void(const QString&)> exceptionDisplay;

void ShowErrorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    DrawIconForDevicePixels(box);
    box.exec();
}

}  // namespace

// Outside any namespace, as Q_INIT_RESOURCE requires. The resources live in a static
// library; without this the linker may drop them.
static void InitResources() { Q_INIT_RESOURCE(Gridcrafter); }

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    InitResources();
    setApplicationName(ApplicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/Gridcrafter.png")));
    RegisterFontSubstitutions();
    SetBusyCursorHooks([] { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); },
                       [] { QGuiApplication::restoreOverrideCursor(); });
}

TApplication::~TApplication() { SetBusyCursorHooks(nullptr, nullptr); }

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const GcError& error) {
        ShowException(error.Text());
    } catch (const std::exception& error) {
        ShowException(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void RegisterFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Times New Roman"),
        {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    // A narrow face with lower case and the sharp s: the version label reads "v2ß".
    QFont::insertSubstitutions(QStringLiteral("Impact"), {QStringLiteral("Liberation Sans Narrow"),
                                                          QStringLiteral("DejaVu Sans")});
}

void ShowException(const QString& text)
{
    if (exceptionDisplay)
        exceptionDisplay(text);
    else
        ShowErrorBox(text);
}

void SetExceptionDisplay(std::function<void(const QString&)> display)
{
    exceptionDisplay = std::move(display);
}
