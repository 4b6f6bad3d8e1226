// Gridcrafter: the main window first, then the help window, then the message loop.

#include "app/Application.h"
#include "app/Help.h"
#include "app/Main.h"
#include "app/MessagePrompts.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    MessagePrompts prompts;
    InstallPrompts(&prompts);

    TfrmMain mainWindow;
    frmMain = &mainWindow;
    frmHelp = new TfrmHelp(&mainWindow);

    mainWindow.show();
    const int result = TApplication::exec();
    InstallPrompts(nullptr);
    return result;
}
