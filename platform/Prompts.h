#pragma once
// The questions and notices that computing code puts to the user. The editor installs
// message boxes; tests install a scripted double; tools keep the default, which writes
// to standard error and answers every question with yes.

#include <QString>

class Prompts {
public:
    virtual ~Prompts() = default;
    // Warning box with the single button OK.
    virtual void Warning(const QString& text) = 0;
    // Information box (caption "Information") with the single button OK.
    virtual void Information(const QString& text) = 0;
    // Warning box with Yes and No; true unless the answer is No.
    virtual bool AskYesNo(const QString& text) = 0;
};

Prompts& CurrentPrompts();
// Installs prompts (not owned); nullptr goes back to the standard-error default.
void InstallPrompts(Prompts* prompts);
