#pragma once
// The title screen: the title picture, the version label and a dot-matrix marquee that
// scrolls a welcome text across fifteen displays until Start is pressed.

#include <QByteArray>
#include <QDialog>
#include <cstdint>
#include <memory>

namespace Ui {
class TfrmTitle;
}
class TSuperTimer;

// The marquee's text (Windows-1252 bytes) and one less than the 1-based position of the
// character that Display1 shows.
extern QByteArray MarqueeText;
extern std::int32_t MarqueePosition;

void InitMarquee();
// Shows the next fifteen characters on the displays of frmTitle and moves on by one,
// starting again behind the leading blanks once the text has passed.
void StepMarquee();
// Warns when the screen has fewer than 16 bits per pixel.
void CheckColorDepth();

class TfrmTitle : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTitle(QWidget* parent = nullptr);
    ~TfrmTitle() override;

    void FormCreate();
    void FormShow();
    void SuperTimer1Timer();
    void ColorButton1Click();

    TSuperTimer* SuperTimer1;

protected:
    void showEvent(QShowEvent* event) override;
    // Only Start closes the title screen: Escape and the window manager's close do nothing.
    void reject() override;

private:
    std::unique_ptr<Ui::TfrmTitle> ui;
};

extern TfrmTitle* frmTitle;

// Creates frmTitle, shows it modally and releases it once it has closed.
void RunTitleScreen(QWidget* parent);
