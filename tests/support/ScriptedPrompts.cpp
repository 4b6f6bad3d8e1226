#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>

ScriptedPrompts::ScriptedPrompts() { InstallPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() { InstallPrompts(nullptr); }

void ScriptedPrompts::Warning(const QString& text) { Warnings.append(text); }

void ScriptedPrompts::Information(const QString& text) { Informations.append(text); }

bool ScriptedPrompts::AskYesNo(const QString& text)
{
    Questions.append(text);
    if (yesNoAnswers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool answer = yesNoAnswers_.front();
    yesNoAnswers_.pop_front();
    return answer;
}

void ScriptedPrompts::AnswerYesNo(bool yes) { yesNoAnswers_.push_back(yes); }

Answer ScriptedPrompts::AskYesNoCancel(const QString& text)
{
    Questions.append(text);
    if (threeWayAnswers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::Cancel;
    }
    const Answer answer = threeWayAnswers_.front();
    threeWayAnswers_.pop_front();
    return answer;
}

void ScriptedPrompts::AnswerYesNoCancel(Answer answer) { threeWayAnswers_.push_back(answer); }

std::optional<QString> ScriptedPrompts::FileDialog(const FileDialogOptions& dialog,
                                                   const QString& fileName)
{
    DialogTitles.append(dialog.Title);
    DialogFileNames.append(fileName);
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << dialog.Title.toStdString();
        return std::nullopt;
    }
    const FileAnswer answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (!answer.Chosen)
        return std::nullopt;
    return answer.Path;
}

bool ScriptedPrompts::PrintDialog(QPrinter&)
{
    ++PrintDialogsShown;
    if (printAnswers_.empty()) {
        ADD_FAILURE() << "unexpected print dialog";
        return false;
    }
    const bool answer = printAnswers_.front();
    printAnswers_.pop_front();
    return answer;
}

void ScriptedPrompts::AnswerFileDialog(std::optional<QString> path)
{
    fileAnswers_.push_back(path ? FileAnswer{true, *path} : FileAnswer{false, QString()});
}

void ScriptedPrompts::AnswerPrintDialog(bool print) { printAnswers_.push_back(print); }
