#pragma once
// The system information dialog: sixteen facts about the computer, read once when the
// dialog opens. Each opening makes a new dialog, shown modally and released afterwards.

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>
#include <memory>

namespace Ui {
class TfrmSysInfo;
}

// Label and value of the sixteen rows, as read from the system now.
QList<QPair<QString, QString>> SystemInfoRows();

class TfrmSysInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSysInfo(QWidget* parent = nullptr);
    ~TfrmSysInfo() override;

    // Fills the grid the first time the dialog becomes active; later activations keep the
    // values as read at the opening.
    void FormActivate();
    void BitBtn1Click();

protected:
    bool event(QEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmSysInfo> ui;
    bool filled_ = false;
};
