// Shows every custom control at work: the four display styles cycling through the characters
// on a thread timer, colour buttons in every alignment and bevel, enabled and disabled, and
// the panel status bar. With --screenshot <file.png> it saves a picture of itself and quits.

#include "controls/ColorButton.h"
#include "controls/Display.h"
#include "controls/SuperTimer.h"
#include "controls/newstat.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

namespace {

constexpr int FirstCode = 32;
constexpr int LastCode = 127;
const QByteArray MarqueeText = "GRIDCRAFTER CONTROLS * 0123456789 * ";

const std::array<QString, 9> AlignmentNames = {"&TopLeft",    "T&opCenter",    "To&pRight",
                                               "&MiddleLeft", "Mi&ddleCenter", "Middle&Right",
                                               "&BottomLeft", "Bottom&Center", "Bo&ttomRight"};

QLabel* AddLabel(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    return label;
}

// One display of each style, showing the same character.
std::vector<TDisplay*> AddStyleDisplays(QWidget* window)
{
    std::vector<TDisplay*> displays;
    const std::array<TDigitStyle, 4> styles = {ds7Seg, ds16Seg, ds5x7Dot, ds5x7Bulb};
    const std::array<QString, 4> names = {"ds7Seg", "ds16Seg", "ds5x7Dot", "ds5x7Bulb"};
    for (std::size_t i = 0; i < styles.size(); ++i) {
        auto* display = new TDisplay(window);
        const int x = 10 + static_cast<int>(i) * 90;
        display->setGeometry(x, 30, 80, 120);
        display->SetSegWidth(styles[i] >= ds5x7Dot ? 11 : 9);
        display->SetMargin(6);
        display->SetDigitStyle(styles[i]);
        display->SetPenOnColor(Qt::black);
        display->SetPenOffColor(Qt::black);
        display->SetOffColor(QColor(60, 0, 0));
        display->SetDigit(static_cast<char>(FirstCode));
        AddLabel(window, names[i], x, 155);
        displays.push_back(display);
    }
    return displays;
}

// A row of small dot displays like the title screen's marquee.
std::vector<TDisplay*> AddMarquee(QWidget* window)
{
    std::vector<TDisplay*> cells;
    for (int i = 0; i < 15; ++i) {
        auto* cell = new TDisplay(window);
        cell->setGeometry(385 + i * 41, 30, 41, 57);
        cell->SetSegWidth(7);
        cell->SetMargin(2);
        cell->SetDigitStyle(ds5x7Dot);
        cell->SetOnColor(QColor(255, 200, 0));
        cell->SetOffColor(QColor(40, 30, 0));
        cells.push_back(cell);
    }
    return cells;
}

void AddButtons(QWidget* window, TAStatusBar* bar)
{
    const std::array<TButtonBevel, 3> bevels = {bbLowered, bbNone, bbRaised};
    const std::array<QString, 3> bevelNames = {"bbLowered", "bbNone", "bbRaised"};
    const std::array<QColor, 3> colours = {QColor(0, 128, 0), QColor(70, 90, 200),
                                           QColor(200, 120, 40)};
    for (std::size_t row = 0; row < 4; ++row) {
        const bool disabled = row == 3;
        const std::size_t bevel = disabled ? 2 : row;
        AddLabel(window, disabled ? "disabled" : bevelNames[bevel], 10,
                 205 + static_cast<int>(row) * 55);
        for (std::size_t column = 0; column < AlignmentNames.size(); ++column) {
            auto* button = new TColorButton(window);
            button->setGeometry(80 + static_cast<int>(column) * 104,
                                190 + static_cast<int>(row) * 55, 98, 46);
            button->SetCaption(AlignmentNames[column]);
            button->SetAlignment(static_cast<TAlignment>(column));
            button->SetBevelStyle(bevels[bevel]);
            button->SetBevelSize(bevel == 0 ? 2 : 3);
            button->SetColor(colours[column % colours.size()]);
            button->setEnabled(!disabled);
            button->OnClick = [bar, button](QObject*) {
                bar->SetPanelText(1, "Clicked " + button->Caption());
            };
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const qsizetype shotOption = arguments.indexOf("--screenshot");
    const QString shotFile = shotOption >= 0 && shotOption + 1 < arguments.size()
                                 ? arguments[shotOption + 1]
                                 : QString();

    QWidget window;
    window.setWindowTitle("Gridcrafter controls");
    window.resize(1016, 440);
    window.setAutoFillBackground(true);
    AddLabel(&window, "Character display styles", 10, 8);
    AddLabel(&window, "5x7 dot marquee", 380, 8);

    auto* bar = new TAStatusBar(&window);
    bar->setGeometry(0, 440 - 19, 1016, 19);
    bar->AddPanel("Ticks: 0", 200);
    bar->AddPanel("Press a button", 20);

    const std::vector<TDisplay*> styles = AddStyleDisplays(&window);
    const std::vector<TDisplay*> marquee = AddMarquee(&window);
    AddButtons(&window, bar);

    TSuperTimer timer;
    timer.SetInterval(150);
    int step = 0;
    timer.OnTimer = [&](QObject*) {
        ++step;
        const char code = static_cast<char>(FirstCode + step % (LastCode - FirstCode + 1));
        for (TDisplay* display : styles)
            display->SetDigit(code);
        for (std::size_t i = 0; i < marquee.size(); ++i)
            marquee[i]->SetDigit(
                MarqueeText[static_cast<qsizetype>((static_cast<std::size_t>(step) + i) %
                                                   static_cast<std::size_t>(MarqueeText.size()))]);
        bar->SetPanelText(
            0, QString("Ticks: %1  TimeValue: %2 ms").arg(timer.Ticks()).arg(timer.TimeValue()));
    };
    timer.SetEnabled(true);
    window.show();

    if (!shotFile.isEmpty()) {
        QTimer::singleShot(1500, &window, [&] {
            window.grab().save(shotFile);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
