#pragma once
// Files, Print: the print job through Qt's printing.

class QPrinter;

// The printer the print dialog sets up, kept for the whole run as the platform's current
// printer is; created on first use.
QPrinter& CurrentPrinter();

// The print dialog, then the map image on one page of the printer chosen in it (a printer
// or a PDF file). Cancelling does nothing.
void PrintMapCommand();
