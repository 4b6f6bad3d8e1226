#include "app/About.h"

#include "app/FormKit.h"
#include "controls/ColorButton.h"
#include "platform/Cp1252.h"
#include "settings/Settings.h"
#include "ui_About.h"

namespace {

constexpr int FormFontPixels = 11;  // MS Sans Serif 8 point

const QColor Green(0, 128, 0);
const QColor Silver(192, 192, 192);
const QColor Red(255, 0, 0);

void Dress(QLabel* label, const QString& family, int pixels, const QColor& colour)
{
    label->setFont(PixelFont(family, pixels, true));
    SetColour(*label, QPalette::WindowText, colour);
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::TfrmAbout>())
{
    ui->setupUi(this);
    setFixedSize(size());
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), FormFontPixels));
    SetColour(*this, QPalette::Window, Qt::black);
    setAutoFillBackground(true);

    const QString impact = QStringLiteral("Impact");
    const QString arial = QStringLiteral("Arial");
    for (QLabel* label : {ui->Label1, ui->lblVersion})
        Dress(label, impact, 32, Green);
    for (QLabel* label : {ui->Label8, ui->Label9})
        Dress(label, arial, 13, Green);
    for (QLabel* label : {ui->Label3, ui->Label4})
        Dress(label, arial, 13, Qt::white);
    for (QLabel* label : {ui->Label2, ui->Label5, ui->Label6, ui->Label7})
        Dress(label, arial, 12, Silver);
    for (QLabel* label : {ui->Label10, ui->Label11, ui->Label12})
        Dress(label, arial, 12, Red);
    FitLabelFonts(*this);

    ui->ColorButton1->SetColor(Green);
    ui->ColorButton1->SetStyle({bsCenter, bsShowKey});
    SetColour(*ui->ColorButton1, QPalette::ButtonText, QPalette().color(QPalette::WindowText));
    ui->ColorButton1->OnClick = [this](QObject*) { ColorButton1Click(); };
    ui->ColorButton1->setFocus();

    CentreOnScreen(*this);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::FormShow() { ui->lblVersion->setText(FromCp1252(SettingsVersion)); }

void TfrmAbout::ColorButton1Click() { accept(); }

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmAbout::reject() {}
