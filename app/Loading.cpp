#include "app/Loading.h"

#include "ui_Loading.h"

#include <QCoreApplication>
#include <QScreen>
#include <algorithm>

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

void TfrmLoading::Step(int steps)
{
    // QProgressBar ignores a value beyond its maximum instead of stopping there.
    const qint64 value = std::min<qint64>(qint64{ui->Bar->value()} + steps, ui->Bar->maximum());
    ui->Bar->setValue(static_cast<int>(value));
}

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
