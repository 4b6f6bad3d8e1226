#include "app/Help.h"

TfrmHelp* frmHelp = nullptr;

TfrmHelp::TfrmHelp(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Gridcraft Help"));
    setFixedSize(303, 453);
}
