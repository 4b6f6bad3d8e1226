#pragma once
// A prompts double: records every text shown and answers questions from a script.

#include "platform/Prompts.h"

#include <QString>
#include <QStringList>
#include <deque>

class ScriptedPrompts : public Prompts {
public:
    ScriptedPrompts();  // installs itself
    ~ScriptedPrompts() override;  // puts the default back

    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    bool AskYesNo(const QString& text) override;

    // Answers for the next questions, in order; an unscripted question fails the test.
    void AnswerYesNo(bool yes);

    QStringList Warnings;
    QStringList Informations;
    QStringList Questions;

private:
    std::deque<bool> yesNoAnswers_;
};
