// Gridcrafter: the command line, the game folder, the main window, the help window, then the
// message loop.

#include "app/Main.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Help.h"
#include "app/MessagePrompts.h"
#include "platform/Errors.h"

#include <QStringList>
#include <optional>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<int> status = AnswerWithoutDisplay(arguments))
        return *status;
    TApplication application(argc, argv);
    const EditorStart start = PrepareEditorStart(QCoreApplication::arguments().mid(1));
    if (start.Line.ExitStatus)
        return EndRun(start.Line);
    MessagePrompts prompts;
    try {
        EnterUserGameFolderOutsideAGame(start.Line, InstalledSheets());
    } catch (const GcError& error) {
        // Started from the desktop menu, nobody reads standard error.
        prompts.Warning(error.Text());
        return 1;
    }
    InstallPrompts(&prompts);

    TfrmMain mainWindow;
    frmMain = &mainWindow;
    frmHelp = new TfrmHelp(&mainWindow);
    mainWindow.LoadAfterStartUp(start.MapPath);

    mainWindow.show();
    const int result = TApplication::exec();
    InstallPrompts(nullptr);
    return result;
}
