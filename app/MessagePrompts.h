#pragma once
// The questions and notices of the editor as modal message boxes over the active window.

#include "platform/Prompts.h"

#include <QStringList>

class QFileDialog;

class MessagePrompts : public Prompts {
public:
    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    Answer AskYesNoCancel(const QString& text) override;
    std::optional<QString> FileDialog(const FileDialogOptions& dialog,
                                      const QString& fileName) override;
    bool PrintDialog(QPrinter& printer) override;
};

// A Windows filter ("Bitmaps|*.BMP|All Files|*.*") as Qt name filters; "*.*" becomes "*",
// which on Windows takes names without an extension too.
QStringList QtNameFilters(const QString& windowsFilter);

// Sets up box as dialog with fileName preset: a folder opens the box there with no name.
// The box adds the default extension to a typed name without one, or the extension of the
// filter the user chose, where it has one.
void SetUpFileDialog(QFileDialog& box, const FileDialogOptions& dialog, const QString& fileName);
