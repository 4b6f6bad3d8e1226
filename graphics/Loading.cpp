#include "graphics/Loading.h"

#include "ui_Loading.h"

#include <QCoreApplication>
#include <QScreen>

TfrmLoading::TfrmLoading(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ui(std::make_unique<Ui::TfrmLoading>())
{
    ui->setupUi(this);
    setFixedSize(size());
}

TfrmLoading::~TfrmLoading() = default;

void TfrmLoading::SetMaximum(int maximum)
{
    ui->Bar->setMaximum(maximum);
    repaint();
}

void TfrmLoading::Step() { ui->Bar->setValue(ui->Bar->value() + 1); }

int TfrmLoading::Position() const { return ui->Bar->value(); }

int TfrmLoading::Maximum() const { return ui->Bar->maximum(); }

std::unique_ptr<SpriteProgress> ShowLoadingWindow()
{
    auto window = std::make_unique<TfrmLoading>();
    if (const QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    window->show();
    // Loading keeps the event loop waiting; let the new window be mapped and painted first,
    // as a splash screen does. User input waits until the editor is ready.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return window;
}
