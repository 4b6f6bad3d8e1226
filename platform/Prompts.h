#pragma once
// The questions and notices that computing code puts to the user. The editor installs
// message boxes; tests install a scripted double; tools keep the default, which writes
// to standard error and answers every yes/no question with yes.

#include <QString>
#include <optional>

class QPrinter;

// A common file dialog as designed on the main window.
struct FileDialogOptions {
    QString Title;
    // Windows style: descriptions and patterns alternate, separated by "|".
    QString Filter;
    // Added to a typed name that has none, unless the user chose a filter of another
    // extension, which is then added instead.
    QString DefaultExt;
    // Saving asks before an existing file is replaced; opening wants path and file to exist.
    bool Saving;
};

inline const FileDialogOptions SaveDialog{QStringLiteral("Write Map File"),
                                          QStringLiteral("Korvane Map Files|*.KVX|All Files|*.*"),
                                          QStringLiteral("KVX"), true};
inline const FileDialogOptions OpenDialog{QStringLiteral("Load Map File"),
                                          QStringLiteral("Korvane Map File|*.KVX|All files|*.*"),
                                          QStringLiteral("KVX"), false};
inline const FileDialogOptions SaveDialog2{QStringLiteral("Write Bitmap File"),
                                           QStringLiteral("Bitmaps|*.BMP|All Files|*.*"),
                                           QStringLiteral("BMP"), true};
inline const FileDialogOptions ExportDialog{
    QStringLiteral("Export Image"), QStringLiteral("PNG images|*.png|Bitmaps|*.BMP|All Files|*.*"),
    QStringLiteral("png"), true};

enum class Answer { Yes, No, Cancel };

class Prompts {
public:
    virtual ~Prompts() = default;
    // Warning box with the single button OK.
    virtual void Warning(const QString& text) = 0;
    // Information box (caption "Information") with the single button OK.
    virtual void Information(const QString& text) = 0;
    // Warning box with Yes and No; true unless the answer is No.
    virtual bool AskYesNo(const QString& text) = 0;
    // Warning box with Yes, No and Cancel; Escape or closing the box is Cancel. Without a
    // window: Cancel, which keeps everything as it is.
    virtual Answer AskYesNoCancel(const QString& text);
    // The chosen full path, or nothing when cancelled. fileName presets the name box; a
    // folder presets the folder with an empty name. Without a window: cancelled.
    virtual std::optional<QString> FileDialog(const FileDialogOptions& dialog,
                                              const QString& fileName);
    // Lets the user choose and set up printer; false when cancelled. Without a window:
    // cancelled.
    virtual bool PrintDialog(QPrinter& printer);
};

Prompts& CurrentPrompts();
// Installs prompts (not owned); nullptr goes back to the standard-error default.
void InstallPrompts(Prompts* prompts);
