#include "app/MapPrint.h"

#include "graphics/MapOutput.h"
#include "platform/BusyCursor.h"
#include "platform/Prompts.h"

#include <QPrinter>

QPrinter& CurrentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void PrintMapCommand()
{
    QPrinter& printer = CurrentPrinter();
    if (!CurrentPrompts().PrintDialog(printer))
        return;
    const BusyCursor busy;
    PrintMapImage(printer);
}
