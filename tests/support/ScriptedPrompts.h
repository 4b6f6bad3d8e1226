#pragma once
// A prompts double: records every text shown and answers questions from a script.

#include "platform/Prompts.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts();            // installs itself
    ~ScriptedPrompts() override;  // puts the default back

    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    Answer AskYesNoCancel(const QString& text) override;
    std::optional<QString> FileDialog(const FileDialogOptions& dialog,
                                      const QString& fileName) override;
    bool PrintDialog(QPrinter& printer) override;

    // Answers for the next questions, in order; an unscripted question fails the test.
    void AnswerYesNo(bool yes);
    // Answers for the next Yes/No/Cancel questions, in order; they are recorded in Questions.
    void AnswerYesNoCancel(Answer answer);
    // The next file dialogs' chosen paths, in order; nothing is a cancel.
    void AnswerFileDialog(std::optional<QString> path);
    // The next print dialogs: true prints on the printer as it is set up.
    void AnswerPrintDialog(bool print);

    QStringList Warnings;
    QStringList Informations;
    QStringList Questions;
    // Title and preset file name of every file dialog shown.
    QStringList DialogTitles;
    QStringList DialogFileNames;
    int PrintDialogsShown = 0;

private:
    // Kept apart from std::optional, which trips GCC's uninitialised-use warning here.
    struct FileAnswer {
        bool Chosen;
        QString Path;
    };
    std::deque<bool> yesNoAnswers_;
    std::deque<Answer> threeWayAnswers_;
    std::deque<FileAnswer> fileAnswers_;
    std::deque<bool> printAnswers_;
};
