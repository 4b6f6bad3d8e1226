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
