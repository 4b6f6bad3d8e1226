#include "app/Title.h"

#include "app/FormKit.h"
#include "controls/ColorButton.h"
#include "controls/Display.h"
#include "controls/SuperTimer.h"
#include "platform/Cp1252.h"
#include "platform/Prompts.h"
#include "platform/ScreenDepth.h"
#include "settings/Settings.h"
#include "ui_Title.h"

#include <QPixmap>
#include <QScopeGuard>

QByteArray MarqueeText;
std::int32_t MarqueePosition = 1;
TfrmTitle* frmTitle = nullptr;

namespace {

constexpr int DisplayCount = 15;
constexpr std::uint16_t MarqueeInterval = 100;
constexpr int LowestColorDepth = 16;
constexpr int FormFontPixels = 11;  // MS Sans Serif 8 point

const QColor Green(0, 128, 0);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);

QByteArray Blanks(int count) { return QByteArray(count, ' '); }

}  // namespace

void InitMarquee()
{
    MarqueeText =
        Blanks(DisplayCount) + "Hi! Welcome to the demo of the Gridcrafter." + Blanks(3) +
        "Please keep in mind that this version is only of use to the nice guys who want to "
        "contribute graphics...the game is not done yet," +
        " As soon as the game is available, I will announce it on a Usenet newsgroup." + Blanks(7) +
        "Don't forget to read the Gridcraft.Doc file!" + Blanks(DisplayCount) +
        "Click 'Start' to continue..." + Blanks(DisplayCount);
    MarqueePosition = 1;
}

void StepMarquee()
{
    for (int n = 1; n <= DisplayCount; ++n) {
        auto* display =
            frmTitle ? frmTitle->findChild<TDisplay*>(QStringLiteral("Display%1").arg(n)) : nullptr;
        if (display)
            display->SetDigit(MarqueeText.at(MarqueePosition + n - 1));
    }
    ++MarqueePosition;
    if (MarqueePosition > MarqueeText.size() - DisplayCount)
        MarqueePosition = 1;
}

void CheckColorDepth()
{
    if (ScreenBitsPerPixel() < LowestColorDepth)
        CurrentPrompts().Warning(
            QStringLiteral("Please note that you'll need at least a HighColor modus (16 bpp) to "
                           "see the graphics properly"));
}

TfrmTitle::TfrmTitle(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      SuperTimer1(new TSuperTimer(this)),
      ui(std::make_unique<Ui::TfrmTitle>())
{
    ui->setupUi(this);
    setFixedSize(size());
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), FormFontPixels));
    SetColour(*this, QPalette::Window, Green);
    setAutoFillBackground(true);

    ui->imgTitle->setPixmap(QPixmap(QStringLiteral(":/TitlePicture.png")));

    ui->lblCaution->setFont(PixelFont(QStringLiteral("Impact"), 37, true));
    SetColour(*ui->lblCaution, QPalette::Window, Red);
    SetColour(*ui->lblCaution, QPalette::WindowText, Yellow);
    ui->lblCaution->setAutoFillBackground(true);

    ui->lblVersion->setFont(PixelFont(QStringLiteral("Impact"), 64, true));
    SetColour(*ui->lblVersion, QPalette::WindowText, Green);

    ui->ColorButton1->SetColor(Green);
    ui->ColorButton1->setFont(PixelFont(QStringLiteral("MS Sans Serif"), FormFontPixels));
    SetColour(*ui->ColorButton1, QPalette::ButtonText, Yellow);
    ui->ColorButton1->SetStyle({bsCenter, bsShowKey});
    ui->ColorButton1->OnClick = [this](QObject*) { ColorButton1Click(); };

    SuperTimer1->setObjectName(QStringLiteral("SuperTimer1"));
    SuperTimer1->SetInterval(MarqueeInterval);
    SuperTimer1->OnTimer = [this](QObject*) { SuperTimer1Timer(); };

    CentreOnScreen(*this);
    FormCreate();
    FitLabelFonts(*this);
}

TfrmTitle::~TfrmTitle() = default;

void TfrmTitle::FormCreate()
{
    InitMarquee();
    ui->lblVersion->setText(FromCp1252(SettingsVersion));
}

void TfrmTitle::FormShow() { SuperTimer1->SetEnabled(true); }

void TfrmTitle::SuperTimer1Timer() { StepMarquee(); }

void TfrmTitle::ColorButton1Click()
{
    SuperTimer1->SetEnabled(false);
    CheckColorDepth();
    done(Accepted);
}

void TfrmTitle::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmTitle::reject() {}

void RunTitleScreen(QWidget* parent)
{
    const auto title = std::make_unique<TfrmTitle>(parent);
    frmTitle = title.get();
    const auto forget = qScopeGuard([] { frmTitle = nullptr; });
    title->exec();
}
