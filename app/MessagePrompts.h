#pragma once
// The questions and notices of the editor as modal message boxes over the active window.

#include "platform/Prompts.h"

class MessagePrompts : public Prompts {
public:
    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    bool AskYesNo(const QString& text) override;
};
