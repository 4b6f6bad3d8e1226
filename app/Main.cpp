#include "app/Main.h"

#include "app/About.h"
#include "app/Help.h"
#include "app/Hints.h"
#include "app/Loading.h"
#include "app/MapMouse.h"
#include "app/MapPrint.h"
#include "app/MenuBarKeys.h"
#include "app/RecentMaps.h"
#include "app/SysInfo.h"
#include "app/Title.h"
#include "app/ViewMenu.h"
#include "app/WindowPlace.h"
#include "app/ZoomedView.h"
#include "core/Catalogue.h"
#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/CopyCommands.h"
#include "editor/CreationCommands.h"
#include "editor/EditScope.h"
#include "editor/FileCommands.h"
#include "editor/FloodFillCommand.h"
#include "editor/HistoryCommands.h"
#include "editor/ImageCommands.h"
#include "editor/KeyboardEditing.h"
#include "editor/MapFileWatcher.h"
#include "editor/MapTurnCommands.h"
#include "editor/PasteCommand.h"
#include "editor/RecoveryFolder.h"
#include "editor/RecoveryKeeper.h"
#include "editor/RecoveryOffer.h"
#include "editor/ReloadCommand.h"
#include "editor/ScopedEditing.h"
#include "editor/SelectionCommands.h"
#include "editor/StartEditor.h"
#include "graphics/MapRenderer.h"
#include "graphics/MapView.h"
#include "graphics/Showcase.h"
#include "graphics/SpriteLibrary.h"
#include "platform/Cp1252.h"
#include "ui_Main.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>

TfrmMain* frmMain = nullptr;

namespace {

constexpr int DesignedFontPixels = 11;
// The design's window is 800 by 600 with its frame, caption bar and menu; what lies below
// the menu is the client.
constexpr QSize DesignedClient(792, 554);
constexpr QSize DesignedFrame(800 - 792, 600 - 554);

bool IsEnterKey(const QKeyEvent& event)
{
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
           !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// Characters typed with Control, Alt or Meta are commands, not text: X11 gives Ctrl+. the
// text ".", which would toggle a road.
bool TypesOneCharacter(const QKeyEvent& event)
{
    return event.text().size() == 1 &&
           !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// Qt reads "[*]" in a title as the place of the modified marker; doubled, it stands for itself.
QString LiteralTitle(const QString& caption)
{
    QString title = caption;
    return title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

// An Edit menu entry named after its step, as Qt's undo actions are; plain when disabled.
void ShowStepAction(QAction& action, bool enabled, const QString& plain, const QString& verb,
                    const QString& step)
{
    action.setEnabled(enabled);
    action.setText(enabled ? verb + QLatin1Char(' ') + step : plain);
}

// The one local file, not a folder, that a drag carries; nothing for anything else.
std::optional<QString> DraggedMapFile(const QMimeData* data)
{
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return std::nullopt;
    const QString path = data->urls().front().toLocalFile();
    if (QFileInfo(path).isDir())
        return std::nullopt;
    return path;
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>())
{
    ui->setupUi(this);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    TheEditScope().SetSelectionSink(nullptr);
    SetMapHistorySink(nullptr);
    SetMapFileSink(nullptr);
    SetHintHandler(nullptr);
    SetCaptionSink(nullptr);
    SetMapViewRepaint(nullptr);
    if (frmMain == this)
        frmMain = nullptr;
}

// ---- The window's own events

void TfrmMain::FormCreate()
{
    // Layout fonts are given in points; the design asks for a character height in pixels.
    QFont designed = font();
    designed.setPixelSize(DesignedFontPixels);
    setFont(designed);

    ui->StatusBar->AddPanel(QStringLiteral("Hex info"), 400);
    ui->StatusBar->AddPanel(QStringLiteral("Hint"), 20);

    SetHintHandler([this] { DisplayHint(); });
    SetCaptionSink([this](const QString& caption) { setWindowTitle(LiteralTitle(caption)); });
    SetMapViewRepaint([this] { ui->imgMap->RepaintChanges(); });
    SetSpriteProgressFactory(ShowLoadingWindow);

    connect(ui->Quit1, &QAction::triggered, this, &TfrmMain::Quit1Click);
    connect(ui->Terrain1, &QAction::triggered, this, &TfrmMain::Terrain1Click);
    connect(ui->Systeminfo1, &QAction::triggered, this, &TfrmMain::Systeminfo1Click);
    connect(ui->About1, &QAction::triggered, this, &TfrmMain::About1Click);
    connect(ui->cmdEdit, &QPushButton::clicked, this, &TfrmMain::cmdEditClick);
    connect(ui->cmdTest, &QPushButton::clicked, this, &TfrmMain::cmdTestClick);
    connect(ui->cmdRoads, &QPushButton::clicked, this, &TfrmMain::cmdRoadsClick);
    connect(ui->cmdFill, &QPushButton::clicked, this, &TfrmMain::cmdFillClick);
    connect(ui->cmdClear, &QPushButton::clicked, this, &TfrmMain::cmdClearClick);
    connect(ui->cmdReload, &QPushButton::clicked, this, &TfrmMain::cmdReloadClick);
    connect(ui->NewMap1, &QAction::triggered, this, &TfrmMain::NewMap1Click);
    connect(ui->LoadMap1, &QAction::triggered, this, &TfrmMain::LoadMap1Click);
    connect(ui->Save1, &QAction::triggered, this, &TfrmMain::Save1Click);
    connect(ui->Reloadtiles1, &QAction::triggered, this, &TfrmMain::Reloadtiles1Click);
    connect(ui->Randommap1, &QAction::triggered, this, &TfrmMain::Randommap1Click);
    connect(ui->Print1, &QAction::triggered, this, &TfrmMain::Print1Click);
    connect(ui->WriteBMP1, &QAction::triggered, this, &TfrmMain::WriteBMP1Click);
    connect(ui->ExportImage1, &QAction::triggered, this, &TfrmMain::ExportImage1Click);
    connect(ui->ExportImageCoordinates1, &QAction::triggered, this,
            &TfrmMain::ExportImageCoordinates1Click);
    connect(ui->Undo1, &QAction::triggered, this, &TfrmMain::Undo1Click);
    connect(ui->Redo1, &QAction::triggered, this, &TfrmMain::Redo1Click);
    ui->Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Ctrl+S saves a map into its own file at once; Files, Save keeps its dialog.
    auto* quickSave = new QAction(this);
    quickSave->setObjectName(QStringLiteral("QuickSave1"));
    quickSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(quickSave);
    connect(quickSave, &QAction::triggered, this, &TfrmMain::QuickSave1Click);
    SetMapHistorySink([this] { UpdateEditMenu(); });
    UpdateEditMenu();
    const std::pair<QAction*, void (TfrmMain::*)()> scopeEntries[] = {
        {ui->Cut1, &TfrmMain::Cut1Click},
        {ui->Copy1, &TfrmMain::Copy1Click},
        {ui->Paste1, &TfrmMain::Paste1Click},
        {ui->SelectAll1, &TfrmMain::SelectAll1Click},
        {ui->Deselect1, &TfrmMain::Deselect1Click},
        {ui->FloodFill1, &TfrmMain::FloodFill1Click},
        {ui->PointSymmetry1, &TfrmMain::PointSymmetry1Click},
        {ui->ShowAsymmetry1, &TfrmMain::ShowAsymmetry1Click},
        {ui->TurnMap1, &TfrmMain::TurnMap1Click},
        {ui->MakeSymmetric1, &TfrmMain::MakeSymmetric1Click},
        {ui->RaiseAllHeights1, &TfrmMain::RaiseAllHeights1Click},
        {ui->LowerAllHeights1, &TfrmMain::LowerAllHeights1Click}};
    for (const auto& [action, handler] : scopeEntries)
        connect(action, &QAction::triggered, this, handler);
    ui->PointSymmetry1->setChecked(TheEditScope().PointSymmetry());
    ui->ShowAsymmetry1->setChecked(TheEditScope().ShowAsymmetry());
    TheEditScope().SetSelectionSink([this] {
        ui->imgMap->update();
        ShowNote(SelectionHint());
    });
    recentMaps_ = new TRecentMapsMenu(*ui->Recentmaps1, *ui->Files1,
                                      [this](const QString& path) { OpenMap(path); });
    SetMapFileSink([this](const QString& path) { recentMaps_->Remember(path); });
    const auto notice = [this](const QString& text) { ui->StatusBar->SetPanelText(1, text); };
    recovery_ = new RecoveryKeeper(RecoveryFolder(), notice, RecoveryKeeper::DefaultDelay, this);
    mapFile_ = new MapFileWatcher(
        notice, [this] { RunWithSprites([] { RedrawMap(); }); }, MapFileWatcher::DefaultSettle,
        this);
    setAcceptDrops(true);

    new TMapMouse(
        *ui->sbMap, *ui->imgMap, *this, [this] { return RequireSprites(); }, this);
    zoomedView_ = new TZoomedView(*ui->sbMap, *ui->imgMap, this);
    new TViewMenu(*ui->MainMenu1, ui->Help1->menuAction(), *zoomedView_, *ui->imgMap, *this, this);
    ui->imgMap->SetMarkShown([this] { return keyPreview_; });
    new TMenuBarKeys(*ui->MainMenu1, this);

    // Key preview and the default button see every key before the focused control does.
    QCoreApplication::instance()->installEventFilter(this);

    resize(DesignedClient + QSize(0, menuWidget()->sizeHint().height()));
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    RestoreWindowPlace(*this);
    ui->cmdEdit->setFocus();
}

void TfrmMain::DisplayHint()
{
    const QString hint = ApplicationHint();
    if (!hint.isEmpty())
        note_.clear();
    ui->StatusBar->SetPanelText(1, hint.isEmpty() ? note_ : hint);
}

void TfrmMain::ShowNote(const QString& note)
{
    note_ = note;
    ui->StatusBar->SetPanelText(1, note);
}

void TfrmMain::FormShow()
{
    // Queued, so that the window is on screen before the title screen and the start-up work.
    QTimer::singleShot(0, this, [this] {
        RunTitleScreen(this);
        StartEditor();
        OfferRecoveries(*recovery_, [] { RedrawMap(); });
        if (!mapAfterStartUp_.isEmpty())
            OpenMap(mapAfterStartUp_);
    });
}

void TfrmMain::FormResize()
{
    const QSize whole = WholeWindowSize();
    ui->sbMap->resize(std::max(0, whole.width() - 30), std::max(0, whole.height() - 100));
}

// The client with the frame the platform draws around it (the menu included), or with the
// designed frame where it draws none, as without a window manager.
QSize TfrmMain::WholeWindowSize() const
{
    if (frameGeometry().size() != size())
        return frameGeometry().size();
    return centralWidget()->size() + DesignedFrame;
}

void TfrmMain::FormClose() { FreeSpriteLibrary(); }

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    DockStatusBar();
    FormResize();
}

// A window manager frames the window after it is shown, and only moves it.
void TfrmMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    FormResize();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Kept open until the question is settled, also when the save it runs fails.
    event->ignore();
    if (!MayCloseEditor())
        return;
    event->accept();
    recovery_->Close();
    SaveWindowPlace(*this);
    FormClose();
    QMainWindow::closeEvent(event);
}

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !focusWidget())
        ui->cmdEdit->setFocus();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (DraggedMapFile(event->mimeData()))
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event)
{
    const std::optional<QString> path = DraggedMapFile(event->mimeData());
    if (!path)
        return;
    event->acceptProposedAction();
    // Queued: the drag's source waits for the drop to end, and Load may ask first.
    QTimer::singleShot(0, this, [this, file = *path] { OpenMap(file); });
}

void TfrmMain::DockStatusBar()
{
    const QWidget* client = centralWidget();
    const int height = ui->StatusBar->height();
    ui->StatusBar->setGeometry(0, client->height() - height, client->width(), height);
    ui->StatusBar->raise();
}

// ---- Menu entries and buttons

void TfrmMain::Quit1Click() { close(); }

void TfrmMain::Terrain1Click()
{
    if (frmHelp)
        frmHelp->exec();
}

void TfrmMain::Systeminfo1Click()
{
    TfrmSysInfo frmSysInfo(this);
    frmSysInfo.exec();
}

void TfrmMain::About1Click()
{
    TfrmAbout frmAbout(this);
    frmAbout.exec();
}

// The map itself needs no sprites to be saved; every other command draws or puts out the
// map image, and Reload is the way back from a failed load. Undo and Redo have nothing to
// replay until a load has succeeded.
void TfrmMain::Save1Click() { SaveMapCommand(); }

void TfrmMain::QuickSave1Click()
{
    const QString notice = QuickSaveMapCommand();
    if (!notice.isEmpty())
        ui->StatusBar->SetPanelText(1, notice);
}

void TfrmMain::LoadMap1Click()
{
    RunWithSprites([] { LoadMapCommand(RedrawMap); });
}

void TfrmMain::OpenMap(const QString& path)
{
    RunWithSprites([&path] { LoadNamedMapCommand(path, RedrawMap); });
}

void TfrmMain::LoadAfterStartUp(const QString& path) { mapAfterStartUp_ = path; }

void TfrmMain::NewMap1Click()
{
    RunWithSprites([] { NewMapCommand(RedrawMap); });
}

void TfrmMain::cmdClearClick()
{
    RunWithSprites([] { ClearMapCommand(RedrawMap); });
}

void TfrmMain::Randommap1Click()
{
    RunWithSprites([] {
        RandomMapCommand([] {
            RedrawMap();
            FillMechs();
        });
    });
}

void TfrmMain::cmdTestClick() { RunWithSprites(ShowMechs); }

void TfrmMain::cmdRoadsClick() { RunWithSprites(ShowRoads); }

void TfrmMain::cmdFillClick() { RunWithSprites(FillMechs); }

void TfrmMain::cmdReloadClick() { ReloadSprites(); }

void TfrmMain::Reloadtiles1Click() { ReloadSprites(); }

void TfrmMain::Print1Click() { RunWithSprites(PrintMapCommand); }

void TfrmMain::WriteBMP1Click() { RunWithSprites(WriteBitmapCommand); }

void TfrmMain::ExportImage1Click()
{
    RunWithSprites([] { ExportImageCommand(); });
}

void TfrmMain::ExportImageCoordinates1Click()
{
    RunWithSprites([] { ExportImageCommand(true); });
}

void TfrmMain::Undo1Click() { UndoAndShow(*this); }

void TfrmMain::Redo1Click() { RedoAndShow(*this); }

// Copy and the selection change no picture; the others draw the map.
void TfrmMain::Cut1Click()
{
    RunWithSprites([this] { ShowNote(CutCommand(*this)); });
}

void TfrmMain::Copy1Click() { ShowNote(CopyCommand()); }

void TfrmMain::Paste1Click()
{
    RunWithSprites([this] { ShowNote(PasteCommand(*this)); });
}

void TfrmMain::SelectAll1Click() { SelectAllCommand(); }

void TfrmMain::Deselect1Click() { ClearSelection(); }

void TfrmMain::FloodFill1Click()
{
    RunWithSprites([this] { ShowNote(FloodFillCommand(*this)); });
}

void TfrmMain::PointSymmetry1Click()
{
    TheEditScope().SetPointSymmetry(ui->PointSymmetry1->isChecked());
    ui->imgMap->update();
}

void TfrmMain::ShowAsymmetry1Click()
{
    TheEditScope().SetShowAsymmetry(ui->ShowAsymmetry1->isChecked());
    ui->imgMap->update();
}

void TfrmMain::TurnMap1Click()
{
    RunWithSprites([this] { TurnMapCommand(*this); });
}

void TfrmMain::MakeSymmetric1Click()
{
    RunWithSprites([this] { MakeSymmetricCommand(*this); });
}

void TfrmMain::RaiseAllHeights1Click()
{
    RunWithSprites([this] { RaiseAllHeightsCommand(*this); });
}

void TfrmMain::LowerAllHeights1Click()
{
    RunWithSprites([this] { LowerAllHeightsCommand(*this); });
}

void TfrmMain::UpdateEditMenu()
{
    ShowStepAction(*ui->Undo1, CanUndoMapChange(), QStringLiteral("&Undo"), QStringLiteral("Undo"),
                   UndoStepName());
    ShowStepAction(*ui->Redo1, CanRedoMapChange(), QStringLiteral("&Redo"), QStringLiteral("Redo"),
                   RedoStepName());
}

// The mode switches without sprites too (nothing is drawn), so that the keys typed next are
// refused where the user looks, in the hint panel, instead of reaching the button.
void TfrmMain::cmdEditClick()
{
    keyPreview_ = !keyPreview_;
    EditingModeSwitched(keyPreview_, *this);
    RequireSprites();
}

void TfrmMain::RunWithSprites(const std::function<void()>& command)
{
    if (RequireSprites())
        command();
}

bool TfrmMain::RequireSprites()
{
    if (SpriteLibraryReady())
        return true;
    ui->StatusBar->SetPanelText(
        1, QStringLiteral("No sprites loaded: mend the files, then press Reload"));
    return false;
}

// ---- Keyboard editing

void TfrmMain::FormKeyPress(char& key)
{
    key = UpperKey(key);
    if (!RequireSprites())
        return;
    ScopedKeyPress(key, *this);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || event == forwardedKey_ || !watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    if (!ReceivesKeysFirst(receiver))
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (IsEnterKey(key))
        return PressDefaultButton();
    if (keyPreview_ && TypesOneCharacter(key))
        return PreviewKey(receiver, key);
    return false;
}

// The first delivery of a key inside the client area: to the focused control, or to the
// window when nothing has the focus. Keys passed on to parents, and keys for the menus,
// are not seen again.
bool TfrmMain::ReceivesKeysFirst(const QWidget* widget) const
{
    const QWidget* focused = focusWidget();
    if (widget != (focused ? focused : this))
        return false;
    return widget == this || centralWidget()->isAncestorOf(widget);
}

// Enter clicks the focused button, or the default button cmdEdit when no button has the focus.
bool TfrmMain::PressDefaultButton()
{
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (!button)
        button = ui->cmdEdit;
    if (button->isEnabled())
        button->click();
    return true;
}

// Hands the character to FormKeyPress, then to the focused control as FormKeyPress left it.
bool TfrmMain::PreviewKey(QWidget* receiver, const QKeyEvent& event)
{
    char key = ToCp1252(event.text()).at(0);
    FormKeyPress(key);
    const QString typed = FromCp1252(QByteArray(1, key));
    if (typed == event.text())
        return false;
    QKeyEvent changed(event.type(), event.key(), event.modifiers(), event.nativeScanCode(),
                      event.nativeVirtualKey(), event.nativeModifiers(), typed,
                      event.isAutoRepeat(), static_cast<quint16>(event.count()));
    forwardedKey_ = &changed;
    const auto forwarded = qScopeGuard([this] { forwardedKey_ = nullptr; });
    QCoreApplication::sendEvent(receiver, &changed);
    return true;
}

// ---- The keyboard editor's view of this window

void TfrmMain::DrawCell(int x, int y, bool repaint) { ::DrawCell(x, y, repaint); }

void TfrmMain::DrawCursor(int x, int y) { ::DrawCursor(x, y); }

void TfrmMain::RepaintMap() { RepaintMapView(); }

void TfrmMain::ShowHexInfo(int x, int y) { ui->StatusBar->SetPanelText(0, DescribeHex(x, y)); }

int TfrmMain::ViewWidth() const { return ui->sbMap->width(); }

int TfrmMain::ViewHeight() const { return ui->sbMap->height(); }

int TfrmMain::HorzScrollPosition() const { return ui->sbMap->horizontalScrollBar()->value(); }

int TfrmMain::VertScrollPosition() const { return ui->sbMap->verticalScrollBar()->value(); }

void TfrmMain::SetHorzScrollPosition(int position)
{
    ui->sbMap->horizontalScrollBar()->setValue(position);
}

void TfrmMain::SetVertScrollPosition(int position)
{
    ui->sbMap->verticalScrollBar()->setValue(position);
}

double TfrmMain::ViewScale() const { return zoomedView_->Zoom().Scale(); }

void TfrmMain::SetEditCaption(const QString& caption) { ui->cmdEdit->setText(caption); }

void TfrmMain::RedrawWholeMap() { ::RedrawMap(); }

bool TfrmMain::EditingMode() const { return keyPreview_; }
