#pragma once
// The about box: the program's name and version, a line about it and the credits, on black.
// Each opening makes a new box, shown modally and released afterwards.

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmAbout;
}

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    ~TfrmAbout() override;

    void FormShow();
    void ColorButton1Click();

protected:
    void showEvent(QShowEvent* event) override;
    // Only the button closes the box: Escape and the window manager's close do nothing.
    void reject() override;

private:
    std::unique_ptr<Ui::TfrmAbout> ui;
};
