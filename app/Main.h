#pragma once
// The main window: menu, buttons, the scrolling map view and the status bar. Its handlers
// call the plain procedures of the map core and the graphics; it is the keyboard editor's
// view of the screen.

#include "editor/EditorView.h"

#include <QMainWindow>
#include <functional>
#include <memory>

namespace Ui {
class TfrmMain;
}
class TRecentMapsMenu;
class RecoveryKeeper;
class MapFileWatcher;
class TZoomedView;

class TfrmMain : public QMainWindow, public EditorView {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Handlers, named after their control or menu entry and the event.
    void Quit1Click();
    void FormResize();
    void FormShow();
    void FormClose();
    // key: one Windows-1252 character; it leaves upper-cased.
    void FormKeyPress(char& key);
    void cmdEditClick();
    void FormCreate();
    void DisplayHint();
    void Terrain1Click();
    void Systeminfo1Click();
    void About1Click();
    void cmdFillClick();
    void cmdClearClick();
    void cmdTestClick();
    void cmdReloadClick();
    void NewMap1Click();
    void Randommap1Click();
    void Save1Click();
    // Ctrl+S.
    void QuickSave1Click();
    void LoadMap1Click();
    void Print1Click();
    void Reloadtiles1Click();
    void cmdRoadsClick();
    void WriteBMP1Click();
    void ExportImage1Click();
    void ExportImageCoordinates1Click();
    void Undo1Click();
    void Redo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();
    void Deselect1Click();
    void FloodFill1Click();
    void PointSymmetry1Click();
    void ShowAsymmetry1Click();
    void TurnMap1Click();
    void MakeSymmetric1Click();
    void RaiseAllHeights1Click();
    void LowerAllHeights1Click();

    // Loads path as Load does, the question before discarding unsaved edits included: a
    // map from the command line, a drop or the recent maps.
    void OpenMap(const QString& path);
    // A map for OpenMap once the start-up is through; empty for none.
    void LoadAfterStartUp(const QString& path);

    // Editing mode: while on, every typed character reaches FormKeyPress before the
    // focused control.
    bool KeyPreview() const { return keyPreview_; }

    // Commands that draw or need the sprites ask this first: until a load of the settings
    // and sprites has succeeded, it writes the refusal into the hint panel and answers
    // false. The failed load itself was shown once, by the default error handler.
    bool RequireSprites();

    // EditorView
    void DrawCell(int x, int y, bool repaint) override;
    void DrawCursor(int x, int y) override;
    void RepaintMap() override;
    void ShowHexInfo(int x, int y) override;
    int ViewWidth() const override;
    int ViewHeight() const override;
    int HorzScrollPosition() const override;
    int VertScrollPosition() const override;
    void SetHorzScrollPosition(int position) override;
    void SetVertScrollPosition(int position) override;
    double ViewScale() const override;
    void SetEditCaption(const QString& caption) override;
    void RedrawWholeMap() override;
    bool EditingMode() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Runs command once RequireSprites agrees.
    void RunWithSprites(const std::function<void()>& command);
    bool ReceivesKeysFirst(const QWidget* widget) const;
    bool PressDefaultButton();
    bool PreviewKey(QWidget* receiver, const QKeyEvent& event);
    void DockStatusBar();
    QSize WholeWindowSize() const;
    void UpdateEditMenu();
    // Writes note into the hint panel, where it stays while the pointer is over nothing with
    // a hint of its own.
    void ShowNote(const QString& note);

    std::unique_ptr<Ui::TfrmMain> ui;
    bool keyPreview_ = false;
    bool shown_ = false;
    const QEvent* forwardedKey_ = nullptr;
    TRecentMapsMenu* recentMaps_ = nullptr;
    TZoomedView* zoomedView_ = nullptr;
    QString mapAfterStartUp_;
    QString note_;
    // The map's recovery copy, and the watch on its file.
    RecoveryKeeper* recovery_ = nullptr;
    MapFileWatcher* mapFile_ = nullptr;
};

extern TfrmMain* frmMain;
