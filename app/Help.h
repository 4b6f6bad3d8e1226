#pragma once
// The help window: created with the main window, hidden between showings, shown modally.
// For now it is an empty window; the key reminder and the terrain list come later.

#include <QDialog>

class TfrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget* parent = nullptr);
};

extern TfrmHelp* frmHelp;
